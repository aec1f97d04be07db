#include "serialPort/loggingSerialPort.h"
#include "ui/vindal01mainWindow.h"

#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

using namespace sensor_n;

bool vindal01mainWindow_c::portOpen() const
{
    return m_pSerialPort != nullptr && m_pSerialPort->isOpen();
}

bool vindal01mainWindow_c::chainRunning() const
{
    return !m_vecPrevStates.isEmpty() || m_bReplyAwaited;
}

bool vindal01mainWindow_c::enrolmentRunning() const
{
    return m_nState == state_t::SubEnroll ||
           std::any_of(m_vecPrevStates.cbegin(), m_vecPrevStates.cend(),
                       [](const prevState_t& p_prev)
                       { return p_prev.nState == static_cast<qint32>(state_t::SubEnroll); });
}

bool vindal01mainWindow_c::deletionRunning() const
{
    return m_nState == state_t::SubDelPersonFingers ||
           (m_bReplyAwaited && (m_nCommand == command_t::RegDel || m_nCommand == command_t::RegClear));
}

void vindal01mainWindow_c::updateControls()
{
    // A button that starts a chain may be pressed only on its own page at rest, with the module at hand:
    // a second chain started inside a running one (a double click, a click during the finger list)
    // would take the replies of the first.
    const bool bAtRest = portOpen() && !chainRunning();
    const bool bEnrollAtRest = bAtRest && m_nMode == mode_t::Enroll && m_nState == state_t::Enroll;
    const bool bDeleteAtRest = bAtRest && m_nMode == mode_t::Delete && m_nState == state_t::Delete;
    m_pBtnEnrollStart->setEnabled(bEnrollAtRest && !m_pLeEnrollPid->text().trimmed().isEmpty() &&
                                  !m_pLeEnrollFid->text().trimmed().isEmpty());

    // The delete buttons follow the finger list of the person shown, read on this visit of the page.
    bool bFidIsNumber = false;
    const int nFid = m_pLeDeleteFid->text().toInt(&bFidIsNumber);
    const bool bListFresh =
        m_nFlagsPid >= 0 && m_nFlagsPid == m_pLeDeletePid->text().toInt() && m_baFingerFlags.size() == 10;
    m_pBtnDeleteAll->setEnabled(bDeleteAtRest);
    m_pBtnDeletePerson->setEnabled(bDeleteAtRest && bListFresh && m_baFingerFlags.count('0') < 10);
    m_pBtnDeleteSingle->setEnabled(bDeleteAtRest && bListFresh && bFidIsNumber &&
                                   humanHandWidget_c::isFingerId(nFid) && m_baFingerFlags.at(nFid) != '0');
    // A deletion the technician confirmed goes to its end for the person it was confirmed for.
    m_pLeDeletePid->setEnabled(!deletionRunning());
}
