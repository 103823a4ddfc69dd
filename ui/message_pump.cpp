#include "ui/message_pump.h"

namespace {

// Paint and timer messages are made up while the queue is empty; a window that never
// validates itself could keep the queue busy forever, so one pass handles a bounded number.
constexpr int kMessagesPerPass = 2000;

}  // namespace

bool PumpPendingMessages(HWND dialog_window) {
    MSG message;
    for (int handled = 0; handled < kMessagesPerPass && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE); ++handled) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return false;
        }
        if (dialog_window && IsWindow(dialog_window) && IsDialogMessageW(dialog_window, &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return true;
}
