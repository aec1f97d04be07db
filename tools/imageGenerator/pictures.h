// Draws every picture of the program: the fingerprint pictograms, the program icon, the device
// picture and the small tool bar and lamp images.
#pragma once

#include <QImage>

namespace pictures_n
{
// The small symbol in the corner of a mode button pictogram.
enum symbol_t
{
    symbolInfo,
    symbolAdd,
    symbolImage,
    symbolPerson,
    symbolDelete,
    symbolAnalyse
};

QImage modeIcon(symbol_t p_nSymbol); // 96 x 96
QImage fingerprintTemplate();        // 96 x 96
QImage programIcon(int p_nSize);     // p_nSize x p_nSize
QImage devices();                    // 128 x 62

// 32 x 32 unless noted.
QImage start();
QImage stop();
QImage info();
QImage lamp(const QColor& p_colLamp);
QImage debug(); // 48 x 48
QImage update();
QImage serviceReport(); // a written sheet with a green tick: the service report
} // namespace pictures_n
