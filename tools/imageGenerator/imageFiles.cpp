#include "imageFiles.h"

#include <QBuffer>
#include <QColor>
#include <QDataStream>
#include <QMap>

namespace
{
// Characters that may stand for a colour in an XPM: nothing that needs escaping in a C string
// and no '?' (trigraphs). Two of them per pixel give 4096 colours, more than any picture here has.
const char g_acXpmKeys[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789.#";
constexpr int g_nXpmKeyCount = sizeof(g_acXpmKeys) - 1;

// Pixels more transparent than this become "None"; the rest are blended onto the background.
constexpr int g_nXpmOpaqueFrom = 96;

QByteArray xpmKey(int p_nIndex)
{
    QByteArray baKey;
    baKey.append(g_acXpmKeys[p_nIndex / g_nXpmKeyCount]);
    baKey.append(g_acXpmKeys[p_nIndex % g_nXpmKeyCount]);
    return baKey;
}

QRgb blended(QRgb p_rgbPixel, const QColor& p_colBackground)
{
    const int nAlpha = qAlpha(p_rgbPixel);
    const auto mix = [nAlpha](int p_nFront, int p_nBack)
    { return (p_nFront * nAlpha + p_nBack * (255 - nAlpha) + 127) / 255; };
    return qRgb(mix(qRed(p_rgbPixel), p_colBackground.red()),
                mix(qGreen(p_rgbPixel), p_colBackground.green()),
                mix(qBlue(p_rgbPixel), p_colBackground.blue()));
}

QByteArray pngData(const QImage& p_image)
{
    QByteArray baPng;
    QBuffer buffer(&baPng);
    buffer.open(QIODevice::WriteOnly);
    p_image.save(&buffer, "PNG");
    return baPng;
}

// An icon entry in the bitmap form: a header, the colour pixels from the bottom row up, then
// the 1-bit transparency mask (rows padded to 32 bits) that old readers still expect.
QByteArray dibData(const QImage& p_image)
{
    const QImage image = p_image.convertToFormat(QImage::Format_ARGB32);
    const int nSize = image.width();
    const int nMaskStride = ((nSize + 31) / 32) * 4;

    QByteArray baDib;
    QDataStream stream(&baDib, QIODevice::WriteOnly);
    stream.setByteOrder(QDataStream::LittleEndian);
    stream << quint32(40) << qint32(nSize) << qint32(2 * nSize) << quint16(1) << quint16(32) << quint32(0)
           << quint32(nSize * nSize * 4 + nMaskStride * nSize) << qint32(0) << qint32(0) << quint32(0)
           << quint32(0);
    for (int y = nSize - 1; y >= 0; --y)
    {
        const QRgb* pRow = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < nSize; ++x)
            stream << quint8(qBlue(pRow[x])) << quint8(qGreen(pRow[x])) << quint8(qRed(pRow[x]))
                   << quint8(qAlpha(pRow[x]));
    }
    for (int y = nSize - 1; y >= 0; --y)
    {
        const QRgb* pRow = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        QByteArray baMask(nMaskStride, '\0');
        for (int x = 0; x < nSize; ++x)
        {
            if (qAlpha(pRow[x]) == 0)
                baMask[x / 8] = char(quint8(baMask[x / 8]) | (0x80 >> (x % 8)));
        }
        stream.writeRawData(baMask.constData(), baMask.size());
    }
    return baDib;
}
} // namespace

namespace imageFiles_n
{
QByteArray xpm(const QImage& p_image, const QString& p_strName, const QColor& p_colBackground)
{
    const QImage image = p_image.convertToFormat(QImage::Format_ARGB32);

    // Colours are numbered in the order they first appear, so the file stays the same from run to run.
    QMap<QRgb, int> mapIndex;
    QVector<QRgb> vecColours;
    QVector<QVector<int>> vecRows;
    for (int y = 0; y < image.height(); ++y)
    {
        QVector<int> vecRow;
        for (int x = 0; x < image.width(); ++x)
        {
            const QRgb rgbPixel = image.pixel(x, y);
            if (qAlpha(rgbPixel) < g_nXpmOpaqueFrom)
            {
                vecRow << -1;
                continue;
            }
            const QRgb rgbColour = blended(rgbPixel, p_colBackground);
            auto it = mapIndex.find(rgbColour);
            if (it == mapIndex.end())
            {
                it = mapIndex.insert(rgbColour, vecColours.size());
                vecColours << rgbColour;
            }
            vecRow << it.value();
        }
        vecRows << vecRow;
    }

    QByteArray baXpm;
    baXpm += "/* XPM */\n";
    baXpm += "static const char* const " + p_strName.toLatin1() + "_xpm[] = {\n";
    baXpm += QStringLiteral("\"%1 %2 %3 2\",\n")
                 .arg(image.width())
                 .arg(image.height())
                 .arg(vecColours.size() + 1)
                 .toLatin1();
    baXpm += "\"   c None\",\n";
    for (int i = 0; i < vecColours.size(); ++i)
        baXpm += "\"" + xpmKey(i) + " c " + QColor(vecColours[i]).name().toLatin1() + "\",\n";
    for (int y = 0; y < vecRows.size(); ++y)
    {
        baXpm += "\"";
        for (int nIndex : vecRows[y])
            baXpm += nIndex < 0 ? QByteArray("  ") : xpmKey(nIndex);
        baXpm += y + 1 < vecRows.size() ? "\",\n" : "\"};\n";
    }
    return baXpm;
}

QByteArray ico(const QList<QImage>& p_lstImages)
{
    QList<QByteArray> lstData;
    for (const QImage& image : p_lstImages)
        lstData << (image.width() > 64 ? pngData(image) : dibData(image));

    QByteArray baIco;
    QDataStream stream(&baIco, QIODevice::WriteOnly);
    stream.setByteOrder(QDataStream::LittleEndian);
    constexpr int nDirSize = 6;
    constexpr int nEntrySize = 16;
    stream << quint16(0) << quint16(1) << quint16(p_lstImages.size());
    quint32 nOffset = nDirSize + nEntrySize * p_lstImages.size();
    for (int i = 0; i < p_lstImages.size(); ++i)
    {
        // A width or height of 256 is written as 0.
        const quint8 nWidth = quint8(p_lstImages[i].width() & 0xff);
        const quint8 nHeight = quint8(p_lstImages[i].height() & 0xff);
        stream << nWidth << nHeight << quint8(0) << quint8(0) << quint16(1) << quint16(32)
               << quint32(lstData[i].size()) << nOffset;
        nOffset += lstData[i].size();
    }
    for (const QByteArray& baData : lstData)
        stream.writeRawData(baData.constData(), baData.size());
    return baIco;
}
} // namespace imageFiles_n
