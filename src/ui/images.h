// The small images compiled into the program: tool bar actions, port lamps, debug and update buttons. Each
// comes at the screen's density: sizes below are in the program's scaled pixels.
#pragma once

#include <QPixmap>

namespace images_n
{
QPixmap start();      // 32 x 32, blue triangle: start the sensor access
QPixmap stop();       // 32 x 32, red square: stop the sensor access
QPixmap info();       // 32 x 32, blue disc with a white i
QPixmap lampYellow(); // 32 x 32 port lamps
QPixmap lampGreen();
QPixmap lampRed();
QPixmap debug();  // 48 x 48, beetle
QPixmap update(); // 32 x 32, green circling arrows
} // namespace images_n
