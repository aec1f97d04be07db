// vindal01-bench-servicereport: how long the service report of a long session takes to write as PDF: a
// shift of 10,000 operations (enrolments, refusals, deletions of a finger and of a person, COM server
// starts, watchdog alarms), identifications, a match statistic, a picture and a table of 500 templates.
// The report lists the operations the record keeps (2,000 by default, then 10,000 with the bound raised).
#include "benchSupport.h"
#include "ui/serviceReport.h"
#include "ui/sessionRecord.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTextDocument>

#include <cstdio>

namespace
{

void fill(sessionRecord_c& p_record, int p_nOperations)
{
    p_record.notePort(QStringLiteral("ttyUSB0"), {}, true);
    p_record.noteModule(QStringLiteral("VD01 V2.13"), QStringLiteral("Mar 14 2019"),
                        QStringLiteral("10:42:17"), QStringLiteral("500"), QStringLiteral("500"));
    for (int i = 0; i < p_nOperations; ++i)
    {
        const QVariantMap mapParams = {{QStringLiteral("pid"), 1000 + i}, {QStringLiteral("fid"), i % 10}};
        switch (i % 6)
        {
        case 0:
            p_record.noteEnrolment(
                mapParams,
                QStringLiteral("=OK Enroll ID=%1 Group=1 BKNum=3 Quality=%2").arg(1000 + i).arg(40 + i % 60));
            break;
        case 1:
            p_record.noteEnrolment(mapParams, QStringLiteral("=NO DoubleFP"));
            break;
        case 2:
            p_record.noteDeletion(sessionRecord_c::opDeleteFinger, 1000 + i, i % 10);
            p_record.noteDeletionAnswer(QStringLiteral("=OK Del"));
            break;
        case 3:
            p_record.noteDeletion(sessionRecord_c::opDeletePerson, 1000 + i, -1);
            for (int nFid = 0; nFid < 10; ++nFid)
            {
                p_record.noteDeletionAnswer(nFid % 3 == 0 ? QStringLiteral("=OK Del")
                                                          : QStringLiteral("=NO Unreg"));
            }
            break;
        case 4:
            p_record.noteComServerStart(QStringLiteral("ttyACM0"), QStringLiteral("900103"), i % 12 == 4, 7);
            break;
        default:
            p_record.noteWatchdogAlarm(7);
            break;
        }
        p_record.noteIdentification(i % 4 == 0 ? QStringLiteral("=NO Search NotFound")
                                               : QStringLiteral("=OK Search ID=12, BKNum=5"));
    }
    for (int nCycle = 0; nCycle < 100; ++nCycle)
    {
        for (int nLevel = 0; nLevel < 3; ++nLevel)
        {
            p_record.noteMatch(QStringLiteral("12"), nLevel, nCycle > 2 - nLevel);
        }
    }
    QImage image(256, 288, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
    {
        for (int x = 0; x < image.width(); ++x)
        {
            const int nGrey = (x * 7 + y * 13) % 256;
            image.setPixel(x, y, qRgb(nGrey, nGrey, nGrey));
        }
    }
    p_record.notePicture(image);
    p_record.startTemplateTable(500);
    for (int i = 0; i < 500; ++i)
    {
        p_record.addTemplate({1000 + i / 10, i % 10, 40 + i % 60, 20 + i % 30});
    }
}

} // namespace

int main(int argc, char* argv[])
{
    bench_n::useOffscreenUnlessChosen();
    QApplication app(argc, argv);
    QApplication::setApplicationVersion(QStringLiteral("bench"));
    const QDateTime dtNow = QDateTime::currentDateTime();
    const serviceReport_n::visit_s visit = {QStringLiteral("Technician"), QStringLiteral("Site"),
                                            QStringLiteral("IPC 1"), QStringLiteral("Remarks")};
    for (int nBound : {2000, 10000})
    {
        sessionRecord_c record;
        record.setOperationBound(nBound);
        fill(record, 10000);
        QElapsedTimer timer;
        timer.start();
        const double dCpu = bench_n::cpuSeconds();
        const std::unique_ptr<QTextDocument> pDocument = serviceReport_n::document(record, visit, dtNow);
        const double dLaidOut = double(timer.nsecsElapsed()) / 1e9;
        const QByteArray baPdf = serviceReport_n::pdf(record, visit, dtNow);
        const double dPdf = double(timer.nsecsElapsed()) / 1e9 - dLaidOut;
        // The PDF figure is the whole write as the save does it: the document again, laid out and painted.
        std::printf("10000 operations, %5d listed, 500 templates: document alone %.2f s, whole PDF %.2f s "
                    "(%.2f s CPU for both), %lld bytes, resident %lld KiB\n",
                    int(record.operations().size()), dLaidOut, dPdf, bench_n::cpuSeconds() - dCpu,
                    static_cast<long long>(baPdf.size()), static_cast<long long>(bench_n::residentKiB()));
    }
    return 0;
}
