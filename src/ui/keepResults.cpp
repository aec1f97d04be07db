#include "ui/keepResults.h"

#include "toolsGui/textTools.h"
#include "ui/vindal01mainWindow.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPixmap>
#include <QSaveFile>
#include <QTreeWidget>

namespace keepResults_n
{

// The menus belong to the main window: their texts are translated in its context.
namespace
{

QStringList headerFields(const QTreeWidget* p_pTree)
{
    QStringList lstFields;
    const QTreeWidgetItem* pHeader = p_pTree->headerItem();
    for (int nColumn = 0; nColumn < p_pTree->columnCount(); ++nColumn)
    {
        lstFields << pHeader->text(nColumn);
    }
    return lstFields;
}

// The rows in the order the table shows them (it may be sorted by any column).
QList<QStringList> rowFields(const QTreeWidget* p_pTree, bool p_bSelectedOnly)
{
    QList<QStringList> lstRows;
    for (int nRow = 0; nRow < p_pTree->topLevelItemCount(); ++nRow)
    {
        const QTreeWidgetItem* pItem = p_pTree->topLevelItem(nRow);
        if (p_bSelectedOnly && !pItem->isSelected())
        {
            continue;
        }
        QStringList lstFields;
        for (int nColumn = 0; nColumn < p_pTree->columnCount(); ++nColumn)
        {
            lstFields << pItem->text(nColumn);
        }
        lstRows << lstFields;
    }
    return lstRows;
}

// A field as spreadsheets read it: in double quotes, its own quotes doubled, when it holds the separator, a
// quote or a line break; as it is otherwise, so that a number stays a number.
QString quotedField(QString p_strField, QChar p_chSeparator)
{
    if (!p_strField.contains(p_chSeparator) && !p_strField.contains(QLatin1Char('"')) &&
        !p_strField.contains(QLatin1Char('\r')) && !p_strField.contains(QLatin1Char('\n')))
    {
        return p_strField;
    }
    p_strField.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + p_strField + QLatin1Char('"');
}

QString joinedLines(const QList<QStringList>& p_lstRows, QChar p_chSeparator, const QString& p_strLineEnd)
{
    QString strText;
    for (const QStringList& lstFields : p_lstRows)
    {
        QStringList lstQuoted;
        for (const QString& strField : lstFields)
        {
            lstQuoted << quotedField(strField, p_chSeparator);
        }
        strText += lstQuoted.join(p_chSeparator) + p_strLineEnd;
    }
    return strText;
}

void saveImage(QLabel* p_pLabel, const QPixmap& p_pixImage)
{
    const QString strPath = askSaveFileName(
        p_pLabel, vindal01mainWindow_c::tr("Save image"), imageFileName(QDateTime::currentDateTime()),
        vindal01mainWindow_c::tr("PNG images (*.png)"), QStringLiteral("png"));
    if (strPath.isEmpty())
    {
        return;
    }
    QByteArray baPng;
    QBuffer buffer(&baPng);
    buffer.open(QIODevice::WriteOnly);
    if (!p_pixImage.save(&buffer, "PNG"))
    {
        QMessageBox::warning(p_pLabel, vindal01mainWindow_c::tr("Save failed"),
                             vindal01mainWindow_c::tr("The picture could not be encoded as PNG."),
                             QMessageBox::Ok);
        return;
    }
    saveBytes(p_pLabel, strPath, baPng);
}

void showImageMenu(QLabel* p_pLabel, const QPoint& p_pos)
{
    // The picture the technician right-clicked: in image mode the next capture may replace the shown one
    // while the menu is open.
    const QPixmap pixImage = p_pLabel->pixmap(Qt::ReturnByValue);
    const bool bHasPicture = !pixImage.isNull();
    QMenu menu(p_pLabel);
    QAction* pActSave = menu.addAction(vindal01mainWindow_c::tr("Save image..."));
    QAction* pActCopy = menu.addAction(vindal01mainWindow_c::tr("Copy image"));
    pActSave->setEnabled(bHasPicture);
    pActCopy->setEnabled(bHasPicture);
    QAction* pChosen = menu.exec(p_pLabel->mapToGlobal(p_pos));
    if (pChosen == pActSave)
    {
        saveImage(p_pLabel, pixImage);
    }
    else if (pChosen == pActCopy)
    {
        QGuiApplication::clipboard()->setPixmap(pixImage);
    }
}

void showTableMenu(QTreeWidget* p_pTree, const QPoint& p_pos)
{
    QMenu menu(p_pTree);
    QAction* pActCopy = menu.addAction(vindal01mainWindow_c::tr("Copy"));
    QAction* pActSave = menu.addAction(vindal01mainWindow_c::tr("Save as CSV..."));
    QAction* pChosen = menu.exec(p_pTree->viewport()->mapToGlobal(p_pos));
    if (pChosen == pActCopy)
    {
        QGuiApplication::clipboard()->setText(tableText(p_pTree));
    }
    else if (pChosen == pActSave)
    {
        const QString strPath = askSaveFileName(
            p_pTree, vindal01mainWindow_c::tr("Save as CSV"), tableFileName(QDateTime::currentDateTime()),
            vindal01mainWindow_c::tr("CSV files (*.csv)"), QStringLiteral("csv"));
        if (!strPath.isEmpty())
        {
            saveBytes(p_pTree, strPath, tableCsv(p_pTree));
        }
    }
}

} // namespace

void offerImage(QLabel* p_pLabel)
{
    p_pLabel->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(p_pLabel, &QWidget::customContextMenuRequested, p_pLabel,
                     [p_pLabel](const QPoint& p_pos) { showImageMenu(p_pLabel, p_pos); });
}

void offerTable(QTreeWidget* p_pTree)
{
    // Several rows can be picked for "Copy" with Shift and Ctrl, as in any table.
    p_pTree->setSelectionMode(QAbstractItemView::ExtendedSelection);
    p_pTree->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(p_pTree, &QWidget::customContextMenuRequested, p_pTree,
                     [p_pTree](const QPoint& p_pos) { showTableMenu(p_pTree, p_pos); });
}

QString askSaveFileName(QWidget* p_pParent, const QString& p_strTitle, const QString& p_strProposed,
                        const QString& p_strFilter, const QString& p_strSuffix)
{
    QFileDialog dialog(p_pParent, p_strTitle, QDir::current().filePath(p_strProposed), p_strFilter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(p_strSuffix);
    if (dialog.exec() != QDialog::Accepted)
    {
        return QString();
    }
    return dialog.selectedFiles().value(0);
}

QString imageFileName(const QDateTime& p_dtNow)
{
    return QStringLiteral("fingerprint-%1.png")
        .arg(toolsGui_n::timeStampText(p_dtNow, QStringLiteral("yyyyMMdd-HHmmss")));
}

QString tableFileName(const QDateTime& p_dtNow)
{
    return QStringLiteral("templates-%1.csv")
        .arg(toolsGui_n::timeStampText(p_dtNow, QStringLiteral("yyyyMMdd-HHmmss")));
}

QString tableText(const QTreeWidget* p_pTree)
{
    QList<QStringList> lstRows = rowFields(p_pTree, true);
    if (lstRows.isEmpty())
    {
        lstRows = rowFields(p_pTree, false);
    }
    lstRows.prepend(headerFields(p_pTree));
    return joinedLines(lstRows, QLatin1Char('\t'), QStringLiteral("\n"));
}

QByteArray tableCsv(const QTreeWidget* p_pTree)
{
    QList<QStringList> lstRows = rowFields(p_pTree, false);
    lstRows.prepend(headerFields(p_pTree));
    // The byte-order mark tells spreadsheets that the file is UTF-8 rather than the system's code page.
    return "\xef\xbb\xbf" + joinedLines(lstRows, QLatin1Char(','), QStringLiteral("\r\n")).toUtf8();
}

bool saveBytes(QWidget* p_pParent, const QString& p_strPath, const QByteArray& p_baData)
{
    QSaveFile file(p_strPath);
    if (file.open(QIODevice::WriteOnly) && file.write(p_baData) == p_baData.size() && file.commit())
    {
        return true;
    }
    const QString strReason = file.errorString();
    file.cancelWriting();
    QMessageBox::warning(p_pParent, vindal01mainWindow_c::tr("Save failed"),
                         vindal01mainWindow_c::tr("The file %1 could not be saved:\n%2")
                             .arg(QDir::toNativeSeparators(p_strPath), strReason),
                         QMessageBox::Ok);
    return false;
}

} // namespace keepResults_n
