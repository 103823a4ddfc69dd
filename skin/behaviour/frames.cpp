// Placeholder until this family is drawn by the skin: every message is passed on.
#include "skin/behaviour/families.h"

LRESULT FramesOnNcPaint(SKIN_HANDLER_ARGS) { return PassOn(oldProc, window, message, wParam, lParam); }
LRESULT FramesOnPaint(SKIN_HANDLER_ARGS) { return PassOn(oldProc, window, message, wParam, lParam); }
