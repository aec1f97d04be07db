// Port specifications: every token of every setting applied to a port and read back, the shape check,
// and creating ports.
#include "serialPort/portSpecification.h"

#include <QPointer>
#include <QtTest>

using namespace serialPort_n;

namespace
{
QByteArray illegalMessage(const QByteArray& p_baQuotedPortSpec)
{
    return "Illegal serial port specification. Expected "
           "\"<port>;<baudrate> <databits> <parity> <stopbits> <flowcontrol>\", got " +
           p_baQuotedPortSpec;
}

QList<int> settingsOf(const QSerialPort& p_port)
{
    return {p_port.baudRate(QSerialPort::Input),
            p_port.baudRate(QSerialPort::Output),
            int(p_port.dataBits()),
            int(p_port.parity()),
            int(p_port.stopBits()),
            int(p_port.flowControl())};
}
} // namespace

class tst_portSpecification : public QObject
{
    Q_OBJECT

private slots:
    void apply_data()
    {
        QTest::addColumn<QString>("portSpec");
        QTest::addColumn<QString>("portName");
        QTest::addColumn<QList<int>>("settings"); // baud rate in and out, data bits, parity, stop bits, flow
        QTest::addColumn<QString>("formatted");   // empty: rejected, the port keeps its earlier settings

        // One row per token: the other fields keep "115200 8 N 1 OFF".
        const QStringList lstDefault = {"115200", "8", "N", "1", "OFF"};
        const QList<int> lstDefaultValues = {115200, 8, 0, 1, 0};
        const auto token =
            [&](int p_nField, const QString& p_strToken, int p_nValue, const QString& p_strBack)
        {
            QStringList lstTokens = lstDefault;
            lstTokens[p_nField] = p_strToken;
            QList<int> lstValues = lstDefaultValues;
            lstValues[p_nField] = p_nValue;
            lstValues.prepend(lstValues.first());
            const QString strSpec = "COM3;" + lstTokens.join(' ');
            lstTokens[p_nField] = p_strBack;
            QTest::addRow("%d \"%s\"", p_nField, qPrintable(p_strToken))
                << strSpec << "COM3" << lstValues << "COM3;" + lstTokens.join(' ');
        };
        // Every listed token with its QSerialPort value, then tokens outside the tables: they set -1, which
        // reads back as "-1", "U" or "?", and that reads in as -1 again.
        const char* aListed[] = {"1200 2400 4800 9600 19200 38400 57600 115200", "5 6 7 8", "N E O S M",
                                 "1 1.5 2", "OFF HW SW"};
        const QList<int> aValues[] = {{1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200},
                                      {5, 6, 7, 8},
                                      {0, 2, 3, 4, 5},
                                      {1, 3, 2},
                                      {0, 1, 2}};
        const char* aUnlisted[] = {"250000 09600 -1 0", "9 1.5", "n No U", "15 3 1,5 ?", "off Hardware ?"};
        const QStringList lstUnlistedBack = {"-1", "-1", "U", "?", "?"};
        for (int nField = 0; nField < 5; ++nField)
        {
            const QStringList lstListed = QString(aListed[nField]).split(' ');
            for (int i = 0; i < lstListed.size(); ++i)
                token(nField, lstListed[i], aValues[nField][i], lstListed[i]);
            for (const QString& strToken : QString(aUnlisted[nField]).split(' '))
                token(nField, strToken, -1, lstUnlistedBack[nField]);
        }
        QTest::newRow("device path: the short name opens the same device")
            << "/dev/ttyUSB0;4800 6 M 1 OFF"
            << "ttyUSB0" << QList<int>{4800, 4800, 6, 5, 1, 0} << "ttyUSB0;4800 6 M 1 OFF";
        QTest::newRow("empty port name") << ";38400 7 O 2 SW"
                                         << "" << QList<int>{38400, 38400, 7, 3, 2, 2} << ";38400 7 O 2 SW";
        QTest::newRow("second ; is in the baud token")
            << "A;B;9600 8 N 1 OFF"
            << "A" << QList<int>{-1, -1, 8, 0, 1, 0} << "A;-1 8 N 1 OFF";
        QTest::newRow("five empty fields")
            << "COM3;    "
            << "COM3" << QList<int>{-1, -1, -1, -1, -1, -1} << "COM3;-1 -1 U ? ?";
        for (const char* pszBad :
             {"COM3;115200  8 N 1 OFF", "COM3;115200 8 N 1", "COM3;115200 8 N 1 OFF X",
              "COM3;115200 8 N 1 OFF ", "COM3 115200 8 N 1 OFF", "", ";", "COM3;115200\t8\tN\t1\tOFF"})
            QTest::addRow("rejected \"%s\"", pszBad)
                << pszBad << "BEFORE" << QList<int>{2400, 2400, 7, 3, 2, 2} << QString();
    }
    void apply()
    {
        QFETCH(QString, portSpec);
        QFETCH(QString, portName);
        QFETCH(QList<int>, settings);
        QFETCH(QString, formatted);

        QSerialPort port;
        QVERIFY(applyPortSpecification(QStringLiteral("BEFORE;2400 7 O 2 SW"), &port));
        if (formatted.isEmpty())
            QTest::ignoreMessage(QtDebugMsg,
                                 illegalMessage('"' + portSpec.toLatin1().replace('\t', "\\t") + '"'));
        QCOMPARE(applyPortSpecification(portSpec, &port), !formatted.isEmpty());
        QCOMPARE(port.portName(), portName);
        QCOMPARE(settingsOf(port), settings);
        QVERIFY(!port.isOpen());
        if (formatted.isEmpty())
            return;
        QCOMPARE(portSpecification(port), formatted);
    }
    void formatUnlistedValues()
    {
        // Values set outside a port specification, as by the serial port's own defaults.
        QSerialPort port(QStringLiteral("COM3"));
        port.setBaudRate(250000);
        port.setParity(static_cast<QSerialPort::Parity>(1));
        port.setStopBits(static_cast<QSerialPort::StopBits>(15));
        port.setFlowControl(static_cast<QSerialPort::FlowControl>(7));
        QCOMPARE(portSpecification(port), QStringLiteral("COM3;-1 8 U ? ?"));
    }
    void rejectedWithoutPortOrQuotedOnOneLine()
    {
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression(QStringLiteral("no port")));
        QVERIFY(!applyPortSpecification(QStringLiteral("COM3;115200 8 N 1 OFF"), nullptr));
        // A line break or quote inside a rejected specification must not break or fake the diagnostic line.
        QSerialPort port;
        QTest::ignoreMessage(QtDebugMsg, illegalMessage("\"COM3\\n\\\"x\\\" 115200 8 N 1 OFF\""));
        QVERIFY(!applyPortSpecification(QStringLiteral("COM3\n\"x\" 115200 8 N 1 OFF"), &port));
    }
    void createPort()
    {
        QObject parent;
        QPointer<QSerialPort> pPort =
            serialPort_n::createPort(QStringLiteral("COM4;19200 6 S 2 HW"), &parent);
        QVERIFY(pPort && pPort->parent() == &parent && !pPort->isOpen());
        QCOMPARE(portSpecification(*pPort), QStringLiteral("COM4;19200 6 S 2 HW"));
        QScopedPointer<QSerialPort> pOwn(
            serialPort_n::createPort(QStringLiteral("COM5;300 8 x 1 OFF"), nullptr));
        QVERIFY(pOwn && !pOwn->parent());
        QCOMPARE(portSpecification(*pOwn), QStringLiteral("COM5;-1 8 U 1 OFF"));

        QTest::ignoreMessage(QtDebugMsg, illegalMessage("\"COM4;19200 6 S 2\""));
        QCOMPARE(serialPort_n::createPort(QStringLiteral("COM4;19200 6 S 2"), &parent), nullptr);
        QCOMPARE(parent.children().size(), 1);
    }
};

QTEST_GUILESS_MAIN(tst_portSpecification)
#include "tst_portSpecification.moc"
