// The GUI helpers: path parts, size and duration texts, the action icon
// setter, and the waits, with real keyboard input queued while a wait runs.
#include "fifoInputDevice.h"
#include "toolsGui/actionIconSetter.h"
#include "toolsGui/pathTools.h"
#include "toolsGui/textTools.h"
#include "toolsGui/waitTools.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QtTest>

#include <clocale>
#include <limits>

using namespace toolsGui_n;

namespace
{
fifoInputDevice_c* g_pKeyboard = nullptr;

QPixmap filled(const QColor& p_col)
{
    QPixmap pm(16, 16);
    pm.fill(p_col);
    return pm;
}
} // namespace

class tst_toolsGui : public QObject
{
    Q_OBJECT

private slots:
    void pathParts()
    {
        // path, directory, file name, base name, the parts split at both separators
        const char* aRows[][5] = {
            {"file.txt", "", "file.txt", "file", "file.txt"},
            {"C:\\dir\\file.txt", "C:\\dir", "file.txt", "file", "C:|dir|file.txt"},
            {"a\\b/c.d", "a\\b", "c.d", "c", "a|b|c.d"},
            {"dir/archive.tar.gz", "dir", "archive.tar.gz", "archive.tar", "dir|archive.tar.gz"},
            {".profile", "", ".profile", "", ".profile"},
            {"dir.d/file", "dir.d", "file", "file", "dir.d|file"},
            {"dir\\sub\\", "dir\\sub", "", "", "dir|sub|"},
            {"/file.log", "", "file.log", "file", "file.log"},
            {"a\\\\b", "a\\", "b", "b", "a||b"},
            {"\\\\server\\share", "\\\\server", "share", "share", "|server|share"}};
        for (const auto& row : aRows)
        {
            const QString strPath = row[0];
            QCOMPARE(QStringList({pathDirectory(strPath), pathFileName(strPath), pathBaseName(strPath),
                                  splitPath(strPath).join('|')}),
                     QStringList({row[1], row[2], row[3], row[4]}));
        }
        QCOMPARE(splitPath(QString()), QStringList());
        QCOMPARE(splitPath("/"), QStringList{""});
        QCOMPARE(backslashToUnderscore("\\\\.\\COM3/x"), QString("__._COM3/x"));
    }
    void sizeAndDurationTexts()
    {
        const quint64 k = 1024, m = k * k, g = m * k, t = g * k;
        // The unit follows the truncated quotient while the printed value is rounded.
        const QList<QPair<quint64, QString>> lstSizes = {
            {0, "0"},
            {1023, "1023"},
            {k, "1.00 kB"},
            {10 * k - 1, "10.00 kB"},
            {10 * k, "10.0 kB"},
            {100 * k - 1, "100.0 kB"},
            {100 * k, "100 kB"},
            {m - 1, "1023 kB"},
            {5 * m / 2, "2.50 MB"},
            {g, "1.00 GB"},
            {12 * g + 3 * g / 10, "12.3 GB"},
            {t, "1.0 TB"},
            {9 * t / 4, "2.2 TB"},
            {std::numeric_limits<quint64>::max(), "16777216.0 TB"}};
        for (const auto& size : lstSizes)
            QCOMPARE(sizeText(size.first), size.second);
        // The program takes the system's locale; a German one must not turn the decimal point into a comma.
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
        const QString strGerman = sizeText(1536);
        std::setlocale(LC_NUMERIC, "C");
        QLocale::setDefault(QLocale::c());
        QCOMPARE(strGerman, QString("1.50 kB"));

        const QList<QPair<qint64, QString>> lstDurations = {
            {0, "0:00"},
            {60, "1:00"},
            {3599, "59:59"},
            {3600, "1:00:00"},
            {86399, "23:59:59"},
            {86400, "1d 0:00:00"},
            {90061, "1d 1:01:01"},
            {-75, "- 1:15"},
            {-3661, "- 1:01:01"},
            {qint64(86400) * 3000000000LL + 59, "3000000000d 0:00:59"},
            {std::numeric_limits<qint64>::min(), "- 106751991167300d 15:30:08"}};
        for (const auto& duration : lstDurations)
            QCOMPARE(durationText(duration.first), duration.second);
    }
    void actionIconSetter()
    {
        QAction action("Port");
        actionIconSetter_c setter(&action);
        // Driven by name with a pixmap, for example by a lamp that changes colour.
        QVERIFY(QMetaObject::invokeMethod(&setter, "setIcon", Q_ARG(QPixmap, filled(Qt::green))));
        QCOMPARE(action.icon().pixmap(16, 16).toImage().pixelColor(8, 8), QColor(Qt::green));
    }
    // While a wait runs with ExcludeUserInputEvents, typed keys stay queued while timers fire and the window
    // repaints; the keys arrive after it. A wait without the flag takes them.
    void waitRunsTimersAndHoldsBackInputOnRequest()
    {
        // The plain sleep processes nothing; the wait runs timers and queued calls, at least one pass.
        bool bQueued = false;
        QMetaObject::invokeMethod(
            this, [&] { bQueued = true; }, Qt::QueuedConnection);
        QElapsedTimer timer;
        timer.start();
        sleepMs(60);
        QVERIFY(!bQueued && timer.elapsed() >= 60);
        waitProcessingEvents(-100, QEventLoop::ExcludeUserInputEvents);
        QVERIFY(bQueued && timer.elapsed() >= 110);
        bool bFired = false;
        QTimer::singleShot(100, this, [&] { bFired = true; });
        waitProcessingEvents(300, QEventLoop::ExcludeUserInputEvents);
        QVERIFY(bFired && timer.elapsed() >= 410);

        if (!g_pKeyboard || !g_pKeyboard->isOpen())
            QSKIP("No FIFO keyboard under /dev/shm on this machine");
        QLineEdit edit;
        edit.show();
        edit.activateWindow();
        edit.setFocus();
        QVERIFY(QTest::qWaitForWindowActive(&edit));
        QVERIFY(g_pKeyboard->type(KEY_A));
        waitProcessingEvents(1000, QEventLoop::ExcludeUserInputEvents);
        QCOMPARE(edit.text(), QString());
        QTRY_COMPARE(edit.text(), QString("a"));
        // A wait long enough for a loaded machine to pass the key on.
        QVERIFY(g_pKeyboard->type(KEY_B));
        waitProcessingEvents(3000);
        QCOMPARE(edit.text(), QString("ab"));
    }
};

// The keyboard must exist before the application object, which loads the input plugins.
int main(int argc, char* argv[])
{
    fifoInputDevice_c keyboard("keyboard");
    g_pKeyboard = &keyboard;
    QApplication app(argc, argv);
    tst_toolsGui test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_toolsGui.moc"
