// The designer's layout of the main window and the help window: positions in twips (15 twips
// to a pixel), captions, tab order and text colours. Everything is placed at fixed pixels.
#pragma once

#include "ui/win32.h"

inline constexpr int kTwipsPerPixel = 15;

struct TwipRect {
    int left, top, width, height;

    constexpr RECT Pixels() const {
        return RECT{left / kTwipsPerPixel, top / kTwipsPerPixel, (left + width) / kTwipsPerPixel,
                    (top + height) / kTwipsPerPixel};
    }
};

// A colour reference, or the system's button text colour when `system` is set.
struct TextColour {
    bool system;
    COLORREF value;
    COLORREF Resolve() const { return system ? GetSysColor(COLOR_BTNTEXT) : value; }
};
inline constexpr TextColour kSystemText{true, 0};
constexpr TextColour Colour(COLORREF value) {
    return {false, value};
}

// Controls of Form1 that are windows, in tab order (which is also their creation order).
enum class Form1Window { Command1, Command2, File1, File2, List1, Count };

struct WindowedControl {
    const char* name;
    const wchar_t* class_name;
    int id;  // WM_COMMAND identifier; clear of IDOK and IDCANCEL, which dialog keys send
    TwipRect place;
    int tab_index;
    const wchar_t* caption;
    TextColour text_colour;
    bool visible;  // File2 lies below the client area and must not take the focus either
};

inline constexpr WindowedControl kForm1Windows[] = {
    {"Command1", L"Button", 101, {480, 240, 3015, 615}, 0, L"选择要转换txt,htm文件的文件夹", kSystemText, true},
    {"Command2", L"Button", 102, {4200, 240, 2895, 615}, 1, L"转 换 生 成", kSystemText, true},
    {"File1", L"ListBox", 103, {360, 1320, 3255, 2790}, 2, L"", Colour(0x00000000), true},
    {"File2", L"ListBox", 104, {0, 8400, 2535, 990}, 5, L"", kSystemText, false},
    {"List1", L"ListBox", 105, {3960, 1320, 3735, 2760}, 8, L"", kSystemText, true},
};
static_assert(sizeof(kForm1Windows) / sizeof(kForm1Windows[0]) == static_cast<int>(Form1Window::Count));

// Windowless text labels of Form1: the form draws them.
enum class Form1Label { Label1, Label2, Label3, Label5, Label6, Label10, Label11, Count };

struct LabelControl {
    const char* name;
    TwipRect place;
    int tab_index;
    TextColour text_colour;
};

inline constexpr LabelControl kForm1Labels[] = {
    {"Label1", {360, 4200, 7335, 255}, 6, Colour(0x00000080)},
    {"Label2", {1320, 6720, 1695, 2055}, 15, kSystemText},
    {"Label3", {7320, 4440, 2415, 1575}, 7, kSystemText},
    {"Label5", {-720, 8280, 1695, 1095}, 3, kSystemText},
    {"Label6", {-1440, 8280, 1935, 1215}, 4, kSystemText},
    {"Label10", {360, 960, 3135, 255}, 12, Colour(0x00000040)},
    {"Label11", {4080, 960, 3615, 375}, 13, Colour(0x00000040)},
};
static_assert(sizeof(kForm1Labels) / sizeof(kForm1Labels[0]) == static_cast<int>(Form1Label::Count));

// The help picture, drawn and hit-tested by the form.
inline constexpr TwipRect kImage1Place{7320, 360, 630, 255};

inline constexpr const wchar_t* kForm1Title = L"Folvane";
inline constexpr TwipRect kForm1Client{0, 0, 8025, 4740};

inline constexpr const wchar_t* kForm2Title = L"帮助";
inline constexpr TwipRect kForm2Client{0, 0, 6945, 1095};
inline constexpr LabelControl kForm2Label1{"Label1", {0, 120, 6615, 735}, 0, Colour(0x000000FF)};
inline constexpr const wchar_t* kForm2Text =
    L"第一步：点击“选择要转换txt,html文件的文件夹(文件夹名称、文件名称不能带空格)”按钮 "
    L"选择要生成的文件目录。第二步：点击“转换生成”按钮(如已经生成文件和目录不会被替换，请删除目录再更新）";

// The class of both forms: the skin recognises forms by this name.
inline constexpr const wchar_t* kFormClassName = L"Form";
