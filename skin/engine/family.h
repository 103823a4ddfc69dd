// What the engine asks of a control family. Each family lives in one folder under families/
// and exposes one Family; the table maps every control kind to its family.
#pragma once

#include <windows.h>

#include "engine/control_kind.h"
#include "engine/skinned_window.h"

struct Family {
    // Sets up the family's properties and data before the window is subclassed.
    void (*attach)(SkinnedWindow& window);
    // Gives back what attach took, before the old procedure is put back.
    void (*detach)(SkinnedWindow& window);
    // Every message of the window that the engine does not handle itself.
    LRESULT (*handle)(SkinnedWindow& window, UINT message, WPARAM w_param, LPARAM l_param);
};

const Family& FamilyOf(ControlKind kind);
