#include "fingerprintImage.h"

#include <QHash>
#include <QMutex>
#include <QMutexLocker>
#include <QPair>

#include <algorithm>
#include <cmath>
#include <vector>

namespace simulator_n
{

namespace
{
constexpr double c_dPi = 3.14159265358979323846;
// Ridge directions are quantised; 24 steps of 7.5 degrees are finer than the eye follows.
constexpr int c_nDirections = 24;
constexpr int c_nPasses = 5;

// A fixed small generator, so that the same size always gives the same picture on every platform.
class noise_c
{
public:
    double next()
    {
        m_nState = m_nState * 1664525u + 1013904223u;
        return double(m_nState >> 8) / double(1u << 24);
    }

private:
    quint32 m_nState = 20200208u;
};

// Ridge direction in radians at (x, y), y counted upwards: the field of a loop with its core above
// and its delta below to the right, flat far away (the crease and the tip run across the finger).
double ridgeDirection(double x, double y, double p_dCoreX, double p_dCoreY, double p_dDeltaX,
                      double p_dDeltaY)
{
    return 0.5 * (std::atan2(y - p_dCoreY, x - p_dCoreX) - std::atan2(y - p_dDeltaY, x - p_dDeltaX));
}

struct kernel_c
{
    int m_nRadius = 0;
    std::vector<float> m_vecWeights; // (2r+1)^2, row by row
};

// A ridge filter: a wave across the ridge direction under a Gaussian, without a mean so that it only
// strengthens ridges of the chosen period and direction.
kernel_c ridgeFilter(double p_dDirection, double p_dPeriod)
{
    kernel_c kernel;
    const double dSigma = 0.5 * p_dPeriod;
    kernel.m_nRadius = int(std::ceil(2.0 * dSigma));
    const int nSide = 2 * kernel.m_nRadius + 1;
    kernel.m_vecWeights.resize(size_t(nSide) * nSide);
    std::vector<double> vecGauss(kernel.m_vecWeights.size());
    const double dSin = std::sin(p_dDirection);
    const double dCos = std::cos(p_dDirection);
    double dSum = 0.0;
    double dGaussSum = 0.0;
    std::vector<double> vecWave(kernel.m_vecWeights.size());
    for (int dy = -kernel.m_nRadius; dy <= kernel.m_nRadius; ++dy)
    {
        for (int dx = -kernel.m_nRadius; dx <= kernel.m_nRadius; ++dx)
        {
            const size_t i = size_t(dy + kernel.m_nRadius) * nSide + size_t(dx + kernel.m_nRadius);
            const double dAcross = -dx * dSin + dy * dCos;
            vecGauss[i] = std::exp(-(dx * dx + dy * dy) / (2.0 * dSigma * dSigma));
            vecWave[i] = vecGauss[i] * std::cos(2.0 * c_dPi * dAcross / p_dPeriod);
            dSum += vecWave[i];
            dGaussSum += vecGauss[i];
        }
    }
    double dAbsSum = 0.0;
    for (size_t i = 0; i < vecWave.size(); ++i)
    {
        vecWave[i] -= vecGauss[i] * dSum / dGaussSum;
        dAbsSum += std::abs(vecWave[i]);
    }
    for (size_t i = 0; i < vecWave.size(); ++i)
        kernel.m_vecWeights[i] = float(vecWave[i] / dAbsSum);
    return kernel;
}

double smoothStep(double p_dFrom, double p_dTo, double p_dValue)
{
    const double t = std::clamp((p_dValue - p_dFrom) / (p_dTo - p_dFrom), 0.0, 1.0);
    return t * t * (3.0 - 2.0 * t);
}

QByteArray draw(int w, int h)
{
    // About 9 pixels from ridge to ridge at the module's 256 x 288, fewer on smaller pictures.
    const double dPeriod = std::clamp(std::min(w, h) / 24.0, 4.5, 9.0);
    const double dCoreX = 0.46 * w, dCoreY = 0.56 * h;
    const double dDeltaX = 0.74 * w, dDeltaY = 0.24 * h;

    std::vector<kernel_c> vecKernels;
    for (int n = 0; n < c_nDirections; ++n)
        vecKernels.push_back(ridgeFilter(c_dPi * n / c_nDirections, dPeriod));

    const size_t nPixels = size_t(w) * size_t(h);
    std::vector<unsigned char> vecDirection(nPixels);
    for (int y = 0; y < h; ++y)
    {
        for (int x = 0; x < w; ++x)
        {
            double dDir = ridgeDirection(x, y, dCoreX, dCoreY, dDeltaX, dDeltaY);
            dDir = std::fmod(dDir + 2.0 * c_dPi, c_dPi);
            vecDirection[size_t(y) * w + x] =
                (unsigned char)(int(std::lround(dDir / c_dPi * c_nDirections)) % c_nDirections);
        }
    }

    // Ridges grow out of noise by filtering it again and again along the ridge directions; where two
    // growing ridges meet slightly out of step they end or fork, which gives the minutiae.
    noise_c noise;
    std::vector<float> vecField(nPixels), vecNext(nPixels);
    for (float& f : vecField)
        f = float(noise.next() * 2.0 - 1.0);
    for (int nPass = 0; nPass < c_nPasses; ++nPass)
    {
        for (int y = 0; y < h; ++y)
        {
            for (int x = 0; x < w; ++x)
            {
                const kernel_c& kernel = vecKernels[vecDirection[size_t(y) * w + x]];
                const int r = kernel.m_nRadius;
                const float* pWeight = kernel.m_vecWeights.data();
                float fSum = 0.0f;
                for (int dy = -r; dy <= r; ++dy)
                {
                    const float* pRow = vecField.data() + size_t(std::clamp(y + dy, 0, h - 1)) * w;
                    for (int dx = -r; dx <= r; ++dx)
                        fSum += *pWeight++ * pRow[std::clamp(x + dx, 0, w - 1)];
                }
                vecNext[size_t(y) * w + x] = std::tanh(6.0f * fSum);
            }
        }
        vecField.swap(vecNext);
    }

    // The finger: an oval running off the bottom edge, pressed hardest in its middle, on a light
    // sensor with a little noise of its own.
    QByteArray baPixels(int(nPixels), Qt::Uninitialized);
    const double dFingerX = 0.5 * w, dFingerY = 0.36 * h;
    const double dHalfWidth = 0.43 * w, dHalfHeight = 0.62 * h;
    for (int y = 0; y < h; ++y)
    {
        for (int x = 0; x < w; ++x)
        {
            const double dx = (x - dFingerX) / dHalfWidth;
            const double dy = (y - dFingerY) / dHalfHeight;
            const double dRadius = std::sqrt(dx * dx + dy * dy);
            const double dInside = 1.0 - smoothStep(0.86, 1.0, dRadius);
            const double dPressure = 0.55 + 0.45 * (1.0 - smoothStep(0.3, 1.0, dRadius));
            const double dRidge = 0.5 + 0.5 * vecField[size_t(y) * w + x]; // 1 on a ridge
            const double dFinger = 232.0 - 200.0 * dRidge * dPressure;
            const double dBackground = 246.0;
            const double dGrey =
                dBackground + (dFinger - dBackground) * dInside + (noise.next() - 0.5) * 14.0;
            baPixels[int(size_t(y) * w + x)] = char(std::clamp(int(std::lround(dGrey)), 0, 255));
        }
    }
    return baPixels;
}
} // namespace

QByteArray fingerprintImage(int p_nWidth, int p_nHeight)
{
    if (p_nWidth <= 0 || p_nHeight <= 0)
        return QByteArray();
    // Drawing takes a few filter passes over the picture; simulators come and go in the tests, so
    // each size is drawn once per process.
    static QMutex mutex;
    static QHash<QPair<int, int>, QByteArray> hashDrawn;
    QMutexLocker locker(&mutex);
    auto it = hashDrawn.find(qMakePair(p_nWidth, p_nHeight));
    if (it == hashDrawn.end())
        it = hashDrawn.insert(qMakePair(p_nWidth, p_nHeight), draw(p_nWidth, p_nHeight));
    return it.value();
}

} // namespace simulator_n
