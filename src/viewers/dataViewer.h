// Shows one block of bytes as a hex dump and as text on two tabs, and saves it to a file.
#pragma once

#include <QWidget>

#ifdef VINDAL_HAVE_QHEXEDIT2
#include <qhexedit.h>
#else
#include "viewers/hexView.h"
#endif

class QPlainTextEdit;
class QTabWidget;

class dataViewer_c : public QWidget
{
    Q_OBJECT

public:
#ifdef VINDAL_HAVE_QHEXEDIT2
    using hexWidget_t = QHexEdit;
#else
    using hexWidget_t = hexView_c;
#endif

    explicit dataViewer_c(QWidget* parent = nullptr);

    // Shows a new block in both views; the current tab stays.
    void setData(const QByteArray& p_baData);
    // The text tab when every byte is printable or white space, otherwise the hex tab.
    void selectBestView();
    // Writes the shown block to the file, all or nothing; a failure is shown in a warning box.
    bool saveToFile(const QString& p_strFn);
    // What the text tab shows for the current block.
    QString text();

    // Bytes that are neither printable nor white space in the C locale.
    static int countNonPrintable(const QByteArray& p_baData);

private slots:
    void slotSave();

private:
    void updateText();

    QTabWidget* m_pTabWidget = nullptr;
    QPlainTextEdit* m_pTextView = nullptr;
    hexWidget_t* m_pHexView = nullptr;
    int m_nTabText = -1;
    int m_nTabHex = -1;
    // The text view still shows an earlier block; it is brought up to date when the text tab is shown.
    bool m_bTextStale = false;
};
