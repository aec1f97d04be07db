#include "ui/serviceReport.h"

#include "sensor/replyFormat.h"
#include "toolsGui/textTools.h"
#include "ui/humanHandWidget.h"
#include "ui/keepResults.h"
#include "ui/sessionRecord.h"
#include "ui/vindal01mainWindow.h"

#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPainter>
#include <QPdfWriter>
#include <QPlainTextEdit>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTextDocument>
#include <QToolBar>
#include <QUrl>

#include <cmath>

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

// The module's own code of a refusal, for talking to the maker: the line without "=NO".
QString moduleCode(const QString& p_strLine)
{
    return vindal01mainWindow_c::tr("module code %1").arg(p_strLine.mid(3).trimmed());
}

// One answer of the module to a deletion, in words.
QString deletionAnswer(const QString& p_strLine)
{
    if (p_strLine.startsWith(QLatin1String("=OK")))
    {
        return vindal01mainWindow_c::tr("deleted");
    }
    if (p_strLine.startsWith(QLatin1String("=NO Unreg")))
    {
        return vindal01mainWindow_c::tr("was not stored");
    }
    return vindal01mainWindow_c::tr("refused (%1)").arg(moduleCode(p_strLine));
}

// How many of a deletion's answers came, where not all did.
QString answersMissing(const record_t::operation_s& p_operation)
{
    const int nAnswers = p_operation.lstAnswers.size();
    const int nAsked = nAnswers + p_operation.nAnswersDue;
    if (p_operation.nAnswersDue == 0)
    {
        return QString();
    }
    return p_operation.bClosed
               ? vindal01mainWindow_c::tr("cut off after %1 of %2 answers").arg(nAnswers).arg(nAsked)
               : vindal01mainWindow_c::tr("%1 of %2 answers so far").arg(nAnswers).arg(nAsked);
}

QString joined(const QStringList& p_lstParts)
{
    QStringList lstParts = p_lstParts;
    lstParts.removeAll(QString());
    return lstParts.join(QStringLiteral("; "));
}

// A deletion of one finger or of all: the answer in words, or what is missing.
QString deletionText(const record_t::operation_s& p_operation)
{
    if (p_operation.lstAnswers.isEmpty())
    {
        return p_operation.bClosed ? vindal01mainWindow_c::tr("cut off before the module answered")
                                   : vindal01mainWindow_c::tr("no answer yet");
    }
    if (p_operation.nKind == record_t::opDeleteAll && p_operation.bOk)
    {
        return vindal01mainWindow_c::tr("all fingers deleted");
    }
    return deletionAnswer(p_operation.lstAnswers.first());
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
    return joined({lstDeleted.isEmpty()
                       ? vindal01mainWindow_c::tr("no finger deleted")
                       : vindal01mainWindow_c::tr("deleted: %1").arg(lstDeleted.join(QStringLiteral(", "))),
                   answersMissing(p_operation)});
}

// What an enrolment line says, in words: enrolled with its quality, or refused and why.
QString enrolmentAnswer(const QString& p_strLine, int p_nQuality)
{
    if (p_strLine.startsWith(QLatin1String("=OK Enroll")))
    {
        return p_nQuality > 0 ? vindal01mainWindow_c::tr("enrolled with quality %1%").arg(p_nQuality)
                              : vindal01mainWindow_c::tr("failed: the module reported no quality");
    }
    const QString strRefusal = sensor_n::enrollRefusalText(p_strLine);
    return vindal01mainWindow_c::tr("refused: %1 (%2)")
        .arg(strRefusal.isEmpty() ? vindal01mainWindow_c::tr("Fehler beim Einlernen.")
                                  : vindal01mainWindow_c::tr(strRefusal.toLatin1().constData()),
             moduleCode(p_strLine));
}

QString cancelText(record_t::cancel_t p_nWhy)
{
    switch (p_nWhy)
    {
    case record_t::cancelPersonalId:
        return vindal01mainWindow_c::tr("cancelled before the module answered: the personal ID was changed");
    case record_t::cancelPageLeft:
        return vindal01mainWindow_c::tr("cancelled before the module answered: another page was chosen");
    case record_t::cancelPort:
        return vindal01mainWindow_c::tr("cancelled before the module answered: a port was chosen");
    case record_t::cancelAdapter:
        return vindal01mainWindow_c::tr("cancelled before the module answered: the adapter was lost");
    case record_t::cancelNone:
        break;
    }
    return QString();
}

