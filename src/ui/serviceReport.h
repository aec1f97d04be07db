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

// The visit the report is made for, as the technician typed it before the preview. Kept for the run only,
// so that the next report of the same visit is prefilled.
struct visit_s
{
    QString strTechnician;
    QString strCustomer; // customer or site
    QString strIpc;      // the industrial PC's serial or asset number
    QString strRemarks;
};

// The small form before the preview, prefilled with p_visit; false when the technician cancels it.
bool askVisit(QWidget* p_pParent, visit_s& p_visit);

// The report of the record as it is now, its texts in the installed language; p_dtNow is its date.
std::unique_ptr<QTextDocument> document(const sessionRecord_c& p_record, const visit_s& p_visit,
                                        const QDateTime& p_dtNow);

// Lays the document out on the device's pages and paints them, "Page n of m" in each page's footer.
void paint(QTextDocument& p_document, QPagedPaintDevice* p_pDevice);

// The report as an A4 PDF file's bytes.
QByteArray pdf(const sessionRecord_c& p_record, const visit_s& p_visit, const QDateTime& p_dtNow);

// The name proposed when the report is saved: service-report-yyyyMMdd-HHmmss.pdf, ASCII digits always.
QString pdfFileName(const QDateTime& p_dtNow);

// The print preview of the report over p_pParent, with "Save as PDF..." beside Qt's own print action;
// returns when the technician closes it: true when the report was printed or saved.
bool showPreview(QWidget* p_pParent, const sessionRecord_c& p_record, const visit_s& p_visit);

} // namespace serviceReport_n
