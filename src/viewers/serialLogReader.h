// A window that lists the records of a serial log file and shows the bytes of the selected ones.
#pragma once

#include "viewers/serialLogTable.h"

#include <QMainWindow>

class dataViewer_c;
class serialLogModel_c;

class serialLogReader_c : public QMainWindow
{
    Q_OBJECT

public:
    explicit serialLogReader_c(QWidget* parent = nullptr);

    // 0: no selection, empty viewer; 1: the last row; 2: the last run of rows with the last row's
    // direction. Any other value only clears the selection.
    void selectRows(int p_nMode);

    serialLogTable_c* table() const { return m_pTable; }
    serialLogModel_c* model() const { return m_pModel; }
    dataViewer_c* dataViewer() const { return m_pDataViewer; }

public slots:
    void slotSelectFileToOpen();
    bool slotOpenFile(QString p_strFn);
    void slotItemSelectionChanged();

private:
    // A model over compact records rather than one item per record: logs of a million records
    // load in about a second and scroll without delay.
    serialLogModel_c* m_pModel = nullptr;
    serialLogTable_c* m_pTable = nullptr;
    dataViewer_c* m_pDataViewer = nullptr;
    // The file the rows were read from, and its first and last bytes up to where its last complete
    // line ends: the same file that has only grown since is read on from there.
    QString m_strLoadedFn;
    QByteArray m_baLoadedIdentity;
};
