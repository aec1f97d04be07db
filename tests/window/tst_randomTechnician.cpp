// A technician who does not wait (randomTechnician.h) works on the window against the module in real
// timing. Once the sequence is over and the line quiet, the page left must be usable as it is, the
// information query must fill its page, and no command may have overtaken the one before it; every third
// sequence runs against a module that answers late after an abort. A failure prints its seed and the actions.
// VINDAL_TECHNICIAN="<count>[:<first seed>]" runs a long series (default 8 sequences from seed 1).
#include "randomTechnician.h"
#include "windowFixture.h"

using namespace sensor_n;
using opMode_t = sensor_n::mode_t;

namespace
{
fifoInputDevice_c* g_pMouse = nullptr;
fifoInputDevice_c* g_pKeyboard = nullptr;
} // namespace

class tst_randomTechnician : public QObject
{
    Q_OBJECT
    windowFixture_c f;
    std::unique_ptr<randomTechnician_c> m_pTechnician;

    vindal01mainWindowTester_c t() const { return f.t(); }

    // The enrolment or delete page at rest shows the module's fingers of the person in its field (the
    // finger chosen white), and a finger chosen enables what may be done with it: an enrolment goes
    // through, or the delete buttons follow the module's fingers.
    void checkPageAtRest(randomTechnician_c& p_technician)
    {
        const bool bEnroll = f.window->mode() == opMode_t::Enroll;
        QLineEdit* pPid = bEnroll ? t().leEnrollPid() : t().leDeletePid();
        QTRY_VERIFY_WITH_TIMEOUT(!f.window->chainRunning(), 20000);
        if (pPid->text().isEmpty() && p_technician.click(pPid))
            p_technician.typeNumber(1 + p_technician.pick(12));
        QTRY_VERIFY_WITH_TIMEOUT(!pPid->text().isEmpty() && !f.window->chainRunning(), 20000);
        const int nPid = pPid->text().toInt();
        QByteArray baStored(10, '0');
        for (int nFid = 0; nFid < 10; ++nFid)
            baStored[nFid] = f.sim->hasTemplate(nPid, nFid) ? '1' : '0';
        humanHandWidget_c* apHands[] = {bEnroll ? t().enrollHand(0) : t().deleteHand(0),
                                        bEnroll ? t().enrollHand(1) : t().deleteHand(1)};
        const QByteArray baShown = f.colours(apHands[0], apHands[1]);
        for (int nFid = 0; nFid < 10; ++nFid)
            QVERIFY2(baShown.at(nFid) == 'w' || baShown.at(nFid) == baStored.at(nFid),
                     baShown + " for " + baStored);
        const int nFid = bEnroll ? baStored.indexOf('0', p_technician.pick(10)) : p_technician.pick(10);
        if (nFid < 0 || !p_technician.clickFinger(apHands[nFid / 5], nFid))
            return;
        QTRY_COMPARE((bEnroll ? t().leEnrollFid() : t().leDeleteFid())->text(), QString::number(nFid));
        if (!bEnroll)
        {
            QCOMPARE(QVector<bool>({t().btnDeleteAll()->isEnabled(), t().btnDeletePerson()->isEnabled(),
                                    t().btnDeleteSingle()->isEnabled()}),
                     QVector<bool>({true, baStored.contains('1'), baStored.at(nFid) == '1'}));
            return;
        }
        f.sim->setStrangerFinger();
        QVERIFY(t().btnEnrollStart()->isEnabled() && p_technician.click(t().btnEnrollStart()));
        QTRY_VERIFY_WITH_TIMEOUT(f.sim->hasTemplate(nPid, nFid), 15000);
        QTRY_COMPARE(f.window->statusBar()->currentMessage(), QStringLiteral("Mit Qualität 85% eingelernt."));
    }

private slots:
    void initTestCase() { QVERIFY(fakeUdev_n::isActive()); }
    void cleanup()
    {
        if (QTest::currentTestFailed() && m_pTechnician)
            qWarning().noquote() << "To replay: VINDAL_TECHNICIAN=1:" +
                                        QString(QTest::currentDataTag()).mid(5)
                                 << "\nActions:" << m_pTechnician->log().join(QStringLiteral("; "));
        if (m_pTechnician)
            m_pTechnician->finish();
        m_pTechnician.reset();
        f.stop();
        fakeUdev_n::clearPorts();
    }

