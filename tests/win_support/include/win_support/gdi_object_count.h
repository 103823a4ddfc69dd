// The number of GDI objects this process holds, for leak checks.
#pragma once

#include <windows.h>

// Windows counts them for GetGuiResources; Wine answers 0 there, so the live entries of the
// process's GDI handle table are counted instead (0 when neither is available).
DWORD GdiObjectCount();
