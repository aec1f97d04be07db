// The program's start: library check, version texts, icon, main window and event loop.
#pragma once

class QApplication;

// Runs the tool on an existing application object; the result is the program's exit code.
int runTool(QApplication& p_app);
