// The image reader fed an image reply in chunks of every size: what the technician and the diagnostics see
// must be exactly what a parse of the whole received buffer after each chunk says.
#include "sensor/imageReception.h"
#include "sensor/replyFormat.h"
#include "sensorSimulator.h"
#include "windowTester.h"

#include <QLabel>
#include <QStatusBar>
#include <QtTest>

using namespace sensor_n;
using simulator_n::sensorSimulator_c;

namespace
{

QStringList g_lstDebug;

void captureDebug(QtMsgType p_nType, const QMessageLogContext&, const QString& p_strMessage)
{
    if (p_nType == QtDebugMsg)
    {
        g_lstDebug.append(p_strMessage);
    }
}

QByteArray imageReply(const QByteArray& p_baPrefix, int p_nWidth, int p_nHeight, const QByteArray& p_baPixels,
                      qint64 p_nSumOffset = 0)
{
    return p_baPrefix + "=OK Image Width=" + QByteArray::number(p_nWidth) +
           " Height=" + QByteArray::number(p_nHeight) +
           " Sum=" + QByteArray::number(qint64(payloadChecksum(p_baPixels)) + p_nSumOffset) + "\r\n" +
           p_baPixels;
}

QByteArray pixels(int p_nCount, int p_nSeed)
{
    QByteArray baPixels;
    for (int i = 0; i < p_nCount; ++i)
    {
        baPixels.append(char((i * 37 + p_nSeed * 11) & 0xff));
    }
    return baPixels;
}

// What the reader must show after each chunk, worked out from the whole buffer received so far.
struct expected_t
{
    QStringList lstStatus;
    QStringList lstProgress; // "<payload> of <expected> COMPUTED CS <sum>" of each progress debug line
    int nCompletions = 0;
};

expected_t expectedFor(const QByteArray& p_baReply, int p_nChunk)
{
    expected_t expected;
    for (int nEnd = qMin(p_nChunk, p_baReply.size());; nEnd = qMin(nEnd + p_nChunk, p_baReply.size()))
    {
        const QByteArray baBuffer = p_baReply.left(nEnd);
        const imageHeader_t header = parseImageHeader(baBuffer);
        if (header.bComplete && expected.nCompletions == 0)
        {
            const qint64 nPayload = baBuffer.size() - header.nPayloadOffset;
            const quint32 nSum = payloadChecksum(baBuffer.constData() + header.nPayloadOffset, nPayload);
            const qint64 nExpected = header.expectedSize();
            expected.lstProgress.append(
                QStringLiteral("%1 of %2 COMPUTED CS %3").arg(nPayload).arg(nExpected).arg(nSum));
            if (nExpected < 0)
            {
                expected.lstStatus.append(
                    QStringLiteral("Bildgröße im Bildkopf ungültig (Breite %1, Höhe %2)")
                        .arg(header.nWidth)
                        .arg(header.nHeight));
            }
            else
            {
                expected.lstStatus.append(
                    QStringLiteral("Bild lesen... %1%").arg(nPayload * 100 / nExpected));
                if (nPayload == nExpected && nSum != header.nSum)
                {
                    expected.lstStatus.append(
                        QStringLiteral("Prüfsumme des Bildes fehlerhaft (erwartet %1, berechnet %2)")
                            .arg(header.nSum)
                            .arg(nSum));
                }
                else if (nPayload == nExpected)
                {
                    expected.lstStatus.append(QString());
                    ++expected.nCompletions;
                }
            }
        }
        if (nEnd == p_baReply.size())
        {
            break;
        }
    }
    return expected;
}

} // namespace

class tst_imageReader : public QObject
{
    Q_OBJECT

private slots:
    void chunkedReplyReadsAsTheWholeBuffer_data();
    void chunkedReplyReadsAsTheWholeBuffer();
    void receptionFollowsTheWholeBufferParse_data();
    void receptionFollowsTheWholeBufferParse();
    void consecutivePicturesWithTheSameHeaderAreEachRead();
};

void tst_imageReader::chunkedReplyReadsAsTheWholeBuffer_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<int>("chunk");
    const QByteArray baPixels = pixels(4 * 3, 1);
    const QByteArray baGood = imageReply("\r\n", 4, 3, baPixels);
    for (int nChunk : {1, 2, 3, 5, 64, 4096})
    {
        QTest::addRow("good picture, %d-byte chunks", nChunk) << baGood << nChunk;
    }
    QTest::addRow("wrong sum, then more bytes") << imageReply("\r\n", 4, 3, baPixels, 1) + "xyz" << 1;
    QTest::addRow("noise before the header") << imageReply("noise =O\r\n=", 4, 3, baPixels) << 1;
    QTest::addRow("=OK as the very first byte") << imageReply("", 4, 3, baPixels) << 1;
    QTest::addRow("header split in its marker") << imageReply("\r\n", 2, 2, pixels(4, 2)) << 2;
    QTest::addRow("zero width") << imageReply("\r\n", 0, 3, QByteArray()) + "abc" << 1;
    QTest::addRow("huge size") << imageReply("\r\n", 100000, 100000, "ab") << 3;
    QTest::addRow("wrapping sum") << imageReply("\r\n", 256, 288, QByteArray(256 * 288, char(0xff))) << 64;
}

