#include "ui/diagnosticText.h"

#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>

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
    QTextCursor cursor(p_pDocument);
    cursor.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor, nExcess);
    cursor.removeSelectedText();
}

void appendPlainText(QPlainTextEdit* p_pEdit, const QString& p_strText)
{
    makeRoom(p_pEdit->document(), blocksOf(p_strText));
    p_pEdit->appendPlainText(p_strText);
}

} // namespace diagnosticText_n
