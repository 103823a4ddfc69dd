// The shell's folder chooser, without an owner window so the main window keeps working.
#pragma once

#include <string>

// The file-system path (UTF-8) of the folder the user chose, or "" when the user cancelled
// or chose an item that has no file-system path. COM must be initialised on the thread.
std::string BrowseForFolder();
