#include "ui/serviceReport.h"

#include "toolsGui/textTools.h"
#include "ui/humanHandWidget.h"
#include "ui/keepResults.h"
#include "ui/sessionRecord.h"
#include "ui/vindal01mainWindow.h"

#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTextDocument>
#include <QToolBar>
#include <QUrl>

namespace serviceReport_n
{

// The report speaks for the main window: its texts are translated in the window's context.
namespace
{

using record_t = sessionRecord_c;

const QUrl g_urlPicture(QStringLiteral("report:picture"));
// Room below the text for the page number, in millimetres.
constexpr qreal g_dFooterMm = 10.0;
// The picture is shown about 8 cm wide (sizes in a document count 96 to the inch), 12 cm high at most.
constexpr qreal g_dPictureWidth = 300.0;
constexpr qreal g_dPictureHeight = 450.0;

QString timeText(const QDateTime& p_dt)
{
    return toolsGui_n::timeStampText(p_dt, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QString esc(const QString& p_strText)
{
    return p_strText.toHtmlEscaped();
}

QString row(const QStringList& p_lstCells, const char* p_szCell = "td")
{
    QString strRow = QStringLiteral("<tr>");
    for (const QString& strCell : p_lstCells)
    {
        strRow += QStringLiteral("<%1>%2</%1>").arg(QLatin1String(p_szCell), esc(strCell));
    }
    return strRow + QStringLiteral("</tr>\n");
}

QString tableStart(const QStringList& p_lstHeader)
{
    // The header row is repeated on every page the table runs over.
    return QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\" width=\"100%\"><thead>") +
           row(p_lstHeader, "th") + QStringLiteral("</thead>\n");
}

QString section(const QString& p_strTitle)
{
    return QStringLiteral("<h2>%1</h2>\n").arg(esc(p_strTitle));
}

QString personFinger(int p_nPid, int p_nFid)
{
    return vindal01mainWindow_c::tr("person %1, %2").arg(p_nPid).arg(humanHandWidget_c::fingerIdText(p_nFid));
}

QString answersText(const record_t::operation_s& p_operation)
{
    QString strText = p_operation.lstAnswers.join(QStringLiteral(", "));
    if (p_operation.nAnswersDue > 0)
    {
        strText += (strText.isEmpty() ? QString() : QStringLiteral("; ")) +
                   vindal01mainWindow_c::tr("%1 answers missing").arg(p_operation.nAnswersDue);
    }
    return strText;
}

// A person's deletion asks for the fingers 0 to 9 in turn: each "=OK" answer deleted that finger.
QString personDeletionText(const record_t::operation_s& p_operation)
{
    QStringList lstDeleted;
    for (int nFid = 0; nFid < p_operation.lstAnswers.size(); ++nFid)
    {
        if (p_operation.lstAnswers.at(nFid).startsWith(QLatin1String("=OK")))
        {
            lstDeleted << humanHandWidget_c::fingerIdText(nFid);
        }
    }
    QString strText =
        lstDeleted.isEmpty()
            ? vindal01mainWindow_c::tr("no finger deleted")
            : vindal01mainWindow_c::tr("deleted: %1").arg(lstDeleted.join(QStringLiteral(", ")));
    if (p_operation.nAnswersDue > 0)
    {
        strText += QStringLiteral("; ") +
                   vindal01mainWindow_c::tr("%1 answers missing").arg(p_operation.nAnswersDue);
    }
    return strText;
}

QString comServerResult(const record_t::operation_s& p_operation)
{
    if (p_operation.bOk)
    {
        return vindal01mainWindow_c::tr("succeeded");
    }
    if (p_operation.nValue == record_t::interfaceNotOpened)
    {
        return vindal01mainWindow_c::tr("the interface could not be opened");
    }
    return vindal01mainWindow_c::tr("failed with error code %1").arg(p_operation.nValue);
}

// What happened, to what, and with what result, for one row of the operations table.
QStringList operationCells(const record_t::operation_s& p_op)
{
    switch (p_op.nKind)
    {
    case record_t::opPortOpened:
        return {vindal01mainWindow_c::tr("Port opened"), p_op.strSubject,
                p_op.bOk ? vindal01mainWindow_c::tr("opened")
                         : vindal01mainWindow_c::tr("could not be opened")};
    case record_t::opEnrolment:
        if (p_op.lstAnswers.join(QString()).isEmpty())
        {
            return {vindal01mainWindow_c::tr("Enrolment"), personFinger(p_op.nPid, p_op.nFid),
                    vindal01mainWindow_c::tr(p_op.strDetail.toLatin1().constData())};
        }
        if (p_op.bOk)
        {
            return {vindal01mainWindow_c::tr("Enrolment"), personFinger(p_op.nPid, p_op.nFid),
                    vindal01mainWindow_c::tr("enrolled with quality %1%").arg(p_op.nValue)};
        }
        return {vindal01mainWindow_c::tr("Enrolment"), personFinger(p_op.nPid, p_op.nFid),
                vindal01mainWindow_c::tr("refused: %1 (%2)")
                    .arg(p_op.strDetail.isEmpty()
                             ? vindal01mainWindow_c::tr("Fehler beim Einlernen.")
                             : vindal01mainWindow_c::tr(p_op.strDetail.toLatin1().constData()),
                         p_op.lstAnswers.join(QStringLiteral(", ")))};
    case record_t::opDeleteFinger:
        return {vindal01mainWindow_c::tr("Deletion of a finger"), personFinger(p_op.nPid, p_op.nFid),
                answersText(p_op)};
    case record_t::opDeletePerson:
        return {vindal01mainWindow_c::tr("Deletion of a person's fingers"),
                vindal01mainWindow_c::tr("person %1").arg(p_op.nPid), personDeletionText(p_op)};
    case record_t::opDeleteAll:
        return {vindal01mainWindow_c::tr("Deletion of all fingers"), QString(), answersText(p_op)};
    case record_t::opComServerStart:
        return {vindal01mainWindow_c::tr("COM server mode started"), p_op.strSubject, comServerResult(p_op)};
    case record_t::opComServerStop:
        return {vindal01mainWindow_c::tr("COM server mode stopped"), QString(), comServerResult(p_op)};
    case record_t::opAdapterLost:
        return {vindal01mainWindow_c::tr("Adapter lost"), p_op.strSubject, p_op.strDetail};
    case record_t::opWatchdogAlarm:
        return {vindal01mainWindow_c::tr("Watchdog alarm"), p_op.strSubject,
                vindal01mainWindow_c::tr("no reply in time")};
    case record_t::opKinds:
        break;
    }
    return {QString(), QString(), QString()};
}

QString operationName(record_t::operation_t p_nKind)
{
    record_t::operation_s op;
    op.nKind = p_nKind;
    return operationCells(op).value(0);
}

QString moduleSection(const record_t& p_record)
{
    const record_t::module_s& module = p_record.module();
    const record_t::port_s& port = p_record.port();
    if (module.dtRead.isNull() && port.strName.isEmpty())
    {
        return QString();
    }
    QString strHtml = section(vindal01mainWindow_c::tr("Module")) +
                      QStringLiteral("<table cellspacing=\"0\" cellpadding=\"2\">\n");
    if (!module.dtRead.isNull())
    {
        strHtml += row({vindal01mainWindow_c::tr("Firmware:"), module.strFirmware}) +
                   row({vindal01mainWindow_c::tr("Firmware Build Date:"), module.strBuildDate}) +
                   row({vindal01mainWindow_c::tr("Firmware Build Time:"), module.strBuildTime}) +
                   row({vindal01mainWindow_c::tr("Capacity:"),
                        module.strTemplates + QStringLiteral(" / ") + module.strCapacity}) +
                   row({vindal01mainWindow_c::tr("Read at:"), timeText(module.dtRead)});
    }
    if (!port.strName.isEmpty())
    {
        strHtml += row({vindal01mainWindow_c::tr("Port:"),
                        port.strName + QStringLiteral(" (") +
                            (port.bOpened ? vindal01mainWindow_c::tr("opened")
                                          : vindal01mainWindow_c::tr("could not be opened")) +
                            QStringLiteral(")")});
    }
    const serialPort_n::portRecord_c& adapter = port.adapter;
    if (port.bListed)
    {
        const QString strIds = adapter.m_bHasVendor && adapter.m_bHasProduct
                                   ? QStringLiteral("USB %1:%2")
                                         .arg(adapter.m_nVendor, 4, 16, QLatin1Char('0'))
                                         .arg(adapter.m_nProduct, 4, 16, QLatin1Char('0'))
                                   : vindal01mainWindow_c::tr("no USB ids");
        QStringList lstAdapter = {adapter.m_strDescription, adapter.m_strManufacturer, strIds};
        if (!adapter.m_strSerialNumber.isEmpty())
        {
            lstAdapter << vindal01mainWindow_c::tr("serial number %1").arg(adapter.m_strSerialNumber);
        }
        lstAdapter.removeAll(QString());
        strHtml += row({vindal01mainWindow_c::tr("Adapter:"), lstAdapter.join(QStringLiteral(", "))});
    }
    return strHtml + QStringLiteral("</table>\n");
}

QString operationsSection(const record_t& p_record)
{
    if (p_record.operations().isEmpty())
    {
        return QString();
    }
    QString strHtml = section(vindal01mainWindow_c::tr("Operations"));
    if (p_record.droppedOperations() > 0)
    {
        strHtml += QStringLiteral("<p>%1</p>\n")
                       .arg(esc(vindal01mainWindow_c::tr("The %1 oldest operations are not listed; the "
                                                         "statistics count them.")
                                    .arg(p_record.droppedOperations())));
    }
    strHtml.reserve(strHtml.size() + p_record.operations().size() * 200);
    strHtml += tableStart({vindal01mainWindow_c::tr("Time"), vindal01mainWindow_c::tr("Operation"),
                           vindal01mainWindow_c::tr("Subject"), vindal01mainWindow_c::tr("Result")});
    for (const record_t::operation_s& operation : p_record.operations())
    {
        strHtml += row(QStringList(timeText(operation.dtWhen)) + operationCells(operation));
    }
    return strHtml + QStringLiteral("</table>\n");
}

QString statisticsSection(const record_t& p_record)
{
    QList<QStringList> lstRows;
    const record_t::identification_s& ident = p_record.identifications();
    if (ident.nCount > 0)
    {
        lstRows << QStringList{vindal01mainWindow_c::tr("Identifications:"),
                               vindal01mainWindow_c::tr("%1, of which %2 recognised")
                                   .arg(ident.nCount)
                                   .arg(ident.nRecognised)}
                << QStringList{vindal01mainWindow_c::tr("Last identification:"),
                               timeText(ident.dtLast) + QStringLiteral("  ") + ident.strLast};
    }
    const record_t::matchStatistics_s& match = p_record.matchStatistics();
    if (match.nCycles > 0)
    {
        lstRows << QStringList{vindal01mainWindow_c::tr("Match statistics:"),
                               vindal01mainWindow_c::tr("Personal ID %1, %2 cycles, until %3")
                                   .arg(match.strPid)
                                   .arg(match.nCycles)
                                   .arg(timeText(match.dtWhen))};
        const char* const aszLevels[] = {"HIGH", "NORMAL", "LOW"};
        for (int nLevel = 0; nLevel < 3; ++nLevel)
        {
            // printf formats write a point as decimal separator, as the statistics page does.
            lstRows << QStringList{QString::fromLatin1(aszLevels[nLevel]),
                                   QString::asprintf("%i (%.2f%%)", match.anMatches[nLevel],
                                                     match.anMatches[nLevel] * 100.0 / match.nCycles)};
        }
    }
    for (int nKind = 0; nKind < record_t::opKinds; ++nKind)
    {
        const auto nOperation = static_cast<record_t::operation_t>(nKind);
        if (p_record.operationTotal(nOperation) > 0)
        {
            lstRows << QStringList{operationName(nOperation) + QLatin1Char(':'),
                                   QString::number(p_record.operationTotal(nOperation))};
        }
    }
    if (p_record.unexpectedResponses() > 0)
    {
        lstRows << QStringList{vindal01mainWindow_c::tr("Unexpected responses:"),
                               QString::number(p_record.unexpectedResponses())};
    }
    if (lstRows.isEmpty())
    {
        return QString();
    }
    QString strHtml = section(vindal01mainWindow_c::tr("Statistics")) +
                      QStringLiteral("<table cellspacing=\"0\" cellpadding=\"2\">\n");
    for (const QStringList& lstRow : lstRows)
    {
        strHtml += row(lstRow);
    }
    return strHtml + QStringLiteral("</table>\n");
}

QString pictureSection(const record_t& p_record, QTextDocument* p_pDocument)
{
    const QImage& image = p_record.picture();
    if (image.isNull())
    {
        return QString();
    }
    p_pDocument->addResource(QTextDocument::ImageResource, g_urlPicture, image);
    const QSizeF sizeShown =
        QSizeF(image.size()).scaled(g_dPictureWidth, g_dPictureHeight, Qt::KeepAspectRatio);
    return section(vindal01mainWindow_c::tr("Picture")) +
           QStringLiteral("<p>%1</p>\n<p><img src=\"%2\" width=\"%3\" height=\"%4\"></p>\n")
               .arg(esc(vindal01mainWindow_c::tr("Read at %1, %2 x %3 pixels.")
                            .arg(timeText(p_record.pictureTime()))
                            .arg(image.width())
                            .arg(image.height())),
                    g_urlPicture.toString())
               .arg(qRound(sizeShown.width()))
               .arg(qRound(sizeShown.height()));
}

QString templatesSection(const record_t& p_record)
{
    const record_t::templateTable_s& table = p_record.templates();
    if (table.nListed < 0)
    {
        return QString();
    }
    QString strHtml = section(vindal01mainWindow_c::tr("Templates"));
    if (table.nListed == 0)
    {
        return strHtml +
               QStringLiteral("<p>%1</p>\n")
                   .arg(esc(vindal01mainWindow_c::tr("Analysed at %1: the module holds no templates.")
                                .arg(timeText(table.dtAnalysed))));
    }
    strHtml += QStringLiteral("<p>%1</p>\n")
                   .arg(esc(vindal01mainWindow_c::tr("Analysed at %1: %2 of %3 listed templates read.")
                                .arg(timeText(table.dtAnalysed))
                                .arg(table.vecRows.size())
                                .arg(table.nListed)));
    strHtml += tableStart({vindal01mainWindow_c::tr("Personal ID"), vindal01mainWindow_c::tr("Finger ID"),
                           vindal01mainWindow_c::tr("Quality"), vindal01mainWindow_c::tr("Minutiae")});
    for (const record_t::templateRow_s& tmpl : table.vecRows)
    {
        strHtml += row({QString::number(tmpl.nPid), humanHandWidget_c::fingerIdText(tmpl.nFid),
                        QString::number(tmpl.nQuality), QString::number(tmpl.nMinutiae)});
    }
    return strHtml + QStringLiteral("</table>\n");
}

QPageLayout a4Layout()
{
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(20.0, 15.0, 20.0, 12.0),
                       QPageLayout::Millimeter);
}

// Lays the document out for the PDF: it is left laid out for a device that is gone.
QByteArray pdfOf(QTextDocument& p_document, const QPageLayout& p_layout)
{
    QByteArray baPdf;
    QBuffer buffer(&baPdf);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setPageLayout(p_layout);
        writer.setTitle(vindal01mainWindow_c::tr("Service report"));
        writer.setCreator(QStringLiteral("vindal01-tool ") + QApplication::applicationVersion());
        paint(p_document, &writer);
    }
    return baPdf;
}

void savePdf(QWidget* p_pParent, const QTextDocument& p_document, const QPageLayout& p_layout,
             const QDateTime& p_dtNow)
{
    const QString strPath = keepResults_n::askSaveFileName(
        p_pParent, vindal01mainWindow_c::tr("Save as PDF"), pdfFileName(p_dtNow),
        vindal01mainWindow_c::tr("PDF files (*.pdf)"), QStringLiteral("pdf"));
    if (!strPath.isEmpty())
    {
        // A copy is laid out for the PDF, so the shown document keeps the layout of the preview's printer.
        const std::unique_ptr<QTextDocument> pCopy(p_document.clone());
        keepResults_n::saveBytes(p_pParent, strPath, pdfOf(*pCopy, p_layout));
    }
}

} // namespace

