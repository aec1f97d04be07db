// The pictures, at 1x and 2x, are what the image generator draws, so that they can be made again after a
// change; the program shows those drawn for the screen's density and opens with every page and both hands
// whole (CTest runs this also with a 192-dpi font setting, a laptop at 200 %).
#include "app/application.h"
#include "ui/images.h"
#include "ui/vindal01mainWindow.h"

#include <QApplication>
#include <QDir>
#include <QImageReader>
#include <QLabel>
#include <QProcess>
#include <QRegularExpression>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

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

    const int m_nScale = qEnvironmentVariableIntValue("QT_FONT_DPI") == 192 ? 2 : 1;

public:
    // As the program starts: scaling is asked for before the application object exists.
    static void initMain() { prepareScaling(); }

private slots:
#ifdef VINDAL_IMAGE_GENERATOR
    void committedPicturesAreGenerated()
    {
        QTemporaryDir dirOut;
        QProcess generator;
        generator.start(QStringLiteral(VINDAL_IMAGE_GENERATOR), {dirOut.path()});
        QVERIFY2(generator.waitForFinished(60000) && generator.exitCode() == 0,
                 generator.readAllStandardError().constData());
        const QDir dirCommitted(QStringLiteral(VINDAL_RESOURCES_DIR));
        QStringList lstFiles = {"vindal01-tool.ico"};
        for (const QString strSub : {"icons", "xpm"})
            for (const QString& strName : QDir(dirCommitted.filePath(strSub)).entryList(QDir::Files))
                lstFiles << strSub + "/" + strName;
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

    void programShowsTheCommittedPictures()
    {
        QCOMPARE(qGuiApp->devicePixelRatio(), qreal(m_nScale));
        const QDir dir(QStringLiteral(VINDAL_RESOURCES_DIR));
        const QList<QPair<QString, QPixmap (*)()>> lstCompiledIn = {
            {"start", &images_n::start},         {"stop", &images_n::stop},
            {"info", &images_n::info},           {"lampYellow", &images_n::lampYellow},
            {"lampGreen", &images_n::lampGreen}, {"lampRed", &images_n::lampRed},
            {"debug", &images_n::debug},         {"update", &images_n::update}};
        for (const auto& image : lstCompiledIn)
            QVERIFY2(image.second().devicePixelRatio() == m_nScale &&
                         argb(image.second().toImage()) ==
                             argb(QImage(
                                 dir.filePath("xpm/" + image.first + (m_nScale == 2 ? "@2x.xpm" : ".xpm")))),
                     qPrintable(image.first));
        // Every picture at 1x and at 2x.
        QCOMPARE(QDir(dir.filePath("icons")).entryList({"*.png"}).size(), 20);
        for (const QString& strIcon : QDir(dir.filePath("icons")).entryList({"*.png"}))
            QVERIFY2(argb(QImage(":/icons/" + strIcon)) == argb(QImage(dir.filePath("icons/" + strIcon))),
                     qPrintable(strIcon));
    }

    void windowOpensWithEverythingWhole()
    {
        vindal01mainWindow_c window;
        window.resize(firstWindowSize(window));
        window.show();
        // Pictures with every pixel of the screen: the lamp 16 units high, the mode buttons' pictures.
        QCOMPARE(window.portStateLabel()->pixmap(Qt::ReturnByValue).height(), 16 * m_nScale);
        for (QToolButton* pButton : window.findChildren<QToolButton*>(QRegularExpression("^modeButton")))
            QCOMPARE(pButton->icon().pixmap(window.windowHandle(), QSize(56, 56)).width(), 56 * m_nScale);

        auto* pStack = window.findChild<QStackedWidget*>();
        for (int nPage = 0; nPage < pStack->count(); ++nPage)
        {
            pStack->setCurrentIndex(nPage);
            QApplication::processEvents();
            for (QWidget* pWidget :
                 pStack->currentWidget()->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
            {
                QVERIFY2(!pWidget->isVisible() ||
                             (pWidget->parentWidget()->rect().contains(pWidget->geometry()) &&
                              pWidget->size().expandedTo(pWidget->minimumSizeHint()) == pWidget->size()),
                         pWidget->metaObject()->className());
                // A hand shows every fingertip whole, and no finger narrower than a line of text.
                if (auto* pHand = qobject_cast<humanHandWidget_c*>(pWidget))
                    for (const auto& shape : humanHandWidget_c::fingerLayout(pHand->hand(), pHand->size()))
                        QVERIFY(pHand->rect().contains(shape.rectTip) &&
                                shape.rectTip.width() >= pHand->fontMetrics().height());
            }
        }
    }
};

QTEST_MAIN(tst_resources)
#include "tst_resources.moc"
