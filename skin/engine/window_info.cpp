#include "engine/window_info.h"

#include <vector>

#include "win/wide_text.h"

std::string GetWindowCaption(HWND window) {
    int length = GetWindowTextLengthW(window);
    if (length <= 0)
        return {};
    std::vector<wchar_t> text(static_cast<size_t>(length) + 1, L'\0');
    int copied = GetWindowTextW(window, text.data(), length + 1);
    if (copied <= 0)
        return {};
    return Utf8FromWide(std::wstring_view(text.data(), static_cast<size_t>(copied)));
}

int HalveToEven(int n) {
    int floor_half = n >> 1;  // arithmetic shift: floor, negative n included
    if ((n & 1) == 0)
        return floor_half;
    return (floor_half & 1) == 0 ? floor_half : floor_half + 1;
}

int GetBorderOffsets(HWND window, int& x, int& y) {
    RECT outer{};
    RECT client{};
    GetWindowRect(window, &outer);
    GetClientRect(window, &client);
    int dx = (outer.right - outer.left) - (client.right - client.left);
    int dy = (outer.bottom - outer.top) - (client.bottom - client.top);
    LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
    if (style & WS_VSCROLL)
        dx -= GetSystemMetrics(SM_CXVSCROLL);
    if (style & WS_HSCROLL)
        dy -= GetSystemMetrics(SM_CYHSCROLL);
    x = HalveToEven(dx);
    y = HalveToEven(dy);
    return 1;
}

bool ApiExists(const char* function_name, const char* library_name) {
    HMODULE module = GetModuleHandleA(library_name);
    bool loaded_here = false;
    if (!module) {
        module = LoadLibraryA(library_name);
        if (!module)
            return false;
        loaded_here = true;
    }
    bool exists = GetProcAddress(module, function_name) != nullptr;
    if (loaded_here)
        FreeLibrary(module);
    return exists;
}

short LoWord(LONG_PTR value) {
    return static_cast<short>(static_cast<unsigned short>(static_cast<ULONG_PTR>(value) & 0xFFFF));
}

short HiWord(LONG_PTR value) {
    return static_cast<short>(static_cast<unsigned short>((static_cast<ULONG_PTR>(value) >> 16) & 0xFFFF));
}