std::unique_ptr<QTextDocument> document(const sessionRecord_c& p_record, const QDateTime& p_dtNow)
{
    auto pDocument = std::make_unique<QTextDocument>();
    QFont font = QApplication::font();
    font.setPointSizeF(10.0);
    pDocument->setDefaultFont(font);
    pDocument->setDocumentMargin(0.0);
    const QString strTitle = vindal01mainWindow_c::tr("Service report");
    pDocument->setMetaInformation(QTextDocument::DocumentTitle, strTitle);

    QString strHtml =
        QStringLiteral("<h1>%1</h1>\n<p>%2</p>\n")
            .arg(esc(strTitle), esc(vindal01mainWindow_c::tr("Written at %1 by vindal01-tool version %2; the "
                                                             "session began at %3.")
                                        .arg(timeText(p_dtNow), QApplication::applicationVersion(),
                                             timeText(p_record.started()))));
    if (!p_record.heardFromModule())
    {
        strHtml += QStringLiteral("<p><b>%1</b></p>\n")
                       .arg(esc(vindal01mainWindow_c::tr("Nothing was read from a module in this session.")));
    }
    strHtml += moduleSection(p_record) + operationsSection(p_record) + statisticsSection(p_record) +
               pictureSection(p_record, pDocument.get()) + templatesSection(p_record);
    pDocument->setHtml(strHtml);
    return pDocument;
}

