// Gives tests, benchmarks and the screenshot tool a hand on the main window's private slots and widgets.
#pragma once

#include "sensorSimulator.h"
#include "serialPort/loggingSerialPort.h"
#include "ui/images.h"
#include "ui/vindal01mainWindow.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTextBrowser>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

#include <algorithm>

class vindal01mainWindowTester_c
{
public:
    using command_t = sensor_n::command_t;
    using state_t = sensor_n::state_t;

    explicit vindal01mainWindowTester_c(vindal01mainWindow_c& p_window) : m_window(p_window) {}

    void setState(state_t p_nState) { m_window.slotSetState(p_nState); }
    void portChanged(const QString& p_strPort) { m_window.slotPortChanged(p_strPort); }
    void modeSelected(int p_nMode) { m_window.slotModeSelected(p_nMode); }
    void abortCommand() { m_window.slotAbortSerialCommand(); }
    void watchdog() { m_window.slotWatchdog(); }
    QAction* watchdogAction() const { return m_window.m_pActWatchdog; }
    // Writes as the window's own commands do: behind whatever waits for a quiet line.
    void write(const QByteArray& p_baBytes) { m_window.writeOrHold(p_baBytes); }
    void enableLogging(bool p_bOn)
    {
        m_window.m_pActSerialLogging->setChecked(p_bOn);
        m_window.slotDebugEnableSerialLogging();
    }
    void setSecurityLevel(int p_nLevel) { m_window.m_nSecurityLevel = p_nLevel; }
    void setCommand(command_t p_nCommand) { m_window.m_nCommand = p_nCommand; }
    void setMode(sensor_n::mode_t p_nMode) { m_window.m_nMode = p_nMode; }
    void setRegCount(int p_nCount) { m_window.m_nRegCount = p_nCount; }
    void feed(const QByteArray& p_baBytes)
    {
        m_window.m_baReceived.append(p_baBytes);
        m_window.processData();
    }
    // The window as it was constructed, without a port (or with the open one kept, which spares opening it
    // anew): so that one window can serve many runs (the fuzzer) as if each had a window of its own. Timers
    // and waits still pending find a new dialogue step and end.
    void backToStart(bool p_bKeepPort = false)
    {
        vindal01mainWindow_c& w = m_window;
        w.dropHeldWrites();
        if (!p_bKeepPort || w.m_pSerialPort == nullptr || !w.m_pSerialPort->isOpen())
        {
            delete w.m_pSerialPort;
            w.m_pSerialPort = nullptr;
        }
        for (QTimer* pTimer : {w.m_pWatchdogTimer, w.m_pIdleTimer, w.m_pQuietTimer, w.m_pLateAnswerTimer})
            if (pTimer != nullptr)
                pTimer->stop();
        w.m_pActSerialLogging->setChecked(false);
        w.m_pActWatchdog->setChecked(false);
        w.m_nMode = sensor_n::mode_t::Info;
        w.m_nState = state_t::Initial;
        w.m_vecPrevStates.clear();
        w.m_nCommand = command_t::NoCommand;
        w.m_mapCommandParams.clear();
        w.m_nRegCount = 0;
        w.m_lstRegList.clear();
        ++w.m_nDialogueStep;
        w.m_nChainLeftAt = w.m_nDialogueStep;
        w.m_bReplyAwaited = false;
        w.clearReplyBuffer();
        w.m_vecLateAnswers.clear();
        w.m_nOnWire = command_t::NoCommand;
        w.m_bOnWireAnswered = true;
        w.m_nSecurityLevel = 0;
        w.m_nDeletePid = 0;
        w.m_baFingerFlags.clear();
        w.m_nFlagsPid = -1;
        w.m_nMatchCycles = 0;
        std::fill(std::begin(w.m_anMatchCount), std::end(w.m_anMatchCount), 0);
        w.clearDeviceInfo();
        w.showDeviceInfo();
        w.m_sessionRecord = sessionRecord_c();
        for (QLineEdit* pEdit : {w.m_pLeEnrollPid, w.m_pLeEnrollFid, w.m_pLeEnrollGroup, w.m_pLeDeletePid,
                                 w.m_pLeDeleteFid, w.m_pLeMatchIdPid})
        {
            const bool bBlocked = pEdit->blockSignals(true);
            pEdit->setText(pEdit == w.m_pLeEnrollGroup ? QStringLiteral("1") : QString());
            pEdit->blockSignals(bBlocked);
        }
        for (humanHandWidget_c* pHand : {w.m_pEnrollHandLeft, w.m_pEnrollHandRight, w.m_pTrainHandLeft,
                                         w.m_pTrainHandRight, w.m_pDeleteHandLeft, w.m_pDeleteHandRight})
        {
            pHand->slotClearHilight();
            for (int nFinger = 0; nFinger < humanHandWidget_c::fingerCount; ++nFinger)
                pHand->setFingerColor(humanHandWidget_c::finger_t(nFinger), Qt::gray);
        }
        w.m_pTreeTemplates->clear();
        w.m_pLblImage->clear();
        w.m_pLblTrainPid->clear();
        w.m_pLblTrainFinger->clear();
        w.m_pMatchIdStatistics->clear();
        w.m_pUnexpectedResponses->clear();
        w.m_pSerialCommands->clear();
        w.statusBar()->clearMessage();
        if (w.m_pSerialPort == nullptr)
            w.showPortLamp(images_n::lampYellow(), QString());
        w.m_pPageStack->setCurrentIndex(w.m_anPageIndex[0]);
        if (auto* pInfo = w.findChild<QToolButton*>(QStringLiteral("modeButton0")))
            pInfo->setChecked(true);
        w.updateControls();
    }
    void startComServer(const QString& p_strIpcDev, const QString& p_strDevOnIpc)
    {
        m_window.slotStartComServer(p_strIpcDev, p_strDevOnIpc);
    }
    void startComServerManual() { m_window.slotStartComServer(); }
    void autoStartComServer() { m_window.slotAutoStartComServer(); }
    void stopComServer() { m_window.slotStopComServer(); }

