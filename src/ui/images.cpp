#include "images.h"

#include <QGuiApplication>
#include <QPixmapCache>

// The XPM files are drawn by tools/imageGenerator and compiled in, so these images are there
// even when the resource file is not.
#include "../../resources/xpm/debug.xpm"
#include "../../resources/xpm/debug@2x.xpm"
#include "../../resources/xpm/info.xpm"
#include "../../resources/xpm/info@2x.xpm"
#include "../../resources/xpm/lampGreen.xpm"
#include "../../resources/xpm/lampGreen@2x.xpm"
#include "../../resources/xpm/lampRed.xpm"
#include "../../resources/xpm/lampRed@2x.xpm"
#include "../../resources/xpm/lampYellow.xpm"
#include "../../resources/xpm/lampYellow@2x.xpm"
#include "../../resources/xpm/start.xpm"
#include "../../resources/xpm/start@2x.xpm"
#include "../../resources/xpm/stop.xpm"
#include "../../resources/xpm/stop@2x.xpm"
#include "../../resources/xpm/update.xpm"
#include "../../resources/xpm/update@2x.xpm"

namespace
{
// Where the program is scaled (a screen denser than an ordinary one) the drawing with twice the pixels,
// marked as such, so that it is shown at the same size and sharp.
// Decoding an XPM costs far more than the lamp it shows at every port change: each is decoded once.
QPixmap forScreen(const char* const* p_ppXpm, const char* const* p_ppXpm2x)
{
    const bool bDense = qGuiApp->devicePixelRatio() > 1.0;
    const QString strKey = QStringLiteral("vindal01-xpm-%1").arg(quintptr(bDense ? p_ppXpm2x : p_ppXpm));
    QPixmap pix;
    if (QPixmapCache::find(strKey, &pix))
        return pix;
    pix = QPixmap(bDense ? p_ppXpm2x : p_ppXpm);
    pix.setDevicePixelRatio(bDense ? 2.0 : 1.0);
    QPixmapCache::insert(strKey, pix);
    return pix;
}
} // namespace

namespace images_n
{
QPixmap start()
{
    return forScreen(start_xpm, start_2x_xpm);
}
QPixmap stop()
{
    return forScreen(stop_xpm, stop_2x_xpm);
}
QPixmap info()
{
    return forScreen(info_xpm, info_2x_xpm);
}
QPixmap lampYellow()
{
    return forScreen(lampYellow_xpm, lampYellow_2x_xpm);
}
QPixmap lampGreen()
{
    return forScreen(lampGreen_xpm, lampGreen_2x_xpm);
}
QPixmap lampRed()
{
    return forScreen(lampRed_xpm, lampRed_2x_xpm);
}
QPixmap debug()
{
    return forScreen(debug_xpm, debug_2x_xpm);
}
QPixmap update()
{
    return forScreen(update_xpm, update_2x_xpm);
}
} // namespace images_n
