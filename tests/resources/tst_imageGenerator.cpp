// The image generator: it runs headless, refuses bad arguments, and draws exactly the pictures
// that are committed in resources/, so that they can be made again after a change.
#include <QDir>
#include <QImageReader>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace
{
const QString g_strGenerator = QStringLiteral(VINDAL_IMAGE_GENERATOR);
const QString g_strCommitted = QStringLiteral(VINDAL_RESOURCES_DIR);

struct run_t
{
    int nExitCode = -1;
    QString strErrors;
};

run_t runGenerator(const QStringList& p_lstArgs)
{
    QProcess process;
    process.start(g_strGenerator, p_lstArgs);
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit)
        return {};
    return {process.exitCode(), QString::fromLocal8Bit(process.readAllStandardError())};
}

QList<QImage> readAll(const QString& p_strPath)
{
    QList<QImage> lstImages;
    QImageReader reader(p_strPath);
    for (int i = 0; i < qMax(1, reader.imageCount()); ++i)
    {
        if (i > 0 && !reader.jumpToImage(i))
            break;
        lstImages << reader.read().convertToFormat(QImage::Format_ARGB32);
    }
    return lstImages;
}

// Equal up to what another rasteriser or PNG encoder might change: a few pixels a little off.
QString difference(const QImage& p_imageA, const QImage& p_imageB)
{
    if (p_imageA.isNull() || p_imageB.isNull())
        return QStringLiteral("unreadable");
    if (p_imageA.size() != p_imageB.size())
        return QStringLiteral("size differs");
    int nOff = 0;
    for (int y = 0; y < p_imageA.height(); ++y)
    {
        for (int x = 0; x < p_imageA.width(); ++x)
        {
            const QRgb rgbA = p_imageA.pixel(x, y);
            const QRgb rgbB = p_imageB.pixel(x, y);
            const int nDelta = qMax(qMax(qAbs(qRed(rgbA) - qRed(rgbB)), qAbs(qGreen(rgbA) - qGreen(rgbB))),
                                    qMax(qAbs(qBlue(rgbA) - qBlue(rgbB)), qAbs(qAlpha(rgbA) - qAlpha(rgbB))));
            nOff += nDelta > 8 ? 1 : 0;
        }
    }
    if (nOff * 100 > p_imageA.width() * p_imageA.height())
        return QStringLiteral("%1 pixels differ").arg(nOff);
    return {};
}
} // namespace

class tst_imageGenerator : public QObject
{
    Q_OBJECT

private slots:
    void badArguments_data();
    void badArguments();
    void committedPicturesAreGenerated();
};

void tst_imageGenerator::badArguments_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::newRow("no folder") << QStringList();
    QTest::newRow("two folders") << QStringList({QDir::tempPath(), QDir::tempPath()});
    QTest::newRow("missing folder") << QStringList({QDir::temp().filePath("vindal01-no-such-folder")});
}

void tst_imageGenerator::badArguments()
{
    QFETCH(QStringList, args);
    const run_t run = runGenerator(args);
    QCOMPARE(run.nExitCode, 2);
    QVERIFY(!run.strErrors.isEmpty());
}

void tst_imageGenerator::committedPicturesAreGenerated()
{
    QTemporaryDir dirOut;
    QVERIFY(dirOut.isValid());
    const run_t run = runGenerator({dirOut.path()});
    QVERIFY2(run.nExitCode == 0, qPrintable(run.strErrors));

    const QDir dirCommitted(g_strCommitted);
    QStringList lstFiles;
    for (const QString& strName : QDir(dirCommitted.filePath("icons")).entryList({"*.png"}, QDir::Files))
        lstFiles << "icons/" + strName;
    for (const QString& strName : QDir(dirCommitted.filePath("xpm")).entryList({"*.xpm"}, QDir::Files))
        lstFiles << "xpm/" + strName;
    lstFiles << "vindal01-tool.ico";
    QCOMPARE(lstFiles.size(), 9 + 8 + 1);

    const QDir dirGenerated(dirOut.path());
    for (const QString& strFile : lstFiles)
    {
        QVERIFY2(dirGenerated.exists(strFile), qPrintable(strFile + " not generated"));
        const QList<QImage> lstCommitted = readAll(dirCommitted.filePath(strFile));
        const QList<QImage> lstGenerated = readAll(dirGenerated.filePath(strFile));
        QCOMPARE(lstGenerated.size(), lstCommitted.size());
        for (int i = 0; i < lstCommitted.size(); ++i)
        {
            const QString strDifference = difference(lstCommitted[i], lstGenerated[i]);
            QVERIFY2(strDifference.isEmpty(),
                     qPrintable(QStringLiteral("%1 #%2: %3 (run vindal01-image-generator)")
                                    .arg(strFile)
                                    .arg(i)
                                    .arg(strDifference)));
        }
    }
}

QTEST_MAIN(tst_imageGenerator)
#include "tst_imageGenerator.moc"
