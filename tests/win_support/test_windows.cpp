#include "win_support/test_windows.h"

void RegisterTestClass(const wchar_t* name, WNDPROC procedure, HBRUSH background) {
    WNDCLASSEXW info{};
    info.cbSize = sizeof(info);
    info.lpfnWndProc = procedure;
    info.hInstance = GetModuleHandleW(nullptr);
    info.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    info.hbrBackground = background;
    info.lpszClassName = name;
    RegisterClassExW(&info);
}
