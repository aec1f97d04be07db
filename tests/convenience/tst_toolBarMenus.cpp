// The tool bar's menus open with one click: "Debug" on the button itself, the COM server start on its arrow.
#include "ui/vindal01mainWindow.h"

#include <QMenu>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

class tst_toolBarMenus : public QObject
{
    Q_OBJECT

private slots:
    void oneClickOpensTheMenu_data();
    void oneClickOpensTheMenu();
};

void tst_toolBarMenus::oneClickOpensTheMenu_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("popupMode");
    QTest::addColumn<bool>("onArrow");
    QTest::addColumn<QString>("firstEntry");
    QTest::newRow("Debug") << "actionDebug" << int(QToolButton::InstantPopup) << false
                           << "Start serial logging";
    QTest::newRow("Start") << "actionStartComServer" << int(QToolButton::MenuButtonPopup) << true << "Manual";
}

void tst_toolBarMenus::oneClickOpensTheMenu()
{
    QFETCH(QString, action);
    QFETCH(int, popupMode);
    QFETCH(bool, onArrow);
    QFETCH(QString, firstEntry);
    vindal01mainWindow_c window;
    auto* pAction = window.findChild<QAction*>(action);
    pAction->setVisible(true);
    pAction->setEnabled(true);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto* pButton = qobject_cast<QToolButton*>(window.findChild<QToolBar*>()->widgetForAction(pAction));
    QCOMPARE(int(pButton->popupMode()), popupMode);
    QSignalSpy spyTriggered(pAction, &QAction::triggered);

    // The menu runs its own event loop once open; it is read and closed from there.
    QString strShown;
    QTimer closer;
    connect(&closer, &QTimer::timeout,
            [&]()
            {
                if (auto* pMenu = qobject_cast<QMenu*>(QApplication::activePopupWidget()))
                {
                    strShown = pMenu->actions().value(0)->text();
                    pMenu->close();
                }
            });
    closer.start(20);
    const QPoint pos =
        onArrow ? QPoint(pButton->width() - 3, pButton->height() / 2) : pButton->rect().center();
    QTest::mouseClick(pButton, Qt::LeftButton, Qt::NoModifier, pos);
    QTRY_COMPARE(strShown, firstEntry);
    QCOMPARE(spyTriggered.count(), 0);
    if (onArrow)
    {
        // The action itself keeps its plain click (here without the COM server dialogue behind it).
        QObject::disconnect(pAction, nullptr, &window, nullptr);
        QTest::mouseClick(pButton, Qt::LeftButton, Qt::NoModifier, QPoint(3, pButton->height() / 2));
        QCOMPARE(spyTriggered.count(), 1);
    }
}

QTEST_MAIN(tst_toolBarMenus)
#include "tst_toolBarMenus.moc"
