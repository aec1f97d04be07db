#include "serialPort/setupDialog.h"

#include "serialPort/portList.h"
#include "serialPort/portSpecificationText.h"
#include "serialPort/updateIcon.h"
#include "toolsGui/comboTools.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>

namespace serialPort_n
{

namespace
{

// The entries carry the tokens as data, so specifications are read and written by copying data.
void fillTokens(QComboBox* p_pCombo, const QVector<portToken_c>& p_vecTokens)
{
    for (const portToken_c& token : p_vecTokens)
        p_pCombo->addItem(QString::fromLatin1(token.m_pDialogText), QString::fromLatin1(token.m_pToken));
}

QString currentToken(const QComboBox* p_pCombo)
{
    if (p_pCombo->currentIndex() < 0)
        return QString();
    return p_pCombo->currentData(Qt::UserRole).toString();
}

} // namespace

setupDialog_c::setupDialog_c(QWidget* parent) : QDialog(parent)
{
    QGridLayout* pLayout = new QGridLayout(this);

    m_pPortCombo = new QComboBox(this);
    m_pUpdateButton = new QToolButton(this);
    m_pUpdateButton->setToolTip(tr("Update serial port list"));
    m_pUpdateButton->setIcon(updateIcon());
    pLayout->addWidget(new QLabel(tr("Port"), this), 0, 0);
    pLayout->addWidget(m_pPortCombo, 0, 1);
    pLayout->addWidget(m_pUpdateButton, 0, 2);
    connect(m_pUpdateButton, &QToolButton::clicked, this, &setupDialog_c::slotUpdatePorts);

    m_pBaudRateCombo = new QComboBox(this);
    m_pDataBitsCombo = new QComboBox(this);
    m_pParityCombo = new QComboBox(this);
    m_pStopBitsCombo = new QComboBox(this);
    m_pFlowControlCombo = new QComboBox(this);
    const QList<QPair<QString, QComboBox*>> lstRows = {
        {tr("Baudrate"), m_pBaudRateCombo},
        {tr("Data Bits"), m_pDataBitsCombo},
        {tr("Parity"), m_pParityCombo},
        {tr("Stop Bits"), m_pStopBitsCombo},
        {tr("Flow Control"), m_pFlowControlCombo},
    };
    int nRow = 1;
    for (const auto& row : lstRows)
    {
        pLayout->addWidget(new QLabel(row.first, this), nRow, 0);
        pLayout->addWidget(row.second, nRow, 1);
        ++nRow;
    }

    QHBoxLayout* pButtons = new QHBoxLayout();
    QPushButton* pAccept = new QPushButton(tr("Accept"), this);
    QPushButton* pReject = new QPushButton(tr("Reject"), this);
    pButtons->addStretch();
    pButtons->addWidget(pAccept);
    pButtons->addWidget(pReject);
    pLayout->addLayout(pButtons, nRow, 0, 1, 3);
    connect(pAccept, &QPushButton::clicked, this, &QDialog::accept);
    connect(pReject, &QPushButton::clicked, this, &QDialog::reject);

    pLayout->setColumnStretch(1, 1);

    slotUpdatePorts();
    fillTokens(m_pBaudRateCombo, baudRateTokens());
    fillTokens(m_pDataBitsCombo, dataBitsTokens());
    fillTokens(m_pParityCombo, parityTokens());
    fillTokens(m_pStopBitsCombo, stopBitsTokens());
    fillTokens(m_pFlowControlCombo, flowControlTokens());
}

QString setupDialog_c::specification() const
{
    return joinPortSpecification(currentToken(m_pPortCombo),
                                 {currentToken(m_pBaudRateCombo), currentToken(m_pDataBitsCombo),
                                  currentToken(m_pParityCombo), currentToken(m_pStopBitsCombo),
                                  currentToken(m_pFlowControlCombo)});
}

void setupDialog_c::setSpecification(const QString& p_strSpec)
{
    QString strPort;
    QStringList lstFields;
    if (!splitPortSpecification(p_strSpec, &strPort, &lstFields))
    {
        reportIllegalPortSpecification(p_strSpec);
        return;
    }
    toolsGui_n::selectComboItemByData(m_pPortCombo, strPort);
    toolsGui_n::selectComboItemByData(m_pBaudRateCombo, lstFields.at(0));
    toolsGui_n::selectComboItemByData(m_pDataBitsCombo, lstFields.at(1));
    toolsGui_n::selectComboItemByData(m_pParityCombo, lstFields.at(2));
    toolsGui_n::selectComboItemByData(m_pStopBitsCombo, lstFields.at(3));
    toolsGui_n::selectComboItemByData(m_pFlowControlCombo, lstFields.at(4));
}

void setupDialog_c::slotUpdatePorts()
{
    const QString strPort = currentToken(m_pPortCombo);
    m_pPortCombo->clear();
    for (const portRecord_c& port : availablePortRecords())
        m_pPortCombo->addItem(portEntryText(port), port.m_strName);
    // A port that has gone stays unchosen rather than silently becoming another one.
    if (strPort.isEmpty() || !toolsGui_n::selectComboItemByData(m_pPortCombo, strPort))
        m_pPortCombo->setCurrentIndex(-1);
}

} // namespace serialPort_n
