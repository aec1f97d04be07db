// A compact serial port chooser: a combo box of the system's ports and a button that re-reads them.

#pragma once

#include <QWidget>

class QComboBox;
class QToolButton;

namespace serialPort_n
{

class selector_c : public QWidget
{
    Q_OBJECT

public:
    explicit selector_c(QWidget* parent = nullptr);

    // The data of the last entry, which re-reads the list when chosen.
    static QString updateMarker();

    // The current entry's port name, the update marker while the last entry is current, or empty.
    QString port() const;
    // Makes the first entry with this port name current; no signal, no change for an unknown name.
    void setPort(const QString& p_strPort);
    void setUpdateButtonVisible(bool p_bVisible);

signals:
    // The user chose a port entry (also the one that was already current).
    void portChanged(QString p_strPort);

private slots:
    void slotUpdatePorts();
    void slotPortChanged();

private:
    QComboBox* m_pCombo = nullptr;
    QToolButton* m_pUpdateButton = nullptr;
};

} // namespace serialPort_n
