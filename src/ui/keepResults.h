// Context menus with which the technician keeps the sensor picture and the template table for a report.
#pragma once

#include <QByteArray>
#include <QString>

class QDateTime;
class QLabel;
class QTreeWidget;
class QWidget;

namespace keepResults_n
{

// The label's context menu offers "Save image..." (PNG) and "Copy image"; both only while the label shows
// a picture, which the window sets only for a complete picture whose checksum was right.
void offerImage(QLabel* p_pLabel);
// The table's context menu offers "Copy" (the selected rows, or all) and "Save as CSV...".
void offerTable(QTreeWidget* p_pTree);

// The file names proposed by the save dialogs, stamped with the date and time.
QString imageFileName(const QDateTime& p_dtNow);
QString tableFileName(const QDateTime& p_dtNow);

// The header line and the selected rows (all rows when none is selected) in the shown order, the fields
// separated by tabs, each line ended by a line feed; fields with a tab, a double quote, CR or LF are
// quoted, their quotes doubled, as spreadsheets paste them.
QString tableText(const QTreeWidget* p_pTree);
// The header line and all rows in the shown order as comma-separated values in UTF-8 after a byte-order
// mark, each line ended by CR LF; fields with a comma, a double quote, CR or LF are quoted, their quotes
// doubled.
QByteArray tableCsv(const QTreeWidget* p_pTree);

// Asks where to save, p_strProposed in the working folder offered; empty when the technician cancels.
QString askSaveFileName(QWidget* p_pParent, const QString& p_strTitle, const QString& p_strProposed,
                        const QString& p_strFilter, const QString& p_strSuffix);

// Writes the bytes through a save file, so that a failed write leaves an existing file as it was. On
// failure a warning box with the reason is shown over p_pParent and false is returned.
bool saveBytes(QWidget* p_pParent, const QString& p_strPath, const QByteArray& p_baData);

} // namespace keepResults_n
