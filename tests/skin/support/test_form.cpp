#include "support/test_form.h"

#include <algorithm>
#include <cstdlib>
#include <map>

#include "paint/primitives.h"
#include "win/gdi_handles.h"
#include "win_support/message_pump.h"
#include "win_support/test_windows.h"

namespace {

constexpr wchar_t FormClassName[] = L"Form";

void RegisterFormClass() {
    static const bool registered = [] {
        RegisterTestClass(FormClassName, DefWindowProcW, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
        return true;
    }();
    (void)registered;
}

std::map<HWND, WNDPROC>& RecordedProcs() {
    static std::map<HWND, WNDPROC> procs;
    return procs;
}
std::vector<Recorded>& Log() {
    static std::vector<Recorded> log;
    return log;
}
std::function<void(const Recorded&)>& Observer() {
    static std::function<void(const Recorded&)> observer;
    return observer;
}

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Recorded entry{window, message, wParam, lParam};
    Log().push_back(entry);
    if (Observer())
        Observer()(entry);
    WNDPROC next = RecordedProcs()[window];
    LRESULT result =
        next ? CallWindowProcW(next, window, message, wParam, lParam) : DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY)
        RecordedProcs().erase(window);
    return result;
}

}  // namespace

TestForm::~TestForm() {
    if (form && IsWindow(form))
        DestroyWindow(form);
    PumpMessages();
}

void MakeTestForm(TestForm& out, const TestFormOptions& options) {
    RegisterFormClass();
    out.form = CreateWindowExW(0, FormClassName, L"Test form", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 40, 40, 420, 300,
                               nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    out.ok = CreateChild(out.form, L"Button", BS_PUSHBUTTON | WS_TABSTOP, 20, 20, 75, 23, L"OK");
    out.cancel = CreateChild(out.form, L"Button", BS_PUSHBUTTON | WS_TABSTOP, 110, 20, 75, 23, L"Cancel");
    out.list = CreateChild(out.form, L"ListBox", WS_BORDER | LBS_NOTIFY, 20, 60, 150, 100);
    if (options.withCheckBox) {
        out.check = CreateChild(out.form, L"Button", BS_AUTOCHECKBOX | WS_TABSTOP, 200, 60, 120, 20, L"Check");
    }
    if (options.disabledCancel)
        EnableWindow(out.cancel, FALSE);
    if (options.record) {
        for (HWND window : {out.form, out.ok, out.cancel, out.list, out.check}) {
            if (window)
                MessageLog::Record(window);
        }
    }
    ShowWindow(out.form, SW_SHOW);
    SetForegroundWindow(out.form);
    UpdateWindow(out.form);
    PumpMessages();
}

namespace MessageLog {

void Record(HWND window) {
    auto previous =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RecordingProc)));
    RecordedProcs()[window] = previous;
}

void Clear() {
    Log().clear();
}

const std::vector<Recorded>& Entries() {
    return Log();
}

std::vector<UINT> Of(HWND window, const std::vector<UINT>& only) {
    std::vector<UINT> messages;
    for (const Recorded& entry : Log()) {
        if (entry.window != window)
            continue;
        if (std::find(only.begin(), only.end(), entry.message) != only.end())
            messages.push_back(entry.message);
    }
    return messages;
}

size_t Count(HWND window, UINT message) {
    return static_cast<size_t>(std::count_if(Log().begin(), Log().end(), [&](const Recorded& entry) {
        return entry.window == window && entry.message == message;
    }));
}

void SetObserver(std::function<void(const Recorded&)> observer) {
    Observer() = std::move(observer);
}

}  // namespace MessageLog

Pixels CaptureFace(HWND window, int state) {
    WindowBounds bounds;
    GetWindowBounds(window, bounds);
    std::string name = "HDC" + std::to_string(state);
    return CaptureDC(reinterpret_cast<HDC>(GetPropA(window, name.c_str())), bounds.width, bounds.height);
}

int CountDifferences(HWND window, const Pixels& a, const Pixels& b, int tolerance) {
    if (a.width != b.width || a.height != b.height)
        return -1;
    ScopedRegion region(CreateRectRgn(0, 0, 0, 0));
    bool hasRegion = GetWindowRgn(window, region.get()) != ERROR;
    int differences = 0;
    for (int y = 0; y < a.height; ++y) {
        for (int x = 0; x < a.width; ++x) {
            if (hasRegion && !PtInRegion(region.get(), x, y))
                continue;
            uint32_t p = a.at(x, y);
            uint32_t q = b.at(x, y);
            for (int shift = 0; shift <= 16; shift += 8) {
                int delta = std::abs(static_cast<int>((p >> shift) & 0xFF) - static_cast<int>((q >> shift) & 0xFF));
                if (delta > tolerance) {
                    ++differences;
                    break;
                }
            }
        }
    }
    return differences;
}

namespace {
BOOL CALLBACK CollectProperty(HWND, LPSTR name, HANDLE, ULONG_PTR names) {
    auto* out = reinterpret_cast<std::vector<std::string>*>(names);
    if (IS_INTRESOURCE(name)) {
        out->push_back("#" + std::to_string(reinterpret_cast<ULONG_PTR>(name)));
    } else {
        out->push_back(name);
    }
    return TRUE;
}
}  // namespace

std::vector<std::string> PropertyNames(HWND window) {
    std::vector<std::string> names;
    EnumPropsExA(window, CollectProperty, reinterpret_cast<LPARAM>(&names));
    std::sort(names.begin(), names.end());
    return names;
}

INT_PTR Prop(HWND window, const char* name) {
    return reinterpret_cast<INT_PTR>(GetPropA(window, name));
}
