// Forms, progress bars and every other window the skin attaches to: the flat two-colour
// client-edge border of any window that has one, the outlines of data lists, drop-down lists
// and grids, and progress bars drawn whole (a solid block on white).
#pragma once

#include "engine/family.h"

extern const Family kFramesFamily;

// The non-client paint of every skinned window, whatever its family: the system's frame with
// the flat border over it where the window has a client edge; a progress bar's frame and bar
// drawn whole.
LRESULT DrawFramesOnNcPaint(SkinnedWindow& window, UINT message, WPARAM w_param, LPARAM l_param);
