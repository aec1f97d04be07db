// A dialog in which the user chooses a serial port and its line settings as a port specification.

#pragma once

#include <QDialog>

class QComboBox;
class QToolButton;

namespace serialPort_n
{

class setupDialog_c : public QDialog
{
    Q_OBJECT

public:
    explicit setupDialog_c(QWidget* parent = nullptr);

    // The current entries as "<port>;<baudrate> <databits> <parity> <stopbits> <flowcontrol>"; a combo
    // box without a current entry contributes an empty text.
    QString specification() const;
    // Selects the entries of a port specification; entries that match nothing stay as they are. A
    // port specification of the wrong shape changes nothing and writes a diagnostic line.
    void setSpecification(const QString& p_strSpec);

private slots:
    void slotUpdatePorts();

private:
    QComboBox* m_pPortCombo = nullptr;
    QComboBox* m_pBaudRateCombo = nullptr;
    QComboBox* m_pDataBitsCombo = nullptr;
    QComboBox* m_pParityCombo = nullptr;
    QComboBox* m_pStopBitsCombo = nullptr;
    QComboBox* m_pFlowControlCombo = nullptr;
    QToolButton* m_pUpdateButton = nullptr;
};

} // namespace serialPort_n
