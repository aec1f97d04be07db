// Sets the icon of an action from a pixmap signal, and forgets the action once it is destroyed.
#pragma once

#include <QObject>
#include <QPixmap>

class QAction;

namespace toolsGui_n
{
class actionIconSetter_c : public QObject
{
    Q_OBJECT

public:
    // Tracks p_pAction (not owned, may be null) from now on; the setter itself belongs to p_pParent.
    explicit actionIconSetter_c(QAction* p_pAction, QObject* p_pParent = nullptr);

    // The tracked action; null once it has been destroyed.
    QAction* action() const { return m_pAction; }

public slots:
    void setIcon(QPixmap p_pm);

private slots:
    void slotObjectDestroyed();

private:
    QAction* m_pAction = nullptr;
};
} // namespace toolsGui_n
