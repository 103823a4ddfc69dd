#include "ui/browse_for_folder.h"

#include "ui/win32.h"
// after windows.h
#include <shlobj.h>

#include "win/wide_text.h"

std::string BrowseForFolder() {
    // Wide calls, so that folder names outside the ANSI code page come back intact.
    wchar_t display_name[MAX_PATH] = {};
    BROWSEINFOW info{};
    info.hwndOwner = nullptr;
    info.pidlRoot = nullptr;
    info.pszDisplayName = display_name;
    info.lpszTitle = L"";
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    PIDLIST_ABSOLUTE item = SHBrowseForFolderW(&info);
    if (!item)
        return {};
    wchar_t path[512] = {};
    const BOOL found = SHGetPathFromIDListW(item, path);
    CoTaskMemFree(item);
    if (!found)
        return {};
    return Utf8FromWide(path);
}
