// The service report: the session record laid out as a text document on A4 pages in the technician's
// language, shown in a print preview from which it is printed or saved as PDF.
#pragma once

#include <QByteArray>
#include <QString>

#include <memory>

class QDateTime;
class QPagedPaintDevice;
class QTextDocument;
class QWidget;
class sessionRecord_c;

namespace serviceReport_n
{

// The report of the record as it is now, its texts in the installed language; p_dtNow is its date.
std::unique_ptr<QTextDocument> document(const sessionRecord_c& p_record, const QDateTime& p_dtNow);

// Lays the document out on the device's pages and paints them, "Page n of m" in each page's footer.
void paint(QTextDocument& p_document, QPagedPaintDevice* p_pDevice);

// The report as an A4 PDF file's bytes.
QByteArray pdf(const sessionRecord_c& p_record, const QDateTime& p_dtNow);

// The name proposed when the report is saved: service-report-yyyyMMdd-HHmmss.pdf, ASCII digits always.
QString pdfFileName(const QDateTime& p_dtNow);

// The print preview of the report over p_pParent, with "Save as PDF..." beside Qt's own print action;
// returns when the technician closes it.
void showPreview(QWidget* p_pParent, const sessionRecord_c& p_record);

} // namespace serviceReport_n
