#include "serialPort/updateIcon.h"

#include <QApplication>
#include <QStyle>

namespace serialPort_n
{

QIcon updateIcon()
{
    // The style's reload arrows until the program's own 32x32 XPM picture is compiled in.
    return QApplication::style()->standardIcon(QStyle::SP_BrowserReload);
}

} // namespace serialPort_n
