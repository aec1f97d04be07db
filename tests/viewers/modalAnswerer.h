// Answers the modal dialogs that a test action opens: file dialogs get a file name, message boxes a click.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QStringList>
#include <QTimer>

class modalAnswerer_c : public QObject
{
public:
    // p_strFileName is entered into every file dialog; an empty name cancels it.
    explicit modalAnswerer_c(const QString& p_strFileName = QString()) : m_strFileName(p_strFileName)
    {
        connect(&m_timer, &QTimer::timeout, this, &modalAnswerer_c::answer);
        m_timer.start(20);
    }

    // "title|text" of every message box seen, in order.
    QStringList messages() const { return m_lstMessages; }
    int fileDialogs() const { return m_nFileDialogs; }

private:
    void answer()
    {
        QWidget* pModal = QApplication::activeModalWidget();
        if (auto* pBox = qobject_cast<QMessageBox*>(pModal))
        {
            m_lstMessages.append(pBox->windowTitle() + QLatin1Char('|') + pBox->text());
            QAbstractButton* pButton = pBox->button(QMessageBox::Ok);
            if (!pButton)
                pButton = pBox->buttons().value(0);
            if (pButton)
                pButton->click();
        }
        else if (auto* pDialog = qobject_cast<QFileDialog*>(pModal))
        {
            ++m_nFileDialogs;
            if (m_strFileName.isEmpty())
            {
                pDialog->reject();
                return;
            }
            // The dialog ignores selectFile() while its name field has the focus, so the name is typed
            // into the field itself.
            if (auto* pEdit = pDialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
                pEdit->setText(m_strFileName);
            else
                pDialog->selectFile(m_strFileName);
            static_cast<QDialog*>(pDialog)->accept();
        }
    }

    QTimer m_timer;
    QString m_strFileName;
    QStringList m_lstMessages;
    int m_nFileDialogs = 0;
};
