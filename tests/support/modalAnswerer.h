// Answers the modal boxes and input dialogs a test provokes, and remembers what they said.
#pragma once

#include <QApplication>
#include <QInputDialog>
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

    // Clicks the message box button with this standard role, or with this text.
    static modalAnswerer_c* clicking(QMessageBox::StandardButton p_nButton)
    {
        return new modalAnswerer_c([p_nButton](QWidget* p_pWidget) {
            if (auto* pBox = qobject_cast<QMessageBox*>(p_pWidget))
            {
                pBox->button(p_nButton) != nullptr ? pBox->button(p_nButton)->click() : pBox->reject();
            }
        });
    }
    static modalAnswerer_c* clickingText(const QString& p_strText)
    {
        return new modalAnswerer_c([p_strText](QWidget* p_pWidget) {
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

    std::function<void(QWidget*)> m_fnAnswer;
    QTimer m_timer;
    QList<seen_t> m_lstSeen;
    QWidget* m_pLastAnswered = nullptr;
};
