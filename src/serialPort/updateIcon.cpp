#include "serialPort/updateIcon.h"

#include "ui/images.h"

namespace serialPort_n
{

QIcon updateIcon()
{
    return QIcon(images_n::update());
}

} // namespace serialPort_n
