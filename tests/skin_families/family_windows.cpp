#include "tests/skin_families/family_windows.h"

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>

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
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        RECT client;
        GetClientRect(window, &client);
        HBRUSH brush = CreateSolidBrush(GridFill);
        FillRect(dc, &client, brush);
        DeleteObject(brush);
        EndPaint(window, &paint);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void RegisterOwnClass(const wchar_t* name, WNDPROC proc, HBRUSH background) {
    WNDCLASSEXW info{};
    info.cbSize = sizeof(info);
    info.lpfnWndProc = proc;
    info.hInstance = GetModuleHandleW(nullptr);
    info.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    info.hbrBackground = background;
    info.lpszClassName = name;
    RegisterClassExW(&info);
}

void AppendBigEndian(std::vector<uint8_t>& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<uint8_t>(value >> shift));
}

uint32_t Crc32(const uint8_t* data, size_t length) {
    static uint32_t table[256];
    static bool ready = false;
    if (!ready) {
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            table[n] = c;
        }
        ready = true;
    }
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < length; ++i)
        crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

void AppendChunk(std::vector<uint8_t>& png, const char* type, const std::vector<uint8_t>& data) {
    AppendBigEndian(png, static_cast<uint32_t>(data.size()));
    std::vector<uint8_t> typed(type, type + 4);
    typed.insert(typed.end(), data.begin(), data.end());
    png.insert(png.end(), typed.begin(), typed.end());
    AppendBigEndian(png, Crc32(typed.data(), typed.size()));
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
    RegisterOwnClass(L"ThunderRT6FormDC", FormProc, FormBrush());
    RegisterOwnClass(L"ApexGridTest", GridProc, nullptr);
}

HWND CreateHostForm(int left, int top, int width, int height) {
    RegisterFamilyClasses();
    HWND form = CreateWindowExW(0, L"ThunderRT6FormDC", L"Folvane families", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN,
                                left, top, width, height, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    PumpMessages();
    return form;
}

HWND CreateChild(HWND parent,
                 const wchar_t* className,
                 DWORD style,
                 int x,
                 int y,
                 int width,
                 int height,
                 const wchar_t* text,
                 DWORD exStyle) {
    HWND child = CreateWindowExW(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, x, y, width, height, parent,
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return child;
}

void PumpMessages() {
    MSG message;
    for (int round = 0; round < 3; ++round) {
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        Sleep(1);
    }
}

PixelCanvas::PixelCanvas(int width, int height) : width_(width), height_(height), dc_(CreateCompatibleDC(nullptr)) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bits_ = static_cast<uint32_t*>(bits);
    previous_ = SelectObject(dc_, bitmap_);
}

PixelCanvas::~PixelCanvas() {
    SelectObject(dc_, previous_);
    DeleteDC(dc_);
    DeleteObject(bitmap_);
}

COLORREF PixelCanvas::at(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return CLR_INVALID;
    GdiFlush();
    uint32_t word = bits_[y * width_ + x];
    return RGB((word >> 16) & 0xFF, (word >> 8) & 0xFF, word & 0xFF);
}

void PixelCanvas::fill(COLORREF colour) {
    GdiFlush();
    uint32_t word = (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
    for (int i = 0; i < width_ * height_; ++i)
        bits_[i] = word;
}

SIZE WindowPixels::SizeOf(HWND window, Area area) {
    RECT rect{};
    if (area == WholeWindow)
        GetWindowRect(window, &rect);
    else
        GetClientRect(window, &rect);
    return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

WindowPixels::WindowPixels(HWND window, Area area) : canvas_(SizeOf(window, area).cx, SizeOf(window, area).cy) {
    HDC dc = area == WholeWindow ? GetWindowDC(window) : GetDC(window);
    BitBlt(canvas_.dc(), 0, 0, canvas_.width(), canvas_.height(), dc, 0, 0, SRCCOPY);
    ReleaseDC(window, dc);
}

bool WindowPixels::operator==(const WindowPixels& other) const {
    if (width() != other.width() || height() != other.height())
        return false;
    for (int y = 0; y < height(); ++y)
        for (int x = 0; x < width(); ++x)
            if (at(x, y) != other.at(x, y))
                return false;
    return true;
}

COLORREF SkinPixel(HDC skin, int x, int y) {
    return GetPixel(skin, x, y);
}

bool WritePng(const PixelCanvas& canvas, const std::string& path) {
    const int width = canvas.width(), height = canvas.height();
    // Raw scanlines: filter byte 0, then RGB.
    std::vector<uint8_t> raw;
    raw.reserve(static_cast<size_t>(height) * (1 + 3 * width));
    for (int y = 0; y < height; ++y) {
        raw.push_back(0);
        for (int x = 0; x < width; ++x) {
            COLORREF c = canvas.at(x, y);
            raw.push_back(GetRValue(c));
            raw.push_back(GetGValue(c));
            raw.push_back(GetBValue(c));
        }
    }
    // zlib stream of stored blocks (at most 65535 bytes each) and its Adler-32.
    std::vector<uint8_t> z = {0x78, 0x01};
    size_t offset = 0;
    do {
        size_t length = std::min<size_t>(65535, raw.size() - offset);
        bool last = offset + length == raw.size();
        z.push_back(last ? 1 : 0);
        z.push_back(static_cast<uint8_t>(length & 0xFF));
        z.push_back(static_cast<uint8_t>(length >> 8));
        z.push_back(static_cast<uint8_t>(~length & 0xFF));
        z.push_back(static_cast<uint8_t>((~length >> 8) & 0xFF));
        z.insert(z.end(), raw.begin() + offset, raw.begin() + offset + length);
        offset += length;
    } while (offset < raw.size());
    uint32_t a = 1, b = 0;
    for (uint8_t byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    AppendBigEndian(z, (b << 16) | a);

    std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    std::vector<uint8_t> header;
    AppendBigEndian(header, static_cast<uint32_t>(width));
    AppendBigEndian(header, static_cast<uint32_t>(height));
    header.insert(header.end(), {8, 2, 0, 0, 0});  // 8-bit RGB, deflate, no filter choice, no interlace
    AppendChunk(png, "IHDR", header);
    AppendChunk(png, "IDAT", z);
    AppendChunk(png, "IEND", {});

    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    bool written = std::fwrite(png.data(), 1, png.size(), file) == png.size();
    return std::fclose(file) == 0 && written;
}
