// The picture of the "Update serial port list" buttons, shared by the selector and the setup dialog.

#pragma once

#include <QIcon>

namespace serialPort_n
{

// Two arrows forming a circle. The one place where this picture is chosen.
QIcon updateIcon();

} // namespace serialPort_n
