// The pictures: what the program shows is the committed picture of that name, and the committed pictures
// are what the image generator draws, so that they can be made again after a change.
#include "ui/images.h"

#include <QDir>
#include <QImageReader>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace
{
QImage argb(const QImage& p_image)
{
    return p_image.convertToFormat(QImage::Format_ARGB32);
}

// Equal up to what another rasteriser or PNG encoder might change: under 1 % of the pixels off by more
// than 8.
bool nearlyEqual(const QImage& p_imageA, const QImage& p_imageB)
{
    if (p_imageA.isNull() || p_imageA.size() != p_imageB.size())
        return false;
    int nOff = 0;
    for (int y = 0; y < p_imageA.height(); ++y)
        for (int x = 0; x < p_imageA.width(); ++x)
        {
            const QRgb a = p_imageA.pixel(x, y), b = p_imageB.pixel(x, y);
            nOff += qMax(qMax(qAbs(qRed(a) - qRed(b)), qAbs(qGreen(a) - qGreen(b))),
                         qMax(qAbs(qBlue(a) - qBlue(b)), qAbs(qAlpha(a) - qAlpha(b)))) > 8;
        }
    return nOff * 100 <= p_imageA.width() * p_imageA.height();
}
} // namespace

class tst_resources : public QObject
{
    Q_OBJECT

private slots:
    void programShowsTheCommittedPictures()
    {
        const QDir dir(QStringLiteral(VINDAL_RESOURCES_DIR));
        const QList<QPair<QString, QPixmap (*)()>> lstCompiledIn = {
            {"start", &images_n::start},         {"stop", &images_n::stop},
            {"info", &images_n::info},           {"lampYellow", &images_n::lampYellow},
            {"lampGreen", &images_n::lampGreen}, {"lampRed", &images_n::lampRed},
            {"debug", &images_n::debug},         {"update", &images_n::update}};
        for (const auto& image : lstCompiledIn)
            QVERIFY2(argb(image.second().toImage()) ==
                         argb(QImage(dir.filePath("xpm/" + image.first + ".xpm"))),
                     qPrintable(image.first));
        QCOMPARE(QDir(dir.filePath("icons")).entryList({"*.png"}).size(), 10);
        for (const QString& strIcon : QDir(dir.filePath("icons")).entryList({"*.png"}))
            QVERIFY2(argb(QImage(":/icons/" + strIcon)) == argb(QImage(dir.filePath("icons/" + strIcon))),
                     qPrintable(strIcon));
    }

#ifdef VINDAL_IMAGE_GENERATOR
    void committedPicturesAreGenerated()
    {
        QTemporaryDir dirOut;
        QProcess generator;
        generator.start(QStringLiteral(VINDAL_IMAGE_GENERATOR), {dirOut.path()});
        QVERIFY(generator.waitForFinished(60000));
        QVERIFY2(generator.exitCode() == 0, generator.readAllStandardError().constData());
        const QDir dirCommitted(QStringLiteral(VINDAL_RESOURCES_DIR));
        QStringList lstFiles = {"vindal01-tool.ico"};
        for (const QString& strName : QDir(dirCommitted.filePath("icons")).entryList({"*.png"}, QDir::Files))
            lstFiles << "icons/" + strName;
        for (const QString& strName : QDir(dirCommitted.filePath("xpm")).entryList({"*.xpm"}, QDir::Files))
            lstFiles << "xpm/" + strName;
        for (const QString& strFile : lstFiles)
        {
            QImageReader committed(dirCommitted.filePath(strFile)),
                generated(QDir(dirOut.path()).filePath(strFile));
            QCOMPARE(generated.imageCount(), committed.imageCount());
            do
                QVERIFY2(nearlyEqual(argb(committed.read()), argb(generated.read())),
                         qPrintable(strFile + " differs: run vindal01-image-generator"));
            while (committed.jumpToNextImage() && generated.jumpToNextImage());
        }
    }
#endif
};

QTEST_MAIN(tst_resources)
#include "tst_resources.moc"
