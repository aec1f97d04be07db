// The program's pictures: resource PNGs, compiled-in XPM images, and the packaging files.
#include "ui/images.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

namespace
{
using imageFunction_t = QPixmap (*)();

bool cornersTransparent(const QImage& p_image)
{
    const int nRight = p_image.width() - 1;
    const int nBottom = p_image.height() - 1;
    for (const QPoint& pt : {QPoint(0, 0), QPoint(nRight, 0), QPoint(0, nBottom), QPoint(nRight, nBottom)})
    {
        if (qAlpha(p_image.pixel(pt)) != 0)
            return false;
    }
    return true;
}

QString resourcesFile(const QString& p_strName)
{
    return QDir(QStringLiteral(VINDAL_RESOURCES_DIR)).filePath(p_strName);
}

// The key=value lines of the one group of a desktop entry file.
QMap<QString, QString> desktopEntry(const QString& p_strPath)
{
    QMap<QString, QString> mapEntry;
    QFile file(p_strPath);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return mapEntry;
    const QStringList lstLines = QString::fromUtf8(file.readAll()).split('\n');
    if (lstLines.value(0) != QLatin1String("[Desktop Entry]"))
        return mapEntry;
    for (const QString& strLine : lstLines.mid(1))
    {
        const int nEq = strLine.indexOf('=');
        if (nEq > 0)
            mapEntry.insert(strLine.left(nEq), strLine.mid(nEq + 1));
    }
    return mapEntry;
}
} // namespace

class tst_resources : public QObject
{
    Q_OBJECT

private slots:
    void resourcePictures_data();
    void resourcePictures();
    void modePicturesDiffer();
    void xpmImages_data();
    void xpmImages();
    void lampColours_data();
    void lampColours();
    void windowsIcon();
    void desktopEntry();
    void windowsResourceScript();
};

void tst_resources::resourcePictures_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QSize>("size");
    for (const char* pszMode : {"info", "add", "image", "person", "delete", "analyse", "template"})
        QTest::newRow(pszMode) << QStringLiteral(":/icons/fingerprint-%1.png").arg(pszMode) << QSize(96, 96);
    QTest::newRow("program icon") << QStringLiteral(":/icons/vindal01-tool.png") << QSize(256, 256);
    QTest::newRow("devices") << QStringLiteral(":/icons/KV_Devices.png") << QSize(128, 62);
}

void tst_resources::resourcePictures()
{
    QFETCH(QString, path);
    QFETCH(QSize, size);
    const QImage image(path);
    QVERIFY2(!image.isNull(), qPrintable(path));
    QCOMPARE(image.size(), size);
    QVERIFY(image.hasAlphaChannel());
    QVERIFY(cornersTransparent(image));
    QVERIFY(!QIcon(path).isNull());
}

