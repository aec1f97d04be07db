#include "viewers/dataViewer.h"

#include <QDebug>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QTabWidget>
#include <QVBoxLayout>

dataViewer_c::dataViewer_c(QWidget* parent) : QWidget(parent)
{
    auto* pLayout = new QVBoxLayout(this);
    m_pTabWidget = new QTabWidget(this);
    pLayout->addWidget(m_pTabWidget);

    m_pHexView = new hexWidget_t(m_pTabWidget);
    m_pHexView->setReadOnly(true);
    m_pTextView = new QPlainTextEdit(m_pTabWidget);
    m_pTextView->setReadOnly(true);

    m_nTabHex = m_pTabWidget->addTab(m_pHexView, tr("Hex-Viewer"));
    m_nTabText = m_pTabWidget->addTab(m_pTextView, tr("Text"));

    resize(108 * fontMetrics().horizontalAdvance(QLatin1Char('0')), 480);

    auto* pButtons = new QHBoxLayout();
    pButtons->addStretch();
    auto* pSave = new QPushButton(tr("Save"), this);
    pButtons->addWidget(pSave);
    pLayout->addLayout(pButtons);
    connect(pSave, &QPushButton::clicked, this, &dataViewer_c::slotSave);
    connect(m_pTabWidget, &QTabWidget::currentChanged, this,
            [this](int p_nIndex)
            {
                if (p_nIndex == m_nTabText)
                    updateText();
            });
}

void dataViewer_c::setData(const QByteArray& p_baData)
{
    m_pHexView->setData(p_baData);
    // Laying out megabytes of text takes seconds, so the text view is filled only when it is shown.
    // Even with the text tab current the filling waits for the event loop: a caller that goes on
    // to choose the tab (selectBestView) may switch to the hex tab first.
    m_bTextStale = true;
    if (m_pTabWidget->currentIndex() == m_nTabText)
        QMetaObject::invokeMethod(
            this,
            [this]()
            {
                if (m_pTabWidget->currentIndex() == m_nTabText)
                    updateText();
            },
            Qt::QueuedConnection);
}

void dataViewer_c::updateText()
{
    if (!m_bTextStale)
        return;
    m_bTextStale = false;
    // The text stops at the first zero byte; what follows is visible on the hex tab only.
    const QByteArray baData = m_pHexView->data();
    const int nZero = baData.indexOf('\0');
    m_pTextView->setPlainText(QString::fromUtf8(baData.constData(), nZero < 0 ? baData.size() : nZero));
}

QString dataViewer_c::text()
{
    updateText();
    return m_pTextView->toPlainText();
}

int dataViewer_c::countNonPrintable(const QByteArray& p_baData)
{
    int nCount = 0;
    for (const char ch : p_baData)
    {
        const uchar uch = uchar(ch);
        const bool bPrintable = uch >= 0x20 && uch <= 0x7e;
        const bool bSpace = uch >= 0x09 && uch <= 0x0d;
        if (!bPrintable && !bSpace)
            ++nCount;
    }
    return nCount;
}

void dataViewer_c::selectBestView()
{
    const QByteArray baData = m_pHexView->data();
    const int nNonPrintable = countNonPrintable(baData);
    qDebug() << "#NonPrintable:" << nNonPrintable << "of" << baData.size();
    m_pTabWidget->setCurrentIndex(nNonPrintable > 0 ? m_nTabHex : m_nTabText);
}

void dataViewer_c::slotSave()
{
    const QString strFn =
        QFileDialog::getSaveFileName(this, tr("Save content to"), QString(), tr("All files (*.*)"));
    if (strFn.isEmpty())
        return;
    saveToFile(strFn);
}

bool dataViewer_c::saveToFile(const QString& p_strFn)
{
    // Written to a temporary file beside the target and renamed at the end: a failed write
    // leaves neither a truncated file nor a damaged earlier one.
    QSaveFile file(p_strFn);
    QString strReason;
    if (file.open(QIODevice::WriteOnly))
    {
        const QByteArray baData = m_pHexView->data();
        if (file.write(baData) == baData.size() && file.commit())
            return true;
        strReason = file.errorString();
        file.cancelWriting();
    }
    else
    {
        strReason = file.errorString();
    }
    QMessageBox::warning(this, tr("File creation error"),
                         tr("Failed to create save file\n%1.").arg(p_strFn) + QStringLiteral("\n\n") +
                             strReason,
                         QMessageBox::Ok);
    return false;
}