void paint(QTextDocument& p_document, QPagedPaintDevice* p_pDevice)
{
    QPainter painter(p_pDevice);
    if (!painter.isActive())
    {
        return;
    }
    QAbstractTextDocumentLayout* pLayout = p_document.documentLayout();
    pLayout->setPaintDevice(p_pDevice);
    const qreal dFooter = p_pDevice->logicalDpiY() * g_dFooterMm / 25.4;
    const QSizeF sizeBody(p_pDevice->width(), p_pDevice->height() - dFooter);
    p_document.setPageSize(sizeBody);
    const int nPages = p_document.pageCount();
    QFont fontFooter = p_document.defaultFont();
    fontFooter.setPointSizeF(8.0);
    QAbstractTextDocumentLayout::PaintContext context;
    context.palette.setColor(QPalette::Text, Qt::black);
    for (int nPage = 0; nPage < nPages; ++nPage)
    {
        if (nPage > 0)
        {
            p_pDevice->newPage();
        }
        const QRectF rectBody(0.0, nPage * sizeBody.height(), sizeBody.width(), sizeBody.height());
        painter.save();
        painter.translate(0.0, -rectBody.top());
        painter.setClipRect(rectBody);
        context.clip = rectBody;
        pLayout->draw(&painter, context);
        painter.restore();
        painter.setFont(fontFooter);
        painter.setPen(Qt::black);
        painter.drawText(QRectF(0.0, sizeBody.height(), sizeBody.width(), dFooter),
                         Qt::AlignRight | Qt::AlignBottom,
                         vindal01mainWindow_c::tr("Page %1 of %2").arg(nPage + 1).arg(nPages));
    }
}