// The mode buttons are told apart by their pictures alone at 56 x 56; the six must differ
// clearly where their symbols sit, not by a few stray pixels.
void tst_resources::modePicturesDiffer()
{
    QList<QImage> lstImages;
    const QStringList lstModes{"info", "add", "image", "person", "delete", "analyse"};
    for (const QString& strMode : lstModes)
    {
        lstImages << QImage(":/icons/fingerprint-" + strMode + ".png")
                         .scaled(56, 56, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                         .convertToFormat(QImage::Format_ARGB32);
    }
    for (int i = 0; i < lstImages.size(); ++i)
    {
        for (int j = i + 1; j < lstImages.size(); ++j)
        {
            int nDiffering = 0;
            for (int y = 0; y < 56; ++y)
            {
                for (int x = 0; x < 56; ++x)
                {
                    const QColor colA = lstImages[i].pixelColor(x, y);
                    const QColor colB = lstImages[j].pixelColor(x, y);
                    if (qAbs(colA.red() - colB.red()) + qAbs(colA.green() - colB.green()) +
                            qAbs(colA.blue() - colB.blue()) >
                        96)
                        ++nDiffering;
                }
            }
            QVERIFY2(nDiffering > 100, qPrintable(QStringLiteral("%1 and %2 differ in only %3 pixels")
                                                      .arg(lstModes[i], lstModes[j])
                                                      .arg(nDiffering)));
        }
    }
}

void tst_resources::xpmImages_data()
{
    QTest::addColumn<void*>("function");
    QTest::addColumn<QSize>("size");
    const QSize size32(32, 32);
    QTest::newRow("start") << reinterpret_cast<void*>(&images_n::start) << size32;
    QTest::newRow("stop") << reinterpret_cast<void*>(&images_n::stop) << size32;
    QTest::newRow("info") << reinterpret_cast<void*>(&images_n::info) << size32;
    QTest::newRow("lampYellow") << reinterpret_cast<void*>(&images_n::lampYellow) << size32;
    QTest::newRow("lampGreen") << reinterpret_cast<void*>(&images_n::lampGreen) << size32;
    QTest::newRow("lampRed") << reinterpret_cast<void*>(&images_n::lampRed) << size32;
    QTest::newRow("debug") << reinterpret_cast<void*>(&images_n::debug) << QSize(48, 48);
    QTest::newRow("update") << reinterpret_cast<void*>(&images_n::update) << size32;
}

void tst_resources::xpmImages()
{
    QFETCH(void*, function);
    QFETCH(QSize, size);
    const QPixmap pixmap = reinterpret_cast<imageFunction_t>(function)();
    QVERIFY(!pixmap.isNull());
    QCOMPARE(pixmap.size(), size);
    QVERIFY(pixmap.hasAlphaChannel());
    const QImage image = pixmap.toImage();
    QVERIFY(cornersTransparent(image));

    // A picture, not a blank or a filled square: some of it is drawn, some of it is see-through.
    int nOpaque = 0;
    for (int y = 0; y < image.height(); ++y)
    {
        for (int x = 0; x < image.width(); ++x)
            nOpaque += qAlpha(image.pixel(x, y)) == 255 ? 1 : 0;
    }
    const int nPixels = image.width() * image.height();
    QVERIFY2(nOpaque > nPixels / 10 && nOpaque < nPixels * 9 / 10, qPrintable(QString::number(nOpaque)));
}

void tst_resources::lampColours_data()
{
    QTest::addColumn<void*>("function");
    QTest::addColumn<int>("hueFrom");
    QTest::addColumn<int>("hueTo");
    QTest::newRow("yellow") << reinterpret_cast<void*>(&images_n::lampYellow) << 40 << 65;
    QTest::newRow("green") << reinterpret_cast<void*>(&images_n::lampGreen) << 95 << 145;
    // Red wraps round 0: accept 345..359 and 0..12 as 345..372.
    QTest::newRow("red") << reinterpret_cast<void*>(&images_n::lampRed) << 345 << 372;
}

// The lamp is shown 16 pixels high in the status bar; its middle must still be the colour
// its name promises, strong enough to tell at a glance.
void tst_resources::lampColours()
{
    QFETCH(void*, function);
    QFETCH(int, hueFrom);
    QFETCH(int, hueTo);
    const QPixmap pixmap = reinterpret_cast<imageFunction_t>(function)();
    for (const QImage& image :
         {pixmap.toImage(), pixmap.scaledToHeight(16, Qt::SmoothTransformation).toImage()})
    {
        const QColor colCentre = image.pixelColor(image.width() / 2, image.height() / 2).toHsv();
        int nHue = colCentre.hue();
        if (nHue < hueFrom)
            nHue += 360;
        QVERIFY2(nHue >= hueFrom && nHue <= hueTo, qPrintable(QStringLiteral("hue %1").arg(colCentre.hue())));
        QVERIFY2(colCentre.saturation() > 150,
                 qPrintable(QStringLiteral("saturation %1").arg(colCentre.saturation())));
        QVERIFY2(colCentre.value() > 120, qPrintable(QStringLiteral("value %1").arg(colCentre.value())));
        QCOMPARE(colCentre.alpha(), 255);
    }
}

// The icon file that the Windows resource script embeds: every entry readable, the sizes that
// Explorer and the task bar ask for.
void tst_resources::windowsIcon()
{
    if (!QImageReader::supportedImageFormats().contains("ico"))
        QSKIP("Qt's ico image plugin is not installed");
    QImageReader reader(resourcesFile("vindal01-tool.ico"), "ico");
    QVERIFY2(reader.canRead(), qPrintable(reader.errorString()));
    QList<int> lstSizes;
    for (int i = 0; i < reader.imageCount(); ++i)
    {
        QVERIFY(reader.jumpToImage(i));
        const QImage image = reader.read();
        QVERIFY2(!image.isNull(),
                 qPrintable(QStringLiteral("entry %1: %2").arg(i).arg(reader.errorString())));
        QCOMPARE(image.width(), image.height());
        QVERIFY2(cornersTransparent(image), qPrintable(QString::number(image.width())));
        QCOMPARE(qAlpha(image.pixel(image.width() / 2, image.height() / 2)), 255);
        lstSizes << image.width();
    }
    std::sort(lstSizes.begin(), lstSizes.end());
    QCOMPARE(lstSizes, QList<int>({16, 24, 32, 48, 64, 256}));
}

void tst_resources::desktopEntry()
{
    const QMap<QString, QString> mapEntry = ::desktopEntry(resourcesFile("vindal01-tool.desktop"));
    QVERIFY2(!mapEntry.isEmpty(), "no [Desktop Entry] group");
    QCOMPARE(mapEntry.value("Type"), QStringLiteral("Application"));
    QVERIFY(!mapEntry.value("Name").isEmpty());
    QCOMPARE(mapEntry.value("Exec").section(' ', 0, 0), QStringLiteral("vindal01-tool"));
    QCOMPARE(mapEntry.value("Terminal"), QStringLiteral("false"));
    QVERIFY(mapEntry.value("Categories").split(';').contains("Utility"));
    QVERIFY(mapEntry.value("Categories").endsWith(';'));

    // The icon is installed under its own name into the 256 x 256 theme folder.
    QCOMPARE(mapEntry.value("Icon"), QStringLiteral("vindal01-tool"));
    const QImage icon(resourcesFile("icons/vindal01-tool.png"));
    QCOMPARE(icon.size(), QSize(256, 256));

    // Where the desktop's own checker is installed, it has the last word on the syntax.
    const QString strValidator = QStandardPaths::findExecutable("desktop-file-validate");
    if (!strValidator.isEmpty())
    {
        QProcess validator;
        validator.start(strValidator, {resourcesFile("vindal01-tool.desktop")});
        QVERIFY(validator.waitForFinished(20000));
        QVERIFY2(validator.exitCode() == 0, validator.readAllStandardOutput().constData());
    }
}

void tst_resources::windowsResourceScript()
{
    QFile file(resourcesFile("vindal01-tool.rc"));
    QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
    const QRegularExpressionMatch match =
        QRegularExpression(R"re(^\s*IDI_ICON1\s+ICON\s+"([^"]+)")re", QRegularExpression::MultilineOption)
            .match(QString::fromLatin1(file.readAll()));
    QVERIFY(match.hasMatch());
    // The resource compiler looks for the icon beside the script.
    QVERIFY(QFile::exists(resourcesFile(match.captured(1))));
}

QTEST_MAIN(tst_resources)
#include "tst_resources.moc"