    void sequence_data()
    {
        QTest::addColumn<quint32>("seed");
        const QList<QByteArray> lstRun = qgetenv("VINDAL_TECHNICIAN").split(':');
        const quint32 nCount = lstRun.value(0).isEmpty() ? 8 : lstRun.value(0).toUInt();
        const quint32 nFirst = lstRun.value(1).isEmpty() ? 1 : lstRun.value(1).toUInt();
        for (quint32 nSeed = nFirst; nSeed < nFirst + nCount; ++nSeed)
            QTest::addRow("seed %u", nSeed) << nSeed;
    }
    void sequence()
    {
        QFETCH(quint32, seed);
        if (!g_pMouse->isOpen() || !g_pKeyboard->isOpen())
            QSKIP("No FIFO input devices under /dev/shm");
        f.start(false);
        f.sim->setRealTiming(true);
        f.sim->setScanDelay(20);
        f.sim->setSearchDelay(150);
        f.sim->setMatchDelay(150);
        f.sim->setPlacementDelay(200);
        // Every third sequence against a module that finishes what it was aborted in and answers late.
        if (seed % 3 == 0)
            f.sim->setLateAnswer(100 + int(seed * 37 % 200));
        m_pTechnician.reset(new randomTechnician_c(*f.window, *f.sim, *g_pMouse, *g_pKeyboard, seed));
        randomTechnician_c& technician = *m_pTechnician;
        for (int n = 0; n < 12; ++n)
            f.sim->addTemplate(1 + technician.pick(12), technician.pick(10));
        fakeUdev_n::setPorts({fakeUdev_n::portEntry(f.sim->slavePath(), "0403", "6001")});
        f.show();
        f.openOnSimulator();
        for (int n = 0; n < 25; ++n)
            technician.act();

        QVERIFY(technician.finish());
        if (f.window->mode() == opMode_t::Enroll || f.window->mode() == opMode_t::Delete)
            checkPageAtRest(technician);
        QVERIFY(technician.chooseMode(opMode_t::Info));
        QTRY_VERIFY_WITH_TIMEOUT(!f.window->chainRunning() && f.window->state() == state_t::QueryDevice,
                                 20000);
        QVERIFY(f.window->stateStack().isEmpty());
        QCOMPARE(QStringList({t().lblFirmware()->text(), t().lblBuildDate()->text(),
                              t().lblBuildTime()->text(), t().lblCapacity()->text()}),
                 QStringList({f.sim->firmware(), f.sim->buildDate(), f.sim->buildTime(),
                              QStringLiteral("%1 / %2").arg(f.sim->templateCount()).arg(f.sim->capacity())}));
        QCOMPARE(f.sim->overtakingCommands(), QByteArrayList());
        // The record tells no more than the module said: an enrolment it calls done, the module confirmed;
        // it counts no identification the module did not answer.
        const QByteArray baSent = f.sim->sent();
        for (const sessionRecord_c::operation_s& op : f.window->sessionRecord().operations())
            QVERIFY2(op.nKind != sessionRecord_c::opEnrolment || !op.bOk ||
                         baSent.contains(QStringLiteral("=OK Enroll ID=%1 Group=1 BKNum=%2 ")
                                             .arg(op.nPid)
                                             .arg(op.nFid)
                                             .toLatin1()),
                     qPrintable(QStringLiteral("enrolment %1/%2").arg(op.nPid).arg(op.nFid)));
        QVERIFY(f.window->sessionRecord().identifications().nCount <=
                baSent.count("=OK Search") + baSent.count("=NO Search"));
    }
};

// The input devices must exist before the application object, which loads the input plugins.
int main(int argc, char* argv[])
{
    fifoInputDevice_c mouse("mouse", ":nocompress");
    fifoInputDevice_c keyboard("keyboard");
    g_pMouse = &mouse;
    g_pKeyboard = &keyboard;
    // QtTest's watchdog may miss the end of one sequence under load and then counts a long series as one.
    if (qEnvironmentVariableIsSet("VINDAL_TECHNICIAN") &&
        !qEnvironmentVariableIsSet("QTEST_FUNCTION_TIMEOUT"))
        qputenv("QTEST_FUNCTION_TIMEOUT", "86400000");
    QApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    tst_randomTechnician test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_randomTechnician.moc"
