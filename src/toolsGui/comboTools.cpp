#include "toolsGui/comboTools.h"

#include <QComboBox>

namespace toolsGui_n
{
bool selectComboItemByData(QComboBox* p_pCombo, const QVariant& p_var)
{
    if (!p_pCombo)
        return false;
    for (int nIndex = 0; nIndex < p_pCombo->count(); ++nIndex)
    {
        if (p_pCombo->itemData(nIndex, Qt::UserRole) == p_var)
        {
            p_pCombo->setCurrentIndex(nIndex);
            return true;
        }
    }
    return false;
}
} // namespace toolsGui_n
