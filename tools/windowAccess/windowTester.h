// Gives tests, benchmarks and the screenshot tool a hand on the main window's private slots and widgets.
#pragma once

#include "sensorSimulator.h"
#include "ui/vindal01mainWindow.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTextBrowser>
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
