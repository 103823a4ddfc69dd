// Placeholder until this family is drawn by the skin: every message is passed on.
#include "skin/behaviour/families.h"

LRESULT ComboOnPaint(SKIN_HANDLER_ARGS) { return PassOn(oldProc, window, message, wParam, lParam); }
LRESULT ComboOnWindowPosChanging(SKIN_HANDLER_ARGS) { return PassOn(oldProc, window, message, wParam, lParam); }
LRESULT ComboOnMouseMove(SKIN_HANDLER_ARGS) { return PassOn(oldProc, window, message, wParam, lParam); }
LRESULT ComboOnLButtonDown(SKIN_HANDLER_ARGS) { return PassOn(oldProc, window, message, wParam, lParam); }
LRESULT ComboOnLButtonUp(SKIN_HANDLER_ARGS) { return PassOn(oldProc, window, message, wParam, lParam); }
LRESULT ComboOnMouseLeave(SKIN_HANDLER_ARGS) { return PassOn(oldProc, window, message, wParam, lParam); }
