#include "support/family_windows.h"

#include <commctrl.h>

#include <array>

#include "win/gdi_handles.h"
#include "win_support/message_pump.h"
#include "win_support/test_windows.h"

namespace {

struct Superclass {
    const wchar_t* name;
    const wchar_t* base;
    WNDPROC baseProc;
};

std::array<Superclass, 6> superclasses = {{
    {L"ThunderRT6CheckBox", L"Button", nullptr},
    {L"ThunderRT6OptionButton", L"Button", nullptr},
    {L"ThunderRT6ComboBox", L"ComboBox", nullptr},
    {L"ThunderRT6DriveListBox", L"ComboBox", nullptr},
    {L"DataListWndClass", L"ListBox", nullptr},
    {L"ProgressBar20WndClass", PROGRESS_CLASSW, nullptr},
}};

template <size_t N>
LRESULT CALLBACK SuperclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return CallWindowProcW(superclasses[N].baseProc, window, message, wParam, lParam);
}

template <size_t N>
void RegisterSuperclass() {
    WNDCLASSEXW info{};
    info.cbSize = sizeof(info);
    GetClassInfoExW(nullptr, superclasses[N].base, &info);
    superclasses[N].baseProc = info.lpfnWndProc;
    info.lpfnWndProc = SuperclassProc<N>;
    info.hInstance = GetModuleHandleW(nullptr);
    info.lpszClassName = superclasses[N].name;
    info.style &= ~CS_GLOBALCLASS;
    RegisterClassExW(&info);
}

HBRUSH FormBrush() {
    static HBRUSH brush = CreateSolidBrush(FormBackground);
    return brush;
}

LRESULT CALLBACK FormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
            SetBkColor(reinterpret_cast<HDC>(wParam), FormBackground);
            return reinterpret_cast<LRESULT>(FormBrush());
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

LRESULT CALLBACK GridProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        ScopedPaint paint(window);
        RECT client;
        GetClientRect(window, &client);
        ScopedBrush brush(CreateSolidBrush(GridFill));
        FillRect(paint.get(), &client, brush.get());
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

void RegisterFamilyClasses() {
    static bool registered = false;
    if (registered)
        return;
    registered = true;
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_PROGRESS_CLASS | ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    RegisterSuperclass<0>();
    RegisterSuperclass<1>();
    RegisterSuperclass<2>();
    RegisterSuperclass<3>();
    RegisterSuperclass<4>();
    RegisterSuperclass<5>();
    RegisterTestClass(L"ThunderRT6FormDC", FormProc, FormBrush());
    RegisterTestClass(L"ApexGridTest", GridProc, nullptr);
}

HWND CreateHostForm(int left, int top, int width, int height) {
    RegisterFamilyClasses();
    HWND form = CreateWindowExW(0, L"ThunderRT6FormDC", L"Folvane families", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN,
                                left, top, width, height, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    SettleMessages();
    return form;
}

COLORREF SkinPixel(HDC skin, int x, int y) {
    return GetPixel(skin, x, y);
}
