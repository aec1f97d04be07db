// The program at the screen's scale (CTest runs this also with a 192-dpi font setting, a laptop at 200 %):
// it scales as a whole, shows the committed pictures drawn for that density, and opens with every page and
// both hands whole.
#include "app/application.h"
#include "ui/images.h"
#include "ui/vindal01mainWindow.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QRegularExpression>
#include <QStackedWidget>
#include <QTest>
#include <QToolButton>

namespace
{
QImage argb(const QImage& p_image)
{
    return p_image.convertToFormat(QImage::Format_ARGB32);
}
} // namespace

class tst_scaling : public QObject
{
    Q_OBJECT

    const int m_nScale = qEnvironmentVariableIntValue("QT_FONT_DPI") / 96 > 1 ? 2 : 1;
    const QString m_strAt = m_nScale == 1 ? QString() : QStringLiteral("@2x");

private slots:
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
                             argb(QImage(dir.filePath("xpm/" + image.first + m_strAt + ".xpm"))),
                     qPrintable(image.first));
        // Every picture at 1x and at 2x.
        QCOMPARE(QDir(dir.filePath("icons")).entryList({"*.png"}).size(), 18);
        for (const QString& strIcon : QDir(dir.filePath("icons")).entryList({"*.png"}))
            QVERIFY2(argb(QImage(":/icons/" + strIcon)) == argb(QImage(dir.filePath("icons/" + strIcon))),
                     qPrintable(strIcon));
    }

    void windowOpensWithEverythingWhole()
    {
        vindal01mainWindow_c window;
        window.resize(firstWindowSize(window));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        // Pictures with every pixel of the screen: the lamp 16 units high, the mode buttons' pictures.
        QCOMPARE(window.portStateLabel()->pixmap(Qt::ReturnByValue).height(), 16 * m_nScale);
        for (QToolButton* pButton : window.findChildren<QToolButton*>(QRegularExpression("^modeButton")))
            QCOMPARE(pButton->icon().pixmap(window.windowHandle(), pButton->iconSize()).size(),
                     pButton->iconSize() * m_nScale);

        auto* pStack = window.findChild<QStackedWidget*>();
        for (int nPage = 0; nPage < pStack->count(); ++nPage)
        {
            pStack->setCurrentIndex(nPage);
            QApplication::processEvents();
            for (QWidget* pWidget :
                 pStack->currentWidget()->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
            {
                const QSize sizeNeeded = pWidget->minimumSizeHint();
                QVERIFY2(
                    !pWidget->isVisible() ||
                        (pWidget->parentWidget()->rect().contains(pWidget->geometry()) &&
                         pWidget->width() >= sizeNeeded.width() && pWidget->height() >= sizeNeeded.height()),
                    qPrintable(
                        QStringLiteral("page %1: %2").arg(nPage).arg(pWidget->metaObject()->className())));
                // A hand shows every fingertip whole, and no finger narrower than a line of text.
                if (auto* pHand = qobject_cast<humanHandWidget_c*>(pWidget))
                    for (const auto& shape : humanHandWidget_c::fingerLayout(pHand->hand(), pHand->size()))
                        QVERIFY(pHand->rect().contains(shape.rectTip) &&
                                shape.rectTip.width() >= pHand->fontMetrics().height());
            }
        }
    }
};

int main(int argc, char* argv[])
{
    // As the program starts: scaling is asked for before the application object exists.
    prepareScaling();
    QApplication app(argc, argv);
    tst_scaling test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_scaling.moc"
