// What a drop of files on the main window stands for.
#pragma once

#include "ui/win32.h"
// after windows.h
#include <shellapi.h>

#include <string>

// The first dropped folder; when only files were dropped, the folder that holds the first of
// them; "" when nothing usable was dropped. The drop handle stays the caller's to finish.
std::string DroppedFolder(HDROP drop);
