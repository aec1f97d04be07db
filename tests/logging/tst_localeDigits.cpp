// Under a locale with digits of its own (CTest runs this under Arabic and under Persian settings) the
// names and time stamps the program builds keep ASCII digits: the log reader, the watchdog and scripts
// read them back.
#include "serialPort/loggingSerialPort.h"
#include "ui/keepResults.h"
#include "ui/vindal01mainWindow.h"
#include "viewers/serialLogModel.h"
#include "viewers/serialLogReader.h"

#include <QTemporaryDir>
#include <QTextBrowser>
#include <QtTest>

class tst_localeDigits : public QObject
{
    Q_OBJECT

private slots:
    void namesAndStampsReadBack()
    {
        QVERIFY2(QLocale::system().zeroDigit() != QLatin1Char('0'), "run under ar_EG or fa_IR");
        const QDateTime dt(QDate(2020, 2, 8), QTime(14, 30, 15, 42));
        QCOMPARE(QStringList({serialPort_n::loggingSerialPort_c::logFileNameFor(dt, "COM3"),
                              keepResults_n::imageFileName(dt), keepResults_n::tableFileName(dt)}),
                 QStringList({"serial_20200208-143015-COM3.log", "fingerprint-20200208-143015.png",
                              "templates-20200208-143015.csv"}));

        QTemporaryDir dir;
        const QString strLog = dir.filePath("serial.log");
        const QDateTime dtBefore = QDateTime::currentDateTime().addMSecs(-1);
        {
            serialPort_n::loggingSerialPort_c port(QStringLiteral("COM3"));
            QVERIFY(port.openLog(strLog));
            port.logData(1, "scan\r\n");
            port.logData(0, "=OK 7\r\n");
        }
        // "yyyyMMdd-HHmmss.zzz" and "yyyy.MM.dd HH:mm:ss.zzz", in ASCII digits.
        const QRegularExpression stamp(
            QStringLiteral("[0-9]{4}\\.?[0-9]{2}\\.?[0-9]{2}[ -][0-9:]{6,8}\\.[0-9]{3}"));
        serialLogReader_c reader;
        QVERIFY(reader.slotOpenFile(strLog));
        QStringList lstRows;
        for (int nRow = 0; nRow < reader.model()->rowCount(); ++nRow)
        {
            const QString strTime = reader.model()->timeText(nRow);
            const QDateTime dtStamp = QDateTime::fromString(strTime, QStringLiteral("yyyyMMdd-HHmmss.zzz"));
            lstRows << QString::number(strTime.contains(stamp) && dtStamp >= dtBefore &&
                                       dtStamp <= QDateTime::currentDateTime()) +
                           reader.model()->directionText(nRow) +
                           QString::fromLatin1(reader.model()->bytes(nRow));
        }
        QCOMPARE(lstRows, QStringList({"1Wscan\r\n", "1R=OK 7\r\n"}));

        vindal01mainWindow_c window;
        window.addUnexpectedResponse(QStringLiteral("=OK"));
        QVERIFY(QMetaObject::invokeMethod(&window, "slotWatchdog"));
        QVERIFY(window.unexpectedResponsesWindow()->toPlainText().contains(stamp));
        QVERIFY(window.serialErrorLogWindow()->windowTitle().contains(stamp));
    }
};

QTEST_MAIN(tst_localeDigits)
#include "tst_localeDigits.moc"