QByteArray pdf(const sessionRecord_c& p_record, const QDateTime& p_dtNow)
{
    return pdfOf(*document(p_record, p_dtNow), a4Layout());
}

QString pdfFileName(const QDateTime& p_dtNow)
{
    return QStringLiteral("service-report-%1.pdf")
        .arg(toolsGui_n::timeStampText(p_dtNow, QStringLiteral("yyyyMMdd-HHmmss")));
}

void showPreview(QWidget* p_pParent, const sessionRecord_c& p_record)
{
    // The report shows the session as it was when it was asked for, also while the dialogue goes on.
    const QDateTime dtNow = QDateTime::currentDateTime();
    const std::unique_ptr<QTextDocument> pDocument = document(p_record, dtNow);
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(a4Layout());
    printer.setDocName(vindal01mainWindow_c::tr("Service report"));
    QPrintPreviewDialog dialog(&printer, p_pParent);
    dialog.setWindowTitle(vindal01mainWindow_c::tr("Service report"));
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&pDocument](QPrinter* p_pPrinter) { paint(*pDocument, p_pPrinter); });
    auto* pActSave = new QAction(vindal01mainWindow_c::tr("Save as PDF..."), &dialog);
    pActSave->setObjectName(QStringLiteral("actionSavePdf"));
    // The page set-up of the preview (size, orientation, margins) goes into the PDF as well.
    QObject::connect(pActSave, &QAction::triggered, &dialog,
                     [&]() { savePdf(&dialog, *pDocument, printer.pageLayout(), dtNow); });
    if (QToolBar* pToolBar = dialog.findChild<QToolBar*>())
    {
        pToolBar->addSeparator();
        pToolBar->addAction(pActSave);
    }
    dialog.exec();
}

} // namespace serviceReport_n
