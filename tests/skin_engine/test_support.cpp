#include "tests/skin_engine/test_support.h"

#include <winternl.h>

#include <algorithm>
#include <cstdlib>
#include <map>

#include "skin/paint/gdi_handles.h"
#include "skin/paint/primitives.h"

namespace {

constexpr wchar_t FormClassName[] = L"Form";

void RegisterFormClass() {
    static bool registered = [] {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        windowClass.lpszClassName = FormClassName;
        return RegisterClassW(&windowClass) != 0;
    }();
    (void)registered;
}

HWND MakeChild(HWND parent,
               const wchar_t* className,
               const wchar_t* text,
               DWORD style,
               int x,
               int y,
               int width,
               int height) {
    HWND child = CreateWindowExW(0, className, text, WS_CHILD | WS_VISIBLE | style, x, y, width, height, parent,
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return child;
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
    out.ok = MakeChild(out.form, L"Button", L"OK", BS_PUSHBUTTON | WS_TABSTOP, 20, 20, 75, 23);
    out.cancel = MakeChild(out.form, L"Button", L"Cancel", BS_PUSHBUTTON | WS_TABSTOP, 110, 20, 75, 23);
    out.list = MakeChild(out.form, L"ListBox", L"", WS_BORDER | LBS_NOTIFY, 20, 60, 150, 100);
    if (options.withCheckBox) {
        out.check = MakeChild(out.form, L"Button", L"Check", BS_AUTOCHECKBOX | WS_TABSTOP, 200, 60, 120, 20);
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

void PumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > timeoutMs)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
        PumpMessages();
    }
    return true;
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

Pixels CaptureDC(HDC source, int width, int height) {
    Pixels pixels;
    pixels.width = width;
    pixels.height = height;
    pixels.values.assign(static_cast<size_t>(width) * height, 0);
    if (width <= 0 || height <= 0 || !source)
        return pixels;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    ScopedBitmap section(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    ScopedCreatedDC memory(CreateCompatibleDC(nullptr));
    {
        ScopedSelect select(memory.get(), section.get());
        BitBlt(memory.get(), 0, 0, width, height, source, 0, 0, SRCCOPY);
        GdiFlush();
        const auto* raw = static_cast<const uint32_t*>(bits);
        for (size_t i = 0; i < pixels.values.size(); ++i)
            pixels.values[i] = raw[i] & 0x00FFFFFF;
    }
    return pixels;
}

Pixels CaptureWindow(HWND window) {
    WindowBounds bounds;
    GetWindowBounds(window, bounds);
    ScopedWindowDC dc(window);
    return CaptureDC(dc.get(), bounds.width, bounds.height);
}

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

// The layout of one entry of the GDI handle table that the process environment block points
// to (the same on Windows and Wine, 24 bytes).
struct GdiHandleEntry {
    uint64_t object;
    uint32_t owner;
    uint16_t unique;
    uint8_t type;
    uint8_t flags;
    uint64_t userPointer;
};
static_assert(sizeof(GdiHandleEntry) == 24);
constexpr int GdiHandleTableSize = 0x10000;

const GdiHandleEntry* GdiHandleTable() {
    auto* peb = reinterpret_cast<const uint8_t*>(NtCurrentTeb()->ProcessEnvironmentBlock);
    // PEB.GdiSharedHandleTable
    constexpr size_t offset = sizeof(void*) == 8 ? 0xF8 : 0x94;
    return *reinterpret_cast<const GdiHandleEntry* const*>(peb + offset);
}

}  // namespace

int CountGdiObjects() {
    DWORD reported = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (reported != 0)
        return static_cast<int>(reported);
    const GdiHandleEntry* table = GdiHandleTable();
    if (!table)
        return -1;
    // Wine keeps one table per process, so every occupied entry is one of ours.
    int count = 0;
    for (int i = 0; i < GdiHandleTableSize; ++i) {
        if (table[i].type != 0)
            ++count;
    }
    return count;
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
