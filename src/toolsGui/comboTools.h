// Combo box helpers of the GUI tools.
#pragma once

#include <QVariant>

class QComboBox;

namespace toolsGui_n
{
// Makes the first entry whose Qt::UserRole data equals p_var the current one; false (and the current entry
// left alone) when no entry matches.
bool selectComboItemByData(QComboBox* p_pCombo, const QVariant& p_var);
} // namespace toolsGui_n
