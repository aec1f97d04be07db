#include "ui/diagnosticText.h"

#include <QPlainTextEdit>
#include <QPointer>
#include <QStringList>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>

namespace
{
// Late enough that the flush rarely falls between a reply and the command that answers it, soon enough
// that a technician watching sees every line at once.
constexpr int flushDelayMs = 20;

// The lines waiting for an edit's next append; a child of the edit, so it goes with it.
class pendingLines_c : public QObject
{
public:
    explicit pendingLines_c(QPlainTextEdit* p_pEdit) : QObject(p_pEdit), m_pEdit(p_pEdit)
    {
        setObjectName(QStringLiteral("diagnosticText_n::pendingLines"));
    }

    void add(const QString& p_strText)
    {
        if (m_lstLines.isEmpty())
        {
            QTimer::singleShot(flushDelayMs, this, [this] { flush(); });
        }
        m_lstLines.append(p_strText);
        // Lines beyond what the window keeps would be dropped at once.
        const int nMaximum = m_pEdit->document()->maximumBlockCount();
        if (nMaximum > 0 && m_lstLines.size() > nMaximum)
        {
            m_lstLines.erase(m_lstLines.begin(), m_lstLines.begin() + (m_lstLines.size() - nMaximum));
        }
    }

private:
    void flush()
    {
        if (m_lstLines.isEmpty())
        {
            return;
        }
        const QString strText = m_lstLines.join(QLatin1Char('\n'));
        m_lstLines.clear();
        diagnosticText_n::appendPlainText(m_pEdit, strText);
    }

    QPlainTextEdit* m_pEdit;
    QStringList m_lstLines;
};
} // namespace

namespace diagnosticText_n
{

int blocksOf(const QString& p_strText)
{
    int nBlocks = 1;
    for (int i = 0; i < p_strText.size(); ++i)
    {
        const QChar cChar = p_strText.at(i);
        // CR LF breaks the line once.
        const bool bCrBeforeLf = cChar == QLatin1Char('\r') && i + 1 < p_strText.size() &&
                                 p_strText.at(i + 1) == QLatin1Char('\n');
        nBlocks += !bCrBeforeLf && (cChar == QLatin1Char('\n') || cChar == QLatin1Char('\r') ||
                                    cChar == QChar::ParagraphSeparator || cChar == QChar::LineSeparator);
    }
    return nBlocks;
}

void makeRoom(QTextDocument* p_pDocument, int p_nBlocks)
{
    const int nMaximum = p_pDocument->maximumBlockCount();
    if (nMaximum <= 0)
    {
        return;
    }
    if (p_pDocument->blockCount() + p_nBlocks <= nMaximum)
    {
        return;
    }
    // A hundredth more goes at once: every removal walks the layout of all lines once, so it had better
    // not come with every append.
    const int nExcess = p_pDocument->blockCount() - qMax(1, nMaximum - p_nBlocks - nMaximum / 100);
    // Straight to the first block kept: moving there block by block lays out every block passed.
    QTextCursor cursor(p_pDocument);
    cursor.setPosition(p_pDocument->findBlockByNumber(nExcess).position(), QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
}

void appendPlainText(QPlainTextEdit* p_pEdit, const QString& p_strText)
{
    makeRoom(p_pEdit->document(), blocksOf(p_strText));
    p_pEdit->appendPlainText(p_strText);
}

void appendPlainTextSoon(QPlainTextEdit* p_pEdit, const QString& p_strText)
{
    // The traffic window is nearly always the one: its queue is not searched for at every line.
    static QPointer<pendingLines_c> s_pLast;
    pendingLines_c* pPending = s_pLast;
    if (pPending == nullptr || pPending->parent() != p_pEdit)
    {
        pPending = p_pEdit->findChild<pendingLines_c*>(QStringLiteral("diagnosticText_n::pendingLines"),
                                                       Qt::FindDirectChildrenOnly);
        if (pPending == nullptr)
        {
            pPending = new pendingLines_c(p_pEdit);
        }
        s_pLast = pPending;
    }
    pPending->add(p_strText);
}

} // namespace diagnosticText_n
