// Entry points of the control families, one source file each. The routing handlers
// (OnPaint, OnMouseMove, ...) pick the family by the window's kind and call these; every
// message a family does not name here is passed on by the router.
#pragma once

#include "skin/behaviour/handler.h"

// push_button.cpp: PushButtonKind, drawn entirely by the skin from four faces with fades.
LRESULT PushButtonOnPaint(SKIN_HANDLER_ARGS);
LRESULT PushButtonOnSize(SKIN_HANDLER_ARGS);
LRESULT PushButtonOnSetFocus(SKIN_HANDLER_ARGS);  // also WM_KILLFOCUS
LRESULT PushButtonOnEnable(SKIN_HANDLER_ARGS);
LRESULT PushButtonOnKeyDown(SKIN_HANDLER_ARGS);
LRESULT PushButtonOnKeyUp(SKIN_HANDLER_ARGS);
LRESULT PushButtonOnTimer(SKIN_HANDLER_ARGS);
LRESULT PushButtonOnMouseMove(SKIN_HANDLER_ARGS);
LRESULT PushButtonOnLButtonDown(SKIN_HANDLER_ARGS);  // also WM_LBUTTONDBLCLK
LRESULT PushButtonOnLButtonUp(SKIN_HANDLER_ARGS);
LRESULT PushButtonOnMouseLeave(SKIN_HANDLER_ARGS);

// check_option.cpp: CheckKind and OptionKind; the system draws, the skin draws the box over it.
LRESULT CheckOptionOnPaint(SKIN_HANDLER_ARGS);
LRESULT CheckOptionOnFocus(SKIN_HANDLER_ARGS);  // WM_SETFOCUS and WM_KILLFOCUS
LRESULT CheckOptionOnKeyDown(SKIN_HANDLER_ARGS);
LRESULT CheckOptionOnKeyUp(SKIN_HANDLER_ARGS);
LRESULT CheckOptionOnMouseMove(SKIN_HANDLER_ARGS);
LRESULT CheckOptionOnLButtonDown(SKIN_HANDLER_ARGS);
LRESULT CheckOptionOnLButtonUp(SKIN_HANDLER_ARGS);
LRESULT CheckOptionOnMouseLeave(SKIN_HANDLER_ARGS);

// combo.cpp: ComboKind (combo boxes and drive lists): frame and drop button.
LRESULT ComboOnPaint(SKIN_HANDLER_ARGS);
LRESULT ComboOnWindowPosChanging(SKIN_HANDLER_ARGS);
LRESULT ComboOnMouseMove(SKIN_HANDLER_ARGS);
LRESULT ComboOnLButtonDown(SKIN_HANDLER_ARGS);
LRESULT ComboOnLButtonUp(SKIN_HANDLER_ARGS);
LRESULT ComboOnMouseLeave(SKIN_HANDLER_ARGS);

// header.cpp: HeaderKind, painted entirely by the skin.
LRESULT HeaderOnPaint(SKIN_HANDLER_ARGS);
LRESULT HeaderOnMouseMove(SKIN_HANDLER_ARGS);
LRESULT HeaderOnLButtonDown(SKIN_HANDLER_ARGS);  // also WM_LBUTTONDBLCLK
LRESULT HeaderOnLButtonUp(SKIN_HANDLER_ARGS);
LRESULT HeaderOnMouseLeave(SKIN_HANDLER_ARGS);

// frames.cpp: client-edge borders of every skinned window, the outlines of data lists,
// drop-down lists and grids, and progress bars drawn whole.
LRESULT FramesOnNcPaint(SKIN_HANDLER_ARGS);  // every kind
LRESULT FramesOnPaint(SKIN_HANDLER_ARGS);    // FormKind, ProgressKind and PlainKind windows
