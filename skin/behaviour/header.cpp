// Placeholder until this family is drawn by the skin: every message is passed on.
#include "skin/behaviour/families.h"

LRESULT HeaderOnPaint(SKIN_HANDLER_ARGS) { return PassOn(oldProc, window, message, wParam, lParam); }
LRESULT HeaderOnMouseMove(SKIN_HANDLER_ARGS) { return PassOn(oldProc, window, message, wParam, lParam); }
LRESULT HeaderOnLButtonDown(SKIN_HANDLER_ARGS) { return PassOn(oldProc, window, message, wParam, lParam); }
LRESULT HeaderOnLButtonUp(SKIN_HANDLER_ARGS) { return PassOn(oldProc, window, message, wParam, lParam); }
LRESULT HeaderOnMouseLeave(SKIN_HANDLER_ARGS) { return PassOn(oldProc, window, message, wParam, lParam); }
