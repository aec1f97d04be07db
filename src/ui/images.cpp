#include "images.h"

// The XPM files are drawn by tools/imageGenerator and compiled in, so these images are there
// even when the resource file is not.
#include "../../resources/xpm/debug.xpm"
#include "../../resources/xpm/info.xpm"
#include "../../resources/xpm/lampGreen.xpm"
#include "../../resources/xpm/lampRed.xpm"
#include "../../resources/xpm/lampYellow.xpm"
#include "../../resources/xpm/start.xpm"
#include "../../resources/xpm/stop.xpm"
#include "../../resources/xpm/update.xpm"

namespace images_n
{
QPixmap start()
{
    return QPixmap(start_xpm);
}
QPixmap stop()
{
    return QPixmap(stop_xpm);
}
QPixmap info()
{
    return QPixmap(info_xpm);
}
QPixmap lampYellow()
{
    return QPixmap(lampYellow_xpm);
}
QPixmap lampGreen()
{
    return QPixmap(lampGreen_xpm);
}
QPixmap lampRed()
{
    return QPixmap(lampRed_xpm);
}
QPixmap debug()
{
    return QPixmap(debug_xpm);
}
QPixmap update()
{
    return QPixmap(update_xpm);
}
} // namespace images_n
