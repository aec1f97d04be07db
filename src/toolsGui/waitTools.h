// Waiting helpers of the GUI tools: a plain sleep and a wait that keeps the event loop running.
#pragma once

#include <QEventLoop>

namespace toolsGui_n
{
// Blocks the calling thread; no events are processed meanwhile.
void sleepMs(int p_nMs);

// Waits at least p_nMs milliseconds in passes of about 50 ms, processing events with p_flags in each pass.
// With QEventLoop::ExcludeUserInputEvents the window repaints, timers fire and serial data arrives while
// mouse and keyboard input stays queued until later. Runs one pass even for 0 ms. Callers must expect their
// own slots to run during the wait.
void waitProcessingEvents(int p_nMs, QEventLoop::ProcessEventsFlags p_flags = QEventLoop::AllEvents);
} // namespace toolsGui_n