    QLabel* lblFirmware() const { return m_window.m_pLblFirmware; }
    QLabel* lblBuildDate() const { return m_window.m_pLblBuildDate; }
    QLabel* lblBuildTime() const { return m_window.m_pLblBuildTime; }
    QLabel* lblCapacity() const { return m_window.m_pLblCapacity; }
    QLabel* lblImage() const { return m_window.m_pLblImage; }
    QLabel* lblTrainPid() const { return m_window.m_pLblTrainPid; }
    QLabel* lblTrainFinger() const { return m_window.m_pLblTrainFinger; }
    QTreeWidget* treeTemplates() const { return m_window.m_pTreeTemplates; }
    QStackedWidget* pageStack() const { return m_window.m_pPageStack; }
    int pageIndex(int p_nMode) const { return m_window.m_anPageIndex[p_nMode]; }
    QLineEdit* leEnrollPid() const { return m_window.m_pLeEnrollPid; }
    QLineEdit* leEnrollFid() const { return m_window.m_pLeEnrollFid; }
    QLineEdit* leEnrollGroup() const { return m_window.m_pLeEnrollGroup; }
    QPushButton* btnEnrollStart() const { return m_window.m_pBtnEnrollStart; }
    humanHandWidget_c* enrollHand(int p_nHand) const
    {
        return p_nHand == 0 ? m_window.m_pEnrollHandLeft : m_window.m_pEnrollHandRight;
    }
    humanHandWidget_c* trainHand(int p_nHand) const
    {
        return p_nHand == 0 ? m_window.m_pTrainHandLeft : m_window.m_pTrainHandRight;
    }
    humanHandWidget_c* deleteHand(int p_nHand) const
    {
        return p_nHand == 0 ? m_window.m_pDeleteHandLeft : m_window.m_pDeleteHandRight;
    }
    QLineEdit* leDeletePid() const { return m_window.m_pLeDeletePid; }
    QLineEdit* leDeleteFid() const { return m_window.m_pLeDeleteFid; }
    QPushButton* btnDeleteSingle() const { return m_window.m_pBtnDeleteSingle; }
    QPushButton* btnDeletePerson() const { return m_window.m_pBtnDeletePerson; }
    QPushButton* btnDeleteAll() const { return m_window.m_pBtnDeleteAll; }
    QLineEdit* leMatchIdPid() const { return m_window.m_pLeMatchIdPid; }
    QTextBrowser* matchIdStatistics() const { return m_window.m_pMatchIdStatistics; }
    const QByteArray& fingerFlags() const { return m_window.m_baFingerFlags; }

    // The middle of each finger's body on the hand picture, left to right (so in finger id order).
    static QList<QPoint> fingerPoints(humanHandWidget_c* p_pHand)
    {
        QList<QPoint> lstPoints;
        for (const auto& shape : humanHandWidget_c::fingerLayout(p_pHand->hand(), p_pHand->size()))
            lstPoints << shape.rectBody.center();
        std::sort(lstPoints.begin(), lstPoints.end(),
                  [](const QPoint& a, const QPoint& b) { return a.x() < b.x(); });
        return lstPoints;
    }

private:
    vindal01mainWindow_c& m_window;
};
