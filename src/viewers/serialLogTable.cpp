#include "viewers/serialLogTable.h"

#include <QItemSelectionModel>

serialLogTable_c::serialLogTable_c(QWidget* parent) : QTreeView(parent)
{
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
}

void serialLogTable_c::selectAll()
{
    QAbstractItemModel* pModel = model();
    QItemSelectionModel* pSelection = selectionModel();
    if (!pModel || !pSelection || selectionMode() == SingleSelection || selectionMode() == NoSelection)
        return;
    const int nRows = pModel->rowCount(rootIndex());
    const int nColumns = pModel->columnCount(rootIndex());
    if (nRows == 0 || nColumns == 0)
        return;
    pSelection->select(
        QItemSelection(pModel->index(0, 0, rootIndex()), pModel->index(nRows - 1, nColumns - 1, rootIndex())),
        QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}
