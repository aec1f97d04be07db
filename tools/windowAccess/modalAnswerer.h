// Answers the modal boxes, input and file dialogs that a test, the soak or a tool provokes.
#pragma once

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <functional>

class modalAnswerer_c : public QObject
{
public:
    struct seen_t
    {
        QString strTitle;
        QString strText;
    };

    // p_fnAnswer is called for every modal widget that shows up; it closes the widget.
    explicit modalAnswerer_c(std::function<void(QWidget*)> p_fnAnswer) : m_fnAnswer(std::move(p_fnAnswer))
    {
        connect(&m_timer, &QTimer::timeout, this, &modalAnswerer_c::answer);
        m_timer.start(20);
    }
    // File dialogs get p_strFileName typed in (an empty name cancels them); message boxes are answered
    // with OK, or their first button.
    explicit modalAnswerer_c(const QString& p_strFileName = QString())
        : modalAnswerer_c([p_strFileName](QWidget* p_pWidget) { answerFileOrOk(p_pWidget, p_strFileName); })
    {
    }
    // Clicks the message box button with this standard role (rejects a box without it), or with this text.
    static modalAnswerer_c* clicking(QMessageBox::StandardButton p_nButton)
    {
        return clickingWhere([p_nButton](QMessageBox* p_pBox, QAbstractButton* p_pButton)
                             { return p_pButton == p_pBox->button(p_nButton); },
                             true);
    }
    static modalAnswerer_c* clickingText(const QString& p_strText)
    {
        return clickingWhere([p_strText](QMessageBox*, QAbstractButton* p_pButton)
                             { return p_pButton->text() == p_strText; },
                             false);
    }

    // The default answer: a file dialog gets the name typed in (an empty name cancels it), a message box its
    // OK or first button.
    static void answerFileOrOk(QWidget* p_pWidget, const QString& p_strFileName)
    {
        if (auto* pBox = qobject_cast<QMessageBox*>(p_pWidget))
        {
            QAbstractButton* pButton = pBox->button(QMessageBox::Ok);
            pButton = pButton != nullptr ? pButton : pBox->buttons().value(0);
            if (pButton != nullptr)
                pButton->click();
        }
        else if (auto* pDialog = qobject_cast<QFileDialog*>(p_pWidget))
        {
            // The dialog ignores selectFile() while its name field has the focus: the name is typed there.
            auto* pEdit = pDialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            if (p_strFileName.isEmpty())
                return pDialog->reject();
            pEdit != nullptr ? pEdit->setText(p_strFileName) : pDialog->selectFile(p_strFileName);
            static_cast<QDialog*>(pDialog)->accept();
        }
    }

    const QList<seen_t>& seen() const { return m_lstSeen; }
    int count() const { return m_lstSeen.size(); }
    int fileDialogs() const { return m_nFileDialogs; }
    // "title|text" of every message box seen, in order.
    QStringList messages() const { return m_lstMessages; }

private:
    static modalAnswerer_c*
    clickingWhere(const std::function<bool(QMessageBox*, QAbstractButton*)>& p_fnWanted,
                  bool p_bRejectOtherwise)
    {
        return new modalAnswerer_c(
            [=](QWidget* p_pWidget)
            {
                auto* pBox = qobject_cast<QMessageBox*>(p_pWidget);
                for (QAbstractButton* pButton : pBox != nullptr ? pBox->buttons() : QList<QAbstractButton*>())
                    if (p_fnWanted(pBox, pButton))
                        return pButton->click();
                if (pBox != nullptr && p_bRejectOtherwise)
                    pBox->reject();
            });
    }

    void answer()
    {
        QWidget* pModal = QApplication::activeModalWidget();
        if (pModal == nullptr || pModal == m_pLastAnswered)
            return;
        seen_t seen{pModal->windowTitle(), QString()};
        if (auto* pBox = qobject_cast<QMessageBox*>(pModal))
            m_lstMessages.append(seen.strTitle + QLatin1Char('|') + (seen.strText = pBox->text()));
        else if (auto* pInput = qobject_cast<QInputDialog*>(pModal))
            seen.strText = pInput->labelText() + QLatin1Char('|') + pInput->textValue();
        m_nFileDialogs += qobject_cast<QFileDialog*>(pModal) != nullptr ? 1 : 0;
        m_lstSeen.append(seen);
        m_pLastAnswered = pModal;
        m_fnAnswer(pModal);
        m_pLastAnswered = nullptr;
    }

    std::function<void(QWidget*)> m_fnAnswer;
    QStringList m_lstMessages;
    int m_nFileDialogs = 0;
    QTimer m_timer;
    QList<seen_t> m_lstSeen;
    QWidget* m_pLastAnswered = nullptr;
};
