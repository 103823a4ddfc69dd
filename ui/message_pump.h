// Lets the windows of this thread work while a long task runs on it.
#pragma once

#include "ui/win32.h"

// Dispatches the messages waiting in this thread's queue (dialog keys go to `dialog_window`
// when it is not null) and returns. False when WM_QUIT was taken from the queue: it is put
// back for the outer message loop, and the caller should stop.
bool PumpPendingMessages(HWND dialog_window);
