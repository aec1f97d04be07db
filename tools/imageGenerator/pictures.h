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

// Sizes in units; p_nScale pixels per unit (1 for ordinary screens, 2 for screens at twice the density).
QImage modeIcon(symbol_t p_nSymbol, int p_nScale); // 96 x 96
QImage fingerprintTemplate(int p_nScale);          // 96 x 96
QImage programIcon(int p_nSize);                   // p_nSize x p_nSize pixels
QImage devices(int p_nScale);                      // 128 x 62

// 32 x 32 unless noted.
QImage start(int p_nScale);
QImage stop(int p_nScale);
QImage info(int p_nScale);
QImage lamp(const QColor& p_colLamp, int p_nScale);
QImage debug(int p_nScale); // 48 x 48
QImage update(int p_nScale);
QImage serviceReport(int p_nScale); // a written sheet with a green tick: the service report
} // namespace pictures_n
