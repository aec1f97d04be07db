// The project's own hex view: layout, keyboard and mouse selection, copying, big blocks.
#include "viewers/hexView.h"

#include <QClipboard>
#include <QScrollBar>
#include <QtTest>

class tst_hexView : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void hitsMapToBytes();
    void keyboardSelectionAndCopy();
    void mouseSelection();
    void bigBlockScrollsToItsEnd();

private:
    QPoint hexPoint(qint64 p_nByte) const
    {
        const int nRow = int(p_nByte / hexView_c::bytesPerRow - m_pView->firstVisibleRow());
        return QPoint(m_pView->hexColumnX(int(p_nByte % hexView_c::bytesPerRow)) + 2,
                      nRow * m_pView->rowHeight() + m_pView->rowHeight() / 2);
    }

    std::unique_ptr<hexView_c> m_pView;
};

void tst_hexView::init()
{
    m_pView = std::make_unique<hexView_c>();
    m_pView->resize(800, 300);
    m_pView->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_pView.get()));
    m_pView->setFocus();
    QByteArray baData;
    for (int i = 0; i < 100; ++i)
        baData.append(char(i));
    m_pView->setData(baData);
}

void tst_hexView::cleanup()
{
    m_pView.reset();
}

void tst_hexView::hitsMapToBytes()
{
    // The hex and the character column of one byte hit that byte; the address column hits none.
    for (qint64 nByte : {0, 7, 8, 15, 16, 99})
    {
        QCOMPARE(m_pView->byteAt(hexPoint(nByte)), nByte);
        const QPoint posText(m_pView->textColumnX(int(nByte % 16)) + 2, hexPoint(nByte).y());
        QCOMPARE(m_pView->byteAt(posText), nByte);
    }
    QCOMPARE(m_pView->byteAt(QPoint(m_pView->charWidth() * 2, 2)), qint64(-1));
    // Past the last byte of the last row.
    QCOMPARE(m_pView->byteAt(hexPoint(100)), qint64(-1));
    QVERIFY(m_pView->textColumnX(0) > m_pView->hexColumnX(15));
    QVERIFY(m_pView->contentWidth() > m_pView->textColumnX(15));
}

void tst_hexView::keyboardSelectionAndCopy()
{
    QTest::keyClick(m_pView.get(), Qt::Key_Right);
    QTest::keyClick(m_pView.get(), Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(m_pView.get(), Qt::Key_Down, Qt::ShiftModifier);
    QCOMPARE(m_pView->selectionStart(), qint64(1));
    QCOMPARE(m_pView->selectionEnd(), qint64(18));

    QGuiApplication::clipboard()->clear();
    QTest::keyClick(m_pView.get(), Qt::Key_Left, Qt::ShiftModifier);
    QTest::keyClick(m_pView.get(), Qt::Key_Up, Qt::ShiftModifier);
    QTest::keyClick(m_pView.get(), Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(m_pView.get(), Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(m_pView.get(), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("01 02"));

    QTest::keyClick(m_pView.get(), Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(m_pView->selectedData(), m_pView->data());
    QTest::keyClick(m_pView.get(), Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(m_pView->selectionStart(), qint64(100));
    QCOMPARE(m_pView->selectionEnd(), qint64(100));
    QTest::keyClick(m_pView.get(), Qt::Key_Home, Qt::ShiftModifier);
    QCOMPARE(m_pView->selectedData().toHex(), QByteArray("60616263"));
}

void tst_hexView::mouseSelection()
{
    QTest::mousePress(m_pView->viewport(), Qt::LeftButton, Qt::NoModifier, hexPoint(20));
    QMouseEvent move(QEvent::MouseMove, hexPoint(35), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(m_pView->viewport(), &move);
    QTest::mouseRelease(m_pView->viewport(), Qt::LeftButton, Qt::NoModifier, hexPoint(35));
    QCOMPARE(m_pView->selectionStart(), qint64(20));
    QCOMPARE(m_pView->selectionEnd(), qint64(36));

    // Dragging backwards keeps the pressed byte in the selection.
    QTest::mousePress(m_pView->viewport(), Qt::LeftButton, Qt::NoModifier, hexPoint(40));
    QMouseEvent moveBack(QEvent::MouseMove, hexPoint(38), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(m_pView->viewport(), &moveBack);
    QCOMPARE(m_pView->selectedData().toHex(), QByteArray("262728"));
}

void tst_hexView::bigBlockScrollsToItsEnd()
{
    QByteArray baBig(8 << 20, '\0');
    for (int i = 0; i < baBig.size(); i += 4096)
        baBig[i] = char(i >> 12);
    m_pView->setData(baBig);
    QCOMPARE(m_pView->rowCount(), qint64(baBig.size() / 16));
    QTest::keyClick(m_pView.get(), Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(m_pView->verticalScrollBar()->value(), m_pView->verticalScrollBar()->maximum());
    QVERIFY(m_pView->firstVisibleRow() > 0);
    // The last byte is on screen and can be hit.
    QTest::keyClick(m_pView.get(), Qt::Key_Left, Qt::ShiftModifier);
    QCOMPARE(m_pView->byteAt(hexPoint(baBig.size() - 1)), qint64(baBig.size() - 1));
    QVERIFY(!m_pView->grab().isNull());
    QTest::keyClick(m_pView.get(), Qt::Key_Home, Qt::ControlModifier);
    QCOMPARE(m_pView->firstVisibleRow(), 0);
}

QTEST_MAIN(tst_hexView)
#include "tst_hexView.moc"
