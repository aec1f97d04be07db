#include "toolsGui/actionIconSetter.h"

#include <QAction>
#include <QIcon>

namespace toolsGui_n
{
actionIconSetter_c::actionIconSetter_c(QAction* p_pAction, QObject* p_pParent)
    : QObject(p_pParent), m_pAction(p_pAction)
{
    if (m_pAction)
        connect(m_pAction, &QObject::destroyed, this, &actionIconSetter_c::slotObjectDestroyed);
}

void actionIconSetter_c::setIcon(QPixmap p_pm)
{
    if (m_pAction)
        m_pAction->setIcon(QIcon(p_pm));
}

void actionIconSetter_c::slotObjectDestroyed()
{
    m_pAction = nullptr;
}
} // namespace toolsGui_n
