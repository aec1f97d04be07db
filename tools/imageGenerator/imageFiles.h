// Encodes drawn pictures into the file formats that the program and its installers read.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>

namespace imageFiles_n
{
// The text of an XPM file holding p_image as the C array "<p_strName>_xpm", two characters per
// pixel, "None" for transparent pixels. Partly transparent pixels are blended onto p_colBackground
// because XPM knows no partial transparency.
QByteArray xpm(const QImage& p_image, const QString& p_strName, const QColor& p_colBackground);

// A Windows icon file holding one entry per image (each square, at most 256 pixels wide).
// Small entries are stored as 32-bit bitmaps, which every reader understands; the large ones as
// PNG data, which keeps the file small.
QByteArray ico(const QList<QImage>& p_lstImages);
} // namespace imageFiles_n
