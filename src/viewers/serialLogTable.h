// The record table of the serial log reader: a flat list of rows that stays fast with a million records.
#pragma once

#include <QTreeView>

class serialLogTable_c : public QTreeView
{
public:
    explicit serialLogTable_c(QWidget* parent = nullptr);

    // Selects all rows as one range (Ctrl+A); the tree view's own way walks every row.
    void selectAll() override;
};
