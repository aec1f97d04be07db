// The program's start: library check, version texts, icon, main window and event loop.
#pragma once

class QApplication;
class QSize;
class QWidget;

// Lets Qt scale the program as a whole on a screen of higher density and draw pictures from their 2x
// versions there; must come before the application object.
void prepareScaling();
// The main window's first size: what its pages ask for at its font, within the screen it opens on.
QSize firstWindowSize(QWidget& p_window);

// Runs the tool on an existing application object; the result is the program's exit code.
int runTool(QApplication& p_app);
