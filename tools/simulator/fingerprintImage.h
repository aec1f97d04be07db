// Draws the grey picture of a finger that the simulated module sends for read_image.
#pragma once

#include <QByteArray>

namespace simulator_n
{

// p_nWidth * p_nHeight grey values (0 black, 255 white), row after row, bottom row first as on the
// wire: a loop-shaped fingerprint with its core, a delta, ridge endings and bifurcations, pressed on a
// light sensor. The same size always gives the same picture.
QByteArray fingerprintImage(int p_nWidth, int p_nHeight);

} // namespace simulator_n
