// Answers the modal boxes, input and file dialogs a test provokes, and remembers what they said.
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

    // Clicks the message box button with this standard role, or with this text.
    static modalAnswerer_c* clicking(QMessageBox::StandardButton p_nButton)
    {
        return new modalAnswerer_c(
            [p_nButton](QWidget* p_pWidget)
            {
                if (auto* pBox = qobject_cast<QMessageBox*>(p_pWidget))
                {
                    pBox->button(p_nButton) != nullptr ? pBox->button(p_nButton)->click() : pBox->reject();
                }
            });
    }
    static modalAnswerer_c* clickingText(const QString& p_strText)
    {
        return new modalAnswerer_c(
            [p_strText](QWidget* p_pWidget)
            {
                if (auto* pBox = qobject_cast<QMessageBox*>(p_pWidget))
                {
                    for (QAbstractButton* pButton : pBox->buttons())
                    {
                        if (pButton->text() == p_strText)
                        {
                            pButton->click();
                            return;
                        }
                    }
                }
            });
    }

    const QList<seen_t>& seen() const { return m_lstSeen; }
    int count() const { return m_lstSeen.size(); }
    int fileDialogs() const { return m_nFileDialogs; }
    // "title|text" of every message box seen, in order.
    QStringList messages() const { return m_lstMessages; }

private:
    void answer()
    {
        QWidget* pModal = QApplication::activeModalWidget();
        if (pModal == nullptr || pModal == m_pLastAnswered)
        {
            return;
        }
        seen_t seen{pModal->windowTitle(), QString()};
        if (auto* pBox = qobject_cast<QMessageBox*>(pModal))
        {
            seen.strText = pBox->text();
            m_lstMessages.append(seen.strTitle + QLatin1Char('|') + seen.strText);
        }
        else if (qobject_cast<QFileDialog*>(pModal) != nullptr)
        {
            ++m_nFileDialogs;
        }
        else if (auto* pInput = qobject_cast<QInputDialog*>(pModal))
        {
            seen.strText = pInput->labelText() + QLatin1Char('|') + pInput->textValue();
        }
        m_lstSeen.append(seen);
        m_pLastAnswered = pModal;
        m_fnAnswer(pModal);
        m_pLastAnswered = nullptr;
    }

    static void answerFileOrOk(QWidget* p_pWidget, const QString& p_strFileName)
    {
        if (auto* pBox = qobject_cast<QMessageBox*>(p_pWidget))
        {
            QAbstractButton* pButton = pBox->button(QMessageBox::Ok);
            pButton = pButton != nullptr ? pButton : pBox->buttons().value(0);
            if (pButton != nullptr)
            {
                pButton->click();
            }
        }
        else if (auto* pDialog = qobject_cast<QFileDialog*>(p_pWidget))
        {
            if (p_strFileName.isEmpty())
            {
                pDialog->reject();
                return;
            }
            // The dialog ignores selectFile() while its name field has the focus, so the name is typed
            // into the field itself.
            if (auto* pEdit = pDialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
            {
                pEdit->setText(p_strFileName);
            }
            else
            {
                pDialog->selectFile(p_strFileName);
            }
            static_cast<QDialog*>(pDialog)->accept();
        }
    }

    std::function<void(QWidget*)> m_fnAnswer;
    QStringList m_lstMessages;
    int m_nFileDialogs = 0;
    QTimer m_timer;
    QList<seen_t> m_lstSeen;
    QWidget* m_pLastAnswered = nullptr;
};
