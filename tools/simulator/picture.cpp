// sensorSimulator_c: the picture on the sensor and its transfer by read_image.
#include "fingerprintImage.h"
#include "sensorSimulator.h"

namespace simulator_n
{

bool sensorSimulator_c::setImage(int p_nWidth, int p_nHeight, const QByteArray& p_baPixels)
{
    if (p_nWidth < 0 || p_nHeight < 0 || qint64(p_nWidth) * p_nHeight != p_baPixels.size())
    {
        return false;
    }
    m_nImageWidth = p_nWidth;
    m_nImageHeight = p_nHeight;
    m_baImage = p_baPixels;
    return true;
}

int sensorSimulator_c::imageWidth() const
{
    return m_nImageWidth;
}

int sensorSimulator_c::imageHeight() const
{
    return m_nImageHeight;
}

QByteArray sensorSimulator_c::imagePixels() const
{
    // The default picture is drawn only when somebody asks for it: most simulators never send one.
    return m_baImage.isNull() ? fingerprintImage(m_nImageWidth, m_nImageHeight) : m_baImage;
}

void sensorSimulator_c::sendImage(int p_nMode)
{
    if (p_nMode != 1 && p_nMode != 2)
    {
        queueOutput("\r\n=NO Image Mode\r\n");
        return;
    }
    const QByteArray baImage = imagePixels();
    // The reader expects at least one byte before the header line.
    const QByteArray baHeader = "\r\n=OK Image Width=" + QByteArray::number(m_nImageWidth) +
                                " Height=" + QByteArray::number(m_nImageHeight) +
                                " Sum=" + QByteArray::number(announcedSum(checksum(baImage))) + "\r\n";
    queueOutput(baHeader + baImage);
}

} // namespace simulator_n