QString enrolmentText(const record_t::operation_s& p_operation)
{
    if (p_operation.nCancelled == record_t::cancelNone)
    {
        return enrolmentAnswer(p_operation.lstAnswers.value(0), p_operation.nValue);
    }
    // The module may have finished the enrolment all the same: it said so afterwards.
    return joined({cancelText(p_operation.nCancelled),
                   p_operation.strLateAnswer.isEmpty()
                       ? QString()
                       : vindal01mainWindow_c::tr("the module answered afterwards: %1")
                             .arg(enrolmentAnswer(p_operation.strLateAnswer, p_operation.nValue))});
}

// What the dialogue waited for when the watchdog fired.
QString waitedFor(int p_nCommand)
{
    using sensor_n::command_t;
    switch (static_cast<command_t>(p_nCommand))
    {
    case command_t::ModelFw:
    case command_t::Date:
    case command_t::Time:
    case command_t::RegCount:
    case command_t::Max:
        return vindal01mainWindow_c::tr("while the module's information was read");
    case command_t::LedOn:
    case command_t::LedOff:
    case command_t::FpSecurity:
    case command_t::TempalteFormat:
        return vindal01mainWindow_c::tr("while the module was set up");
    case command_t::Scan:
        return vindal01mainWindow_c::tr("while the sensor was asked for a finger");
    case command_t::Search:
    case command_t::SearchNoLed:
        return vindal01mainWindow_c::tr("while a finger was identified");
    case command_t::MatchId:
    case command_t::MatchIdNoLed:
        return vindal01mainWindow_c::tr("while a finger was matched");
    case command_t::ReadImage:
        return vindal01mainWindow_c::tr("while the picture was read");
    case command_t::RegList:
    case command_t::RegGet:
        return vindal01mainWindow_c::tr("while the templates were read");
    case command_t::RegFind:
        return vindal01mainWindow_c::tr("while a person's fingers were read");
    case command_t::RegDel:
    case command_t::RegClear:
        return vindal01mainWindow_c::tr("while fingers were deleted");
    default:
        return vindal01mainWindow_c::tr("while no command was running");
    }
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
        return {vindal01mainWindow_c::tr("Enrolment"), personFinger(p_op.nPid, p_op.nFid),
                enrolmentText(p_op)};
    case record_t::opDeleteFinger:
        return {vindal01mainWindow_c::tr("Deletion of a finger"), personFinger(p_op.nPid, p_op.nFid),
                deletionText(p_op)};
    case record_t::opDeletePerson:
        return {vindal01mainWindow_c::tr("Deletion of a person's fingers"),
                vindal01mainWindow_c::tr("person %1").arg(p_op.nPid), personDeletionText(p_op)};
    case record_t::opDeleteAll:
        return {vindal01mainWindow_c::tr("Deletion of all fingers"), QString(), deletionText(p_op)};
    case record_t::opComServerStart:
        return {vindal01mainWindow_c::tr("COM server mode started"), p_op.strSubject, comServerResult(p_op)};
    case record_t::opComServerStop:
        return {vindal01mainWindow_c::tr("COM server mode stopped"), QString(), comServerResult(p_op)};
    case record_t::opAdapterLost:
        return {vindal01mainWindow_c::tr("Adapter lost"), p_op.strSubject,
                vindal01mainWindow_c::tr("the connection to the module broke off (%1)").arg(p_op.strDetail)};
    case record_t::opWatchdogAlarm:
        return {vindal01mainWindow_c::tr("Watchdog alarm"), QString(),
                vindal01mainWindow_c::tr("no answer within 5 s %1").arg(waitedFor(p_op.nValue))};
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

QString paragraphs(const QString& p_strText)
{
    return esc(p_strText).replace(QLatin1Char('\n'), QStringLiteral("<br>"));
}

QString visitSection(const visit_s& p_visit)
{
    const QString strNone = QStringLiteral("\u2014");
    auto cell = [&strNone](const QString& p_strText)
    { return p_strText.trimmed().isEmpty() ? strNone : paragraphs(p_strText.trimmed()); };
    return section(vindal01mainWindow_c::tr("Visit")) +
           QStringLiteral("<table cellspacing=\"0\" cellpadding=\"2\">\n") +
           QStringLiteral("<tr><td>%1</td><td>%2</td></tr>\n")
               .arg(esc(vindal01mainWindow_c::tr("Technician:")), cell(p_visit.strTechnician)) +
           QStringLiteral("<tr><td>%1</td><td>%2</td></tr>\n")
               .arg(esc(vindal01mainWindow_c::tr("Customer or site:")), cell(p_visit.strCustomer)) +
           QStringLiteral("<tr><td>%1</td><td>%2</td></tr>\n")
               .arg(esc(vindal01mainWindow_c::tr("Industrial PC (serial or asset number):")),
                    cell(p_visit.strIpc)) +
           QStringLiteral("<tr><td>%1</td><td>%2</td></tr>\n")
               .arg(esc(vindal01mainWindow_c::tr("Remarks:")), cell(p_visit.strRemarks)) +
           QStringLiteral("</table>\n");
}

// The grey values of a picture: lowest, highest, mean and standard deviation.
struct greyValues_s
{
    int nLowest = 255;
    int nHighest = 0;
    double dMean = 0.0;
    double dSpread = 0.0;
};

greyValues_s greyValues(const QImage& p_image)
{
    greyValues_s grey;
    const QImage image = p_image.convertToFormat(QImage::Format_Grayscale8);
    double dSum = 0.0;
    double dSquares = 0.0;
    for (int nRow = 0; nRow < image.height(); ++nRow)
    {
        const uchar* pLine = image.constScanLine(nRow);
        for (int nCol = 0; nCol < image.width(); ++nCol)
        {
            grey.nLowest = qMin(grey.nLowest, int(pLine[nCol]));
            grey.nHighest = qMax(grey.nHighest, int(pLine[nCol]));
            dSum += pLine[nCol];
            dSquares += double(pLine[nCol]) * pLine[nCol];
        }
    }
    const double dCount = qMax(1.0, double(image.width()) * image.height());
    grey.dMean = dSum / dCount;
    grey.dSpread = std::sqrt(qMax(0.0, dSquares / dCount - grey.dMean * grey.dMean));
    return grey;
}

// A picture whose grey values hardly differ shows no ridges: less than this spread is almost no contrast.
constexpr double g_dLowContrast = 8.0;
// Templates below this quality match poorly; their fingers are better enrolled again.
constexpr int g_nLowQuality = 50;

QString percent(int p_nPart, int p_nWhole)
{
    return QString::asprintf("%.2f%%", p_nWhole > 0 ? p_nPart * 100.0 / p_nWhole : 0.0);
}

// What the visit found, each sentence from the record and saying what it rests on.
QString findingsSection(const record_t& p_record)
{
    QStringList lstFound;
    const record_t::module_s& module = p_record.module();
    const record_t::port_s& port = p_record.port();
    if (!module.dtRead.isNull())
    {
        lstFound
            << vindal01mainWindow_c::tr(
                   "The module answered on port %1 at %2: firmware %3 of %4 %5, %6 of %7 templates stored.")
                   .arg(module.strPort, timeText(module.dtRead), module.strFirmware, module.strBuildDate,
                        module.strBuildTime, module.strTemplates, module.strCapacity);
    }
    if (!port.strName.isEmpty() && (module.dtRead.isNull() || module.dtRead < port.dtChosen))
    {
        lstFound << (port.bOpened ? vindal01mainWindow_c::tr("No module answered on port %1, chosen at %2.")
                                  : vindal01mainWindow_c::tr("Port %1 could not be opened at %2."))
                        .arg(port.strName, timeText(port.dtChosen));
    }
    if (!p_record.picture().isNull())
    {
        const greyValues_s grey = greyValues(p_record.picture());
        lstFound
            << vindal01mainWindow_c::tr(
                   "A sensor picture arrived complete with a correct checksum at %1 (%2 x %3 pixels); its "
                   "grey values lie between %4 and %5, spread %6.")
                       .arg(timeText(p_record.pictureTime()))
                       .arg(p_record.picture().width())
                       .arg(p_record.picture().height())
                       .arg(grey.nLowest)
                       .arg(grey.nHighest)
                       .arg(QString::asprintf("%.1f", grey.dSpread)) +
                   (grey.dSpread < g_dLowContrast
                        ? QLatin1Char(' ') + vindal01mainWindow_c::tr(
                                                 "The picture has almost no contrast: clean the sensor and "
                                                 "check that the finger lies flat on it.")
                        : QString());
    }
    if (p_record.badPictures() > 0)
    {
        lstFound
            << vindal01mainWindow_c::tr("Pictures with a wrong checksum: %1.").arg(p_record.badPictures());
    }
    const record_t::templateTable_s& table = p_record.templates();
    if (table.nListed >= 0)
    {
        QStringList lstLow;
        for (const record_t::templateRow_s& tmpl : table.vecRows)
        {
            if (tmpl.nQuality < g_nLowQuality)
            {
                lstLow << personFinger(tmpl.nPid, tmpl.nFid);
            }
        }
        QString strTemplates =
            vindal01mainWindow_c::tr(
                "%1 of %2 templates the module listed were read with correct checksums at %3.")
                .arg(table.vecRows.size())
                .arg(table.nListed)
                .arg(timeText(table.dtAnalysed));
        if (!lstLow.isEmpty())
        {
            strTemplates +=
                QLatin1Char(' ') +
                vindal01mainWindow_c::tr("%1 of them with a quality below %2%: enrol these fingers again: "
                                         "%3.")
                    .arg(lstLow.size())
                    .arg(g_nLowQuality)
                    .arg(lstLow.join(QStringLiteral("; ")));
        }
        if (table.nBadChecksums > 0)
        {
            strTemplates +=
                QLatin1Char(' ') +
                vindal01mainWindow_c::tr("Templates with a wrong checksum: %1.").arg(table.nBadChecksums);
        }
        lstFound << strTemplates;
    }
    const record_t::identification_s& ident = p_record.identifications();
    if (ident.nCount > 0)
    {
        lstFound << vindal01mainWindow_c::tr("%1 of %2 identifications recognised a stored finger.")
                        .arg(ident.nRecognised)
                        .arg(ident.nCount);
    }
    int nEnrolled = 0;
    int nNotEnrolled = 0;
    for (const record_t::operation_s& operation : p_record.operations())
    {
        if (operation.nKind == record_t::opEnrolment)
        {
            (operation.bOk ? nEnrolled : nNotEnrolled) += 1;
        }
    }
    if (nEnrolled + nNotEnrolled > 0)
    {
        lstFound << vindal01mainWindow_c::tr("%1 of %2 enrolments stored the finger.")
                        .arg(nEnrolled)
                        .arg(nEnrolled + nNotEnrolled);
    }
    if (p_record.operationTotal(record_t::opAdapterLost) > 0)
    {
        lstFound << vindal01mainWindow_c::tr("Connections to the module lost: %1.")
                        .arg(p_record.operationTotal(record_t::opAdapterLost));
    }
    if (p_record.operationTotal(record_t::opWatchdogAlarm) > 0)
    {
        lstFound << vindal01mainWindow_c::tr("Watchdog alarms, the module not answering: %1.")
                        .arg(p_record.operationTotal(record_t::opWatchdogAlarm));
    }
    if (p_record.unexpectedResponses() > 0)
    {
        lstFound << vindal01mainWindow_c::tr("Lines from the module that answered nothing asked of it: %1.")
                        .arg(p_record.unexpectedResponses());
    }
    if (lstFound.isEmpty())
    {
        lstFound << vindal01mainWindow_c::tr("Nothing was read from a module in this session.");
    }
    QString strHtml = section(vindal01mainWindow_c::tr("Findings")) + QStringLiteral("<ul>\n");
    for (const QString& strFound : qAsConst(lstFound))
    {
        strHtml += QStringLiteral("<li>%1</li>\n").arg(esc(strFound));
    }
    return strHtml + QStringLiteral("</ul>\n");
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
        strHtml +=
            row({vindal01mainWindow_c::tr("Firmware:"), module.strFirmware}) +
            row({vindal01mainWindow_c::tr("Firmware Build Date:"), module.strBuildDate}) +
            row({vindal01mainWindow_c::tr("Firmware Build Time:"), module.strBuildTime}) +
            row({vindal01mainWindow_c::tr("Capacity:"),
                 module.strTemplates + QStringLiteral(" / ") + module.strCapacity}) +
            row({vindal01mainWindow_c::tr("Read at:"),
                 vindal01mainWindow_c::tr("%1 on port %2").arg(timeText(module.dtRead), module.strPort)});
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
                       .arg(esc(vindal01mainWindow_c::tr(
                                    "The %1 oldest operations are not listed; the statistics count them.")
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
                               timeText(ident.dtLast) + QStringLiteral("  ") +
                                   (ident.bLastRecognised
                                        ? vindal01mainWindow_c::tr("person %1, %2")
                                              .arg(ident.strLastPid)
                                              .arg(humanHandWidget_c::fingerIdText(ident.nLastFid))
                                        : vindal01mainWindow_c::tr("not recognised"))};
    }
    const char* const aszLevels[] = {"HIGH", "NORMAL", "LOW"};
    for (auto it = p_record.matches().cbegin(); it != p_record.matches().cend(); ++it)
    {
        lstRows << QStringList{
            vindal01mainWindow_c::tr("Match statistics:"),
            vindal01mainWindow_c::tr("Personal ID %1, until %2").arg(it.key(), timeText(it->dtLast))};
        for (int nLevel = 0; nLevel < 3; ++nLevel)
        {
            // printf formats write a point as decimal separator, as the statistics page does.
            lstRows << QStringList{QString::fromLatin1(aszLevels[nLevel]),
                                   vindal01mainWindow_c::tr("%1 of %2 matched (%3)")
                                       .arg(it->anMatched[nLevel])
                                       .arg(it->anMeasured[nLevel])
                                       .arg(percent(it->anMatched[nLevel], it->anMeasured[nLevel]))};
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
    if (p_record.lateAnswers() > 0)
    {
        lstRows << QStringList{vindal01mainWindow_c::tr("Late answers of aborted operations:"),
                               QString::number(p_record.lateAnswers())};
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
    const greyValues_s grey = greyValues(image);
    return section(vindal01mainWindow_c::tr("Picture")) +
           QStringLiteral("<p>%1</p>\n<p><img src=\"%2\" width=\"%3\" height=\"%4\"></p>\n")
               .arg(esc(vindal01mainWindow_c::tr(
                            "Read at %1, %2 x %3 pixels; grey values %4 to %5, mean %6, spread %7.")
                            .arg(timeText(p_record.pictureTime()))
                            .arg(image.width())
                            .arg(image.height())
                            .arg(grey.nLowest)
                            .arg(grey.nHighest)
                            .arg(QString::asprintf("%.1f", grey.dMean))
                            .arg(QString::asprintf("%.1f", grey.dSpread))),
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
                        QString::number(tmpl.nQuality) +
                            (tmpl.nQuality < g_nLowQuality ? vindal01mainWindow_c::tr(" (low)") : QString()),
                        QString::number(tmpl.nMinutiae)});
    }
    return strHtml + QStringLiteral("</table>\n");
}

// The lines the technician and the customer sign, with the report's date.
QString signatureSection(const QDateTime& p_dtNow)
{
    const QString strDate = toolsGui_n::timeStampText(p_dtNow, QStringLiteral("yyyy-MM-dd"));
    const QString strLine =
        QStringLiteral("<td width=\"45%\"><br><br>______________________________<br>%1</td>");
    return section(vindal01mainWindow_c::tr("Signatures")) +
           QStringLiteral("<p>%1</p>\n")
               .arg(esc(vindal01mainWindow_c::tr("The customer has read this report."))) +
           QStringLiteral("<table cellspacing=\"0\" cellpadding=\"6\" width=\"100%\"><tr>") +
           strLine.arg(esc(vindal01mainWindow_c::tr("Technician, %1").arg(strDate))) +
           QStringLiteral("<td width=\"10%\"></td>") +
           strLine.arg(esc(vindal01mainWindow_c::tr("Customer, %1").arg(strDate))) +
           QStringLiteral("</tr></table>\n");
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

bool savePdf(QWidget* p_pParent, const QTextDocument& p_document, const QPageLayout& p_layout,
             const QDateTime& p_dtNow)
{
    const QString strPath = keepResults_n::askSaveFileName(
        p_pParent, vindal01mainWindow_c::tr("Save as PDF"), pdfFileName(p_dtNow),
        vindal01mainWindow_c::tr("PDF files (*.pdf)"), QStringLiteral("pdf"));
    if (!strPath.isEmpty())
    {
        // A copy is laid out for the PDF, so the shown document keeps the layout of the preview's printer.
        const std::unique_ptr<QTextDocument> pCopy(p_document.clone());
        return keepResults_n::saveBytes(p_pParent, strPath, pdfOf(*pCopy, p_layout));
    }
    return false;
}

} // namespace

std::unique_ptr<QTextDocument> document(const sessionRecord_c& p_record, const visit_s& p_visit,
                                        const QDateTime& p_dtNow)
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
    strHtml += visitSection(p_visit) + findingsSection(p_record) + moduleSection(p_record) +
               operationsSection(p_record) + statisticsSection(p_record) +
               pictureSection(p_record, pDocument.get()) + templatesSection(p_record) +
               signatureSection(p_dtNow);
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

QByteArray pdf(const sessionRecord_c& p_record, const visit_s& p_visit, const QDateTime& p_dtNow)
{
    return pdfOf(*document(p_record, p_visit, p_dtNow), a4Layout());
}

QString pdfFileName(const QDateTime& p_dtNow)
{
    return QStringLiteral("service-report-%1.pdf")
        .arg(toolsGui_n::timeStampText(p_dtNow, QStringLiteral("yyyyMMdd-HHmmss")));
}

bool askVisit(QWidget* p_pParent, visit_s& p_visit)
{
    QDialog dialog(p_pParent);
    dialog.setWindowTitle(vindal01mainWindow_c::tr("Service visit"));
    auto* pForm = new QFormLayout(&dialog);
    auto field = [&](const char* p_szLabel, const char* p_szName, const QString& p_strText)
    {
        auto* pEdit = new QLineEdit(p_strText, &dialog);
        pEdit->setObjectName(QLatin1String(p_szName));
        pEdit->setMinimumWidth(pEdit->fontMetrics().averageCharWidth() * 40);
        pForm->addRow(vindal01mainWindow_c::tr(p_szLabel), pEdit);
        return pEdit;
    };
    QLineEdit* pTechnician = field(QT_TRANSLATE_NOOP("vindal01mainWindow_c", "Technician:"),
                                   "visitTechnician", p_visit.strTechnician);
    QLineEdit* pCustomer = field(QT_TRANSLATE_NOOP("vindal01mainWindow_c", "Customer or site:"),
                                 "visitCustomer", p_visit.strCustomer);
    QLineEdit* pIpc =
        field(QT_TRANSLATE_NOOP("vindal01mainWindow_c", "Industrial PC (serial or asset number):"),
              "visitIpc", p_visit.strIpc);
    auto* pRemarks = new QPlainTextEdit(p_visit.strRemarks, &dialog);
    pRemarks->setObjectName(QStringLiteral("visitRemarks"));
    pRemarks->setTabChangesFocus(true);
    pForm->addRow(vindal01mainWindow_c::tr("Remarks:"), pRemarks);
    auto* pButtons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    pButtons->button(QDialogButtonBox::Ok)->setText(vindal01mainWindow_c::tr("Preview"));
    pForm->addRow(pButtons);
    QObject::connect(pButtons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(pButtons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    if (dialog.exec() != QDialog::Accepted)
    {
        return false;
    }
    p_visit = {pTechnician->text(), pCustomer->text(), pIpc->text(), pRemarks->toPlainText()};
    return true;
}

bool showPreview(QWidget* p_pParent, const sessionRecord_c& p_record, const visit_s& p_visit)
{
    // The report shows the session as it was when it was asked for, also while the dialogue goes on.
    const QDateTime dtNow = QDateTime::currentDateTime();
    const std::unique_ptr<QTextDocument> pDocument = document(p_record, p_visit, dtNow);
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
    bool bKept = false;
    QObject::connect(pActSave, &QAction::triggered, &dialog,
                     [&]() { bKept = savePdf(&dialog, *pDocument, printer.pageLayout(), dtNow) || bKept; });
    if (QToolBar* pToolBar = dialog.findChild<QToolBar*>())
    {
        pToolBar->addSeparator();
        pToolBar->addAction(pActSave);
    }
    // The preview is accepted when it has printed.
    return dialog.exec() == QDialog::Accepted || bKept;
}

} // namespace serviceReport_n
