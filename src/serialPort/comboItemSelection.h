// Selecting a combo box entry by the data it carries, as the port lists need it.

#pragma once

#include <QVariant>

class QComboBox;

namespace serialPort_n
{

// Makes the first entry whose Qt::UserRole data equals p_value current and returns true; leaves the
// combo box as it is and returns false when no entry matches.
bool selectComboItemByData(QComboBox* p_pCombo, const QVariant& p_value);

} // namespace serialPort_n
