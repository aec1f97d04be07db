// Appending to the diagnostic text windows (raw traffic, unexpected responses), which keep only their newest
// lines.
#pragma once

#include <QString>

class QPlainTextEdit;
class QTextDocument;

namespace diagnosticText_n
{

// The most blocks the text can add when it is inserted as a new paragraph: one, and one more for every
// line break (CR LF counted once).
int blocksOf(const QString& p_strText);

// Removes the oldest blocks of a document with a maximum block count, in an edit of their own, so that
// p_nBlocks more fit (and a hundredth of the maximum besides). When the document removes them itself within
// the insertion, both changes merge into one that spans the whole document, and its layout is redone over
// every line: with 10,000 lines that cost more per append than a whole command exchange takes on the wire.
void makeRoom(QTextDocument* p_pDocument, int p_nBlocks);

// QPlainTextEdit::appendPlainText, after making room for the text.
void appendPlainText(QPlainTextEdit* p_pEdit, const QString& p_strText);

// appendPlainText a few milliseconds later, together with the other lines that came meanwhile, in one
// edit: a line per command and per reply chunk must not hold up the next command. The lines appear in
// their order, as if appended one by one.
void appendPlainTextSoon(QPlainTextEdit* p_pEdit, const QString& p_strText);

} // namespace diagnosticText_n
