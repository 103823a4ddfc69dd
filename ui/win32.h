// <windows.h> for the UI code. winbase.h defines Yield() as an empty macro, which would
// swallow RunControls::Yield in every file that sees both.
#pragma once

#include <windows.h>

#ifdef Yield
#undef Yield
#endif
