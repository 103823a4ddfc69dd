#include "ui/shell_open.h"

#include <shellapi.h>

#include "win/wide_text.h"

bool OpenWithShell(HWND owner, const std::string& path) {
    const HINSTANCE result = ShellExecuteW(owner, L"open", WideFromUtf8(path).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    // Values above 32 mean success; smaller ones are error codes.
    return reinterpret_cast<INT_PTR>(result) > 32;
}
