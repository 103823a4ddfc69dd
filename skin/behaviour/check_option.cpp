// Placeholder until this family is drawn by the skin: every message is passed on.
#include "skin/behaviour/families.h"

LRESULT CheckOptionOnPaint(SKIN_HANDLER_ARGS) { return PassOn(oldProc, window, message, wParam, lParam); }
LRESULT CheckOptionOnFocus(SKIN_HANDLER_ARGS) { return PassOn(oldProc, window, message, wParam, lParam); }
LRESULT CheckOptionOnKeyDown(SKIN_HANDLER_ARGS) { return PassOn(oldProc, window, message, wParam, lParam); }
LRESULT CheckOptionOnKeyUp(SKIN_HANDLER_ARGS) { return PassOn(oldProc, window, message, wParam, lParam); }
LRESULT CheckOptionOnMouseMove(SKIN_HANDLER_ARGS) { return PassOn(oldProc, window, message, wParam, lParam); }
LRESULT CheckOptionOnLButtonDown(SKIN_HANDLER_ARGS) { return PassOn(oldProc, window, message, wParam, lParam); }
LRESULT CheckOptionOnLButtonUp(SKIN_HANDLER_ARGS) { return PassOn(oldProc, window, message, wParam, lParam); }
LRESULT CheckOptionOnMouseLeave(SKIN_HANDLER_ARGS) { return PassOn(oldProc, window, message, wParam, lParam); }