void tst_imageReader::chunkedReplyReadsAsTheWholeBuffer()
{
    QFETCH(QByteArray, reply);
    QFETCH(int, chunk);
    const expected_t expected = expectedFor(reply, chunk);

    vindal01mainWindow_c window;
    vindal01mainWindowTester_c tester(window);
    tester.setMode(sensor_n::mode_t::Test);
    tester.setState(state_t::Scan); // no port: the state's own Scan goes nowhere
    tester.setCommand(command_t::ReadImage);
    QStringList lstStatus;
    connect(window.statusBar(), &QStatusBar::messageChanged, this,
            [&lstStatus](const QString& p_strText) { lstStatus.append(p_strText); });
    const QtMessageHandler previous = qInstallMessageHandler(captureDebug);
    g_lstDebug.clear();
    for (int nAt = 0; nAt < reply.size(); nAt += chunk)
    {
        tester.feed(reply.mid(nAt, chunk));
    }
    qInstallMessageHandler(previous);

    QStringList lstProgress;
    QRegularExpression reProgress(QStringLiteral("#BytesRead (\\d+) of (-?\\d+) COMPUTED CS (\\d+)$"));
    for (const QString& strLine : qAsConst(g_lstDebug))
    {
        const QRegularExpressionMatch match = reProgress.match(strLine);
        if (match.hasMatch())
        {
            lstProgress.append(QStringLiteral("%1 of %2 COMPUTED CS %3")
                                   .arg(match.captured(1), match.captured(2), match.captured(3)));
        }
    }
    // Clearing an empty status bar emits nothing; the list holds real changes only.
    QStringList lstExpectedStatus;
    for (const QString& strStatus : expected.lstStatus)
    {
        if (lstExpectedStatus.isEmpty() ? !strStatus.isEmpty() : lstExpectedStatus.last() != strStatus)
        {
            lstExpectedStatus.append(strStatus);
        }
    }
    QCOMPARE(lstProgress, expected.lstProgress);
    QCOMPARE(lstStatus, lstExpectedStatus);
    QCOMPARE(g_lstDebug.count(QStringLiteral("IMAGE READING DONE.")), expected.nCompletions);
    QCOMPARE(tester.lblImage()->pixmap(Qt::ReturnByValue).isNull(), expected.nCompletions == 0);
}

void tst_imageReader::receptionFollowsTheWholeBufferParse_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::newRow("picture") << imageReply("\r\n", 16, 9, pixels(16 * 9, 3));
    QTest::newRow("two markers") << QByteArray("x=OK a\r\n=OK Width=2 Height=1 Sum=3\r\n\x01\x02");
    QTest::newRow("marker at 0") << QByteArray("=OK Width=1 Height=1 Sum=0\r\n\x00", 29);
    QTest::newRow("no line end") << QByteArray("\r\n=OK Width=1 Height=1 Sum=0 \r \n");
    QTest::newRow("split line end") << QByteArray("\n=OK\r\r\n\r\n");
}

void tst_imageReader::receptionFollowsTheWholeBufferParse()
{
    QFETCH(QByteArray, reply);
    for (int nChunk = 1; nChunk <= reply.size(); ++nChunk)
    {
        imageReception_c reception;
        QByteArray baBuffer;
        for (int nAt = 0; nAt < reply.size(); nAt += nChunk)
        {
            baBuffer.append(reply.mid(nAt, nChunk));
            reception.update(baBuffer);
            const imageHeader_t header = parseImageHeader(baBuffer);
            QCOMPARE(reception.header().bComplete, header.bComplete);
            if (header.bComplete)
            {
                QCOMPARE(reception.header().strHeader, header.strHeader);
                QCOMPARE(reception.header().nPayloadOffset, header.nPayloadOffset);
                QCOMPARE(reception.payloadSize(), qint64(baBuffer.size() - header.nPayloadOffset));
                QCOMPARE(reception.payloadSum(), payloadChecksum(baBuffer.mid(header.nPayloadOffset)));
            }
        }
    }
}

void tst_imageReader::consecutivePicturesWithTheSameHeaderAreEachRead()
{
    // Two pictures of the same size and the same checksum: what was counted of the first must not leak
    // into the second.
    const QByteArray baFirst = pixels(20 * 10, 4);
    QByteArray baSecond = baFirst;
    std::reverse(baSecond.begin(), baSecond.end());
    sensorSimulator_c sim;
    QVERIFY(sim.setImage(20, 10, baFirst));
    sim.setStrangerFinger();
    sim.setChunkSize(7);
    QVERIFY(sim.open());
    vindal01mainWindow_c window;
    vindal01mainWindowTester_c tester(window);
    tester.portChanged(sim.slavePath());
    QTRY_COMPARE(window.command(), command_t::LedOn);
    tester.modeSelected(int(sensor_n::mode_t::Test));

    auto shows = [&tester](const QByteArray& p_baPixels)
    {
        const QImage image = tester.lblImage()->pixmap(Qt::ReturnByValue).toImage();
        if (image.size() != QSize(20, 10))
        {
            return false;
        }
        for (int i = 0; i < p_baPixels.size(); ++i)
        {
            if (qRed(image.pixel(i % 20, 9 - i / 20)) != quint8(p_baPixels.at(i)))
            {
                return false;
            }
        }
        return true;
    };
    QTRY_VERIFY(shows(baFirst));
    QVERIFY(sim.setImage(20, 10, baSecond));
    QTRY_VERIFY(shows(baSecond));
    QVERIFY(!window.statusBar()->currentMessage().startsWith(QStringLiteral("Prüfsumme")));
}

QTEST_MAIN(tst_imageReader)
#include "tst_imageReader.moc"
