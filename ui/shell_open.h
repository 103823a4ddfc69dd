// Opening a book or a folder as the user's shell opens it.
#pragma once

#include "ui/win32.h"

#include <string>

// The shell's "open" on `path` (UTF-8); false when the shell could not open it.
bool OpenWithShell(HWND owner, const std::string& path);
