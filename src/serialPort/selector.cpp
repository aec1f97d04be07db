#include "serialPort/selector.h"

#include "serialPort/portList.h"
#include "serialPort/updateIcon.h"
#include "toolsGui/comboTools.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QHBoxLayout>
#include <QScrollBar>
#include <QToolButton>

namespace serialPort_n
{

selector_c::selector_c(QWidget* parent) : QWidget(parent)
{
    QHBoxLayout* pLayout = new QHBoxLayout(this);
    m_pCombo = new QComboBox(this);
    m_pUpdateButton = new QToolButton(this);
    pLayout->addWidget(m_pCombo);
    pLayout->addWidget(m_pUpdateButton);

    m_pUpdateButton->setToolTip(tr("Update serial port list"));
    m_pUpdateButton->setIcon(updateIcon());

    connect(m_pUpdateButton, &QToolButton::clicked, this, &selector_c::slotUpdatePorts);
    // activated() comes only from the user's choices, never from filling the list.
    connect(m_pCombo, QOverload<int>::of(&QComboBox::activated), this, &selector_c::slotPortChanged);
    // The tool bar keeps the selector narrow, which cuts an adapter's description: the tool tip
    // carries the whole chosen entry.
    connect(m_pCombo, QOverload<int>::of(&QComboBox::currentIndexChanged), m_pCombo,
            [this]() { m_pCombo->setToolTip(m_pCombo->currentText()); });

    slotUpdatePorts();
}

QString selector_c::updateMarker()
{
    return QStringLiteral("--update--");
}

QString selector_c::port() const
{
    if (m_pCombo->currentIndex() < 0)
        return QString();
    return m_pCombo->currentData(Qt::UserRole).toString();
}

void selector_c::setPort(const QString& p_strPort)
{
    toolsGui_n::selectComboItemByData(m_pCombo, p_strPort);
}

void selector_c::setUpdateButtonVisible(bool p_bVisible)
{
    m_pUpdateButton->setVisible(p_bVisible);
}

void selector_c::slotUpdatePorts()
{
    // Refreshing the list must never look like a port change to the window that uses the selector.
    const bool bWasBlocked = blockSignals(true);
    QString strPort = port();
    if (strPort == updateMarker())
        strPort.clear();

    m_pCombo->clear();
    for (const portRecord_c& port : availablePortRecords())
        m_pCombo->addItem(portEntryText(port), port.m_strName);
    m_pCombo->addItem(tr("Update serial port list"), updateMarker());
    // The open list may be wider than the box, so every entry can be read in full there.
    m_pCombo->view()->setMinimumWidth(m_pCombo->view()->sizeHintForColumn(0) +
                                      m_pCombo->view()->verticalScrollBar()->sizeHint().width());

    setPort(strPort);
    blockSignals(bWasBlocked);
}

void selector_c::slotPortChanged()
{
    const QString strPort = port();
    if (strPort == updateMarker())
    {
        slotUpdatePorts();
        return;
    }
    emit portChanged(strPort);
}

} // namespace serialPort_n
