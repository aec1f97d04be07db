#include "viewers/serialLogReader.h"

#include "viewers/dataViewer.h"
#include "viewers/serialLogModel.h"
#include "viewers/serialLogTable.h"

#include <QFile>
#include <QFileDialog>
#include <QItemSelectionModel>
#include <QMessageBox>
#include <QSplitter>
#include <QToolBar>

#include <algorithm>
#include <utility>
#include <vector>

namespace
{
constexpr qint64 identitySpan = 4096;

// The first and the last bytes of the file before p_nEnd: a log written anew differs in its first time
// stamp, one that was rewritten differs where the earlier reading stopped.
QByteArray identityBytes(QFile& p_file, qint64 p_nEnd)
{
    QByteArray baBytes;
    if (p_file.seek(0))
        baBytes = p_file.read(qMin(p_nEnd, identitySpan));
    const qint64 nTail = qMax<qint64>(0, p_nEnd - identitySpan);
    if (p_file.seek(nTail))
        baBytes += p_file.read(p_nEnd - nTail);
    return baBytes;
}
} // namespace

serialLogReader_c::serialLogReader_c(QWidget* parent) : QMainWindow(parent)
{
    QToolBar* pToolBar = addToolBar(tr("Main"));
    pToolBar->addAction(tr("Select File"), this, SLOT(slotSelectFileToOpen()));

    auto* pSplitter = new QSplitter(Qt::Horizontal, this);
    setCentralWidget(pSplitter);

    m_pModel = new serialLogModel_c(this);
    m_pModel->setHeaderLabels({tr("Date/Time"), tr("Direction"), tr("Number of Bytes")});
    m_pTable = new serialLogTable_c(pSplitter);
    m_pTable->setModel(m_pModel);
    m_pTable->setSelectionMode(QAbstractItemView::ContiguousSelection);

    m_pDataViewer = new dataViewer_c(pSplitter);

    connect(m_pTable->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &serialLogReader_c::slotItemSelectionChanged);
}

void serialLogReader_c::slotSelectFileToOpen()
{
    const QString strFn = QFileDialog::getOpenFileName(this, tr("Select serial trace to open"), QString(),
                                                       tr("Serial Log (serial*.log);;All files (*.*)"));
    if (!strFn.isEmpty())
        slotOpenFile(strFn);
}

bool serialLogReader_c::slotOpenFile(QString p_strFn)
{
    QFile file(p_strFn);
    if (!file.open(QIODevice::ReadOnly))
    {
        QMessageBox::warning(this, tr("File open error"), tr("Failed to open file\n\"%1\".").arg(p_strFn),
                             QMessageBox::Ok);
        return false;
    }

    setWindowTitle(p_strFn);
    // The rows go away: their selection too, and with it the bytes in the viewer.
    m_pTable->selectionModel()->clear();
    // The watchdog reloads the running log at every firing: a log that only grew is read on from where
    // the last reading stopped instead of parsing a million records again. Anything else loads afresh.
    const qint64 nEnd = m_pModel->completeEnd();
    const bool bGrown = !file.isSequential() && p_strFn == m_strLoadedFn && file.size() >= nEnd &&
                        identityBytes(file, nEnd) == m_baLoadedIdentity;
    m_strLoadedFn.clear();
    bool bOk = false;
    if (bGrown)
    {
        bOk = m_pModel->appendNew(file);
        m_pTable->scrollToTop();
    }
    else
    {
        bOk = (file.isSequential() || file.seek(0)) && m_pModel->load(file);
    }
    if (!bOk)
    {
        // A file that opens but cannot be read to its end (an I/O error) must not pass for a
        // complete log: the records read so far stay listed, and the technician is told.
        QMessageBox::warning(this, tr("File open error"),
                             tr("Failed to open file\n\"%1\".").arg(p_strFn) + QStringLiteral("\n\n") +
                                 file.errorString(),
                             QMessageBox::Ok);
        return false;
    }
    if (!file.isSequential())
    {
        m_strLoadedFn = p_strFn;
        m_baLoadedIdentity = identityBytes(file, m_pModel->completeEnd());
    }
    return true;
}

void serialLogReader_c::slotItemSelectionChanged()
{
    // Selected rows as sorted, merged runs, so the bytes are joined in file order whatever the
    // order in which the rows were selected.
    std::vector<std::pair<int, int>> vecRuns;
    for (const QItemSelectionRange& range : m_pTable->selectionModel()->selection())
        vecRuns.emplace_back(range.top(), range.bottom());
    std::sort(vecRuns.begin(), vecRuns.end());

    QByteArray baData;
    int nFirst = -1;
    int nLast = -2;
    auto flush = [&]()
    {
        if (nFirst >= 0)
            baData.append(m_pModel->bytesOfRows(nFirst, nLast));
    };
    for (const auto& run : vecRuns)
    {
        if (run.first <= nLast + 1 && nFirst >= 0)
        {
            nLast = std::max(nLast, run.second);
            continue;
        }
        flush();
        nFirst = run.first;
        nLast = run.second;
    }
    flush();

    m_pDataViewer->setData(baData);
    m_pDataViewer->selectBestView();
}

void serialLogReader_c::selectRows(int p_nMode)
{
    QItemSelectionModel* pSelection = m_pTable->selectionModel();
    pSelection->clear();
    if (p_nMode == 0)
    {
        pSelection->clear();
        m_pDataViewer->setData(QByteArray());
        return;
    }
    const int nRows = m_pModel->rowCount();
    if (nRows == 0 || (p_nMode != 1 && p_nMode != 2))
        return;

    const int nLast = nRows - 1;
    int nFirst = nLast;
    if (p_nMode == 2)
    {
        const QString strDirection = m_pModel->directionText(nLast);
        while (nFirst > 0 && m_pModel->directionText(nFirst - 1) == strDirection)
            --nFirst;
    }
    // One range in one step: a run of many thousand rows would otherwise join its bytes once per row.
    pSelection->select(QItemSelection(m_pModel->index(nFirst, 0),
                                      m_pModel->index(nLast, serialLogModel_c::columnCount_ - 1)),
                       QItemSelectionModel::Select);
    m_pTable->scrollTo(m_pModel->index(nLast, 0));
}
