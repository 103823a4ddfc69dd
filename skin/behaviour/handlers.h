// The routing handlers of SkinWindowProc, one per message. Each picks the control family by
// the window's kind and calls that family's entry point (families.h); a family that does not
// react to the message gets it passed on.
#pragma once

#include "skin/behaviour/handler.h"

LRESULT OnActivate(SKIN_HANDLER_ARGS);
LRESULT OnSize(SKIN_HANDLER_ARGS);
LRESULT OnSetFocus(SKIN_HANDLER_ARGS);
LRESULT OnKillFocus(SKIN_HANDLER_ARGS);
LRESULT OnEnable(SKIN_HANDLER_ARGS);
LRESULT OnPaint(SKIN_HANDLER_ARGS);
LRESULT OnWindowPosChanging(SKIN_HANDLER_ARGS);
LRESULT OnNcPaint(SKIN_HANDLER_ARGS);
LRESULT OnKeyDown(SKIN_HANDLER_ARGS);
LRESULT OnKeyUp(SKIN_HANDLER_ARGS);
LRESULT OnTimer(SKIN_HANDLER_ARGS);
LRESULT OnMouseMove(SKIN_HANDLER_ARGS);
LRESULT OnLButtonDown(SKIN_HANDLER_ARGS);
LRESULT OnLButtonUp(SKIN_HANDLER_ARGS);
LRESULT OnLButtonDblClk(SKIN_HANDLER_ARGS);
LRESULT OnMouseLeave(SKIN_HANDLER_ARGS);
