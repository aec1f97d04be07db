#include "serialPort/comboItemSelection.h"

#include <QComboBox>

namespace serialPort_n
{

bool selectComboItemByData(QComboBox* p_pCombo, const QVariant& p_value)
{
    if (!p_pCombo)
        return false;
    for (int nIndex = 0; nIndex < p_pCombo->count(); ++nIndex)
    {
        if (p_pCombo->itemData(nIndex, Qt::UserRole) == p_value)
        {
            p_pCombo->setCurrentIndex(nIndex);
            return true;
        }
    }
    return false;
}

} // namespace serialPort_n
