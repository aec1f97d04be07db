// Choosing combo box entries by their data, and the action icon setter.
#include "toolsGui/actionIconSetter.h"
#include "toolsGui/comboTools.h"

#include <QAction>
#include <QComboBox>
#include <QMetaMethod>
#include <QSignalSpy>
#include <QtTest>

using namespace toolsGui_n;

namespace
{
QPixmap filled(const QColor& p_col)
{
    QPixmap pm(16, 16);
    pm.fill(p_col);
    return pm;
}

QColor iconColour(const QAction& p_action)
{
    return p_action.icon().pixmap(16, 16).toImage().pixelColor(8, 8);
}
} // namespace

class tst_comboAndIconTools : public QObject
{
    Q_OBJECT

private slots:
    void selectsFirstEntryWithEqualData();
    void leavesComboAloneWhenNothingMatches();
    void comparesUserRoleDataOnly();
    void iconSetterSetsTheIcon();
    void iconSetterForgetsADestroyedAction();
    void iconSetterWithoutAction();
    void iconSetterSlots();
};

void tst_comboAndIconTools::selectsFirstEntryWithEqualData()
{
    QComboBox combo;
    combo.addItem("ttyS0", "ttyS0");
    combo.addItem("COM3 (first)", "COM3");
    combo.addItem("COM3 (second)", "COM3");
    combo.addItem("number", 115200);
    QSignalSpy spy(&combo, QOverload<int>::of(&QComboBox::currentIndexChanged));
    QVERIFY(selectComboItemByData(&combo, QVariant("COM3")));
    QCOMPARE(combo.currentIndex(), 1);
    QCOMPARE(spy.size(), 1);
    QVERIFY(selectComboItemByData(&combo, QVariant(115200)));
    QCOMPARE(combo.currentIndex(), 3);
    QVERIFY(selectComboItemByData(&combo, QVariant("ttyS0")));
    QCOMPARE(combo.currentIndex(), 0);
}

void tst_comboAndIconTools::leavesComboAloneWhenNothingMatches()
{
    QComboBox combo;
    QVERIFY(!selectComboItemByData(&combo, QVariant("COM1")));
    QCOMPARE(combo.currentIndex(), -1);
    QVERIFY(!selectComboItemByData(nullptr, QVariant("COM1")));

    combo.addItem("a", "A");
    combo.addItem("b", "B");
    combo.setCurrentIndex(1);
    QSignalSpy spy(&combo, QOverload<int>::of(&QComboBox::currentIndexChanged));
    QVERIFY(!selectComboItemByData(&combo, QVariant("C")));
    QVERIFY(!selectComboItemByData(&combo, QVariant()));
    QCOMPARE(combo.currentIndex(), 1);
    QCOMPARE(spy.size(), 0);
}

void tst_comboAndIconTools::comparesUserRoleDataOnly()
{
    QComboBox combo;
    combo.addItem("COM5", "port five"); // the shown text is no item data
    combo.addItem("other", "COM5");
    combo.setItemData(0, "COM5", Qt::ToolTipRole);
    QVERIFY(selectComboItemByData(&combo, QVariant("COM5")));
    QCOMPARE(combo.currentIndex(), 1);
}

void tst_comboAndIconTools::iconSetterSetsTheIcon()
{
    QAction action("Port");
    actionIconSetter_c setter(&action);
    QCOMPARE(setter.action(), &action);
    setter.setIcon(filled(Qt::red));
    QCOMPARE(iconColour(action), QColor(Qt::red));
    // As a slot it is driven by name with a pixmap, for example by a lamp that changes colour.
    QVERIFY(QMetaObject::invokeMethod(&setter, "setIcon", Q_ARG(QPixmap, filled(Qt::green))));
    QCOMPARE(iconColour(action), QColor(Qt::green));
}

void tst_comboAndIconTools::iconSetterForgetsADestroyedAction()
{
    QObject owner;
    auto* pAction = new QAction("Port");
    auto* pSetter = new actionIconSetter_c(pAction, &owner);
    QCOMPARE(pSetter->parent(), &owner);
    delete pAction;
    QCOMPARE(pSetter->action(), nullptr);
    pSetter->setIcon(filled(Qt::red)); // must not touch the destroyed action
    QCOMPARE(pSetter->action(), nullptr);

    // A setter owned by its action goes with it.
    auto* pOwningAction = new QAction("Lamp");
    QPointer<actionIconSetter_c> pChild = new actionIconSetter_c(pOwningAction, pOwningAction);
    delete pOwningAction;
    QVERIFY(pChild.isNull());
}

void tst_comboAndIconTools::iconSetterWithoutAction()
{
    actionIconSetter_c setter(nullptr);
    setter.setIcon(filled(Qt::red));
    QCOMPARE(setter.action(), nullptr);
}

void tst_comboAndIconTools::iconSetterSlots()
{
    const QMetaObject* pMeta = &actionIconSetter_c::staticMetaObject;
    QCOMPARE(pMeta->methodCount() - pMeta->methodOffset(), 2);
    const QMetaMethod setIcon = pMeta->method(pMeta->methodOffset());
    const QMetaMethod destroyed = pMeta->method(pMeta->methodOffset() + 1);
    QCOMPARE(setIcon.methodSignature(), QByteArray("setIcon(QPixmap)"));
    QCOMPARE(setIcon.access(), QMetaMethod::Public);
    QCOMPARE(destroyed.methodSignature(), QByteArray("slotObjectDestroyed()"));
    QCOMPARE(destroyed.access(), QMetaMethod::Private);
}

QTEST_MAIN(tst_comboAndIconTools)
#include "tst_comboAndIconTools.moc"
