// A form holding one control of every family, skinned, saved as a picture for reviewers
// (skin_families_form.png in the test's working folder, the build's screenshots folder).
#include <windows.h>
// commctrl.h needs the types of windows.h first.
#include <commctrl.h>

#include <cstdio>

#include "paint/skin_colours.h"
#include "support/skinned_form.h"
#include "win_support/bitmap_file.h"

namespace {

class ScreenshotTest : public SkinnedFormTest {};

TEST_F(ScreenshotTest, FormWithEveryFamilyIsSavedAsPng) {
    MoveWindow(form_, FormLeft, FormTop, 520, 330, TRUE);
    Child(L"Button", BS_PUSHBUTTON, 20, 20, 110, 30, L"Push button");
    HWND check = Child(L"ThunderRT6CheckBox", BS_AUTOCHECKBOX, 150, 16, 120, 20, L"Check box");
    SendMessageW(check, BM_SETCHECK, BST_CHECKED, 0);
    Child(L"ThunderRT6CheckBox", BS_AUTO3STATE, 150, 38, 120, 20, L"Three states");
    SendMessageW(GetWindow(check, GW_HWNDNEXT), BM_SETCHECK, BST_INDETERMINATE, 0);
    HWND option = Child(L"ThunderRT6OptionButton", BS_AUTORADIOBUTTON | WS_GROUP, 290, 16, 100, 20, L"Option 1");
    SendMessageW(option, BM_SETCHECK, BST_CHECKED, 0);
    Child(L"ThunderRT6OptionButton", BS_AUTORADIOBUTTON, 290, 38, 100, 20, L"Option 2");
    HWND disabled = Child(L"ThunderRT6CheckBox", BS_AUTOCHECKBOX, 400, 16, 110, 20, L"Disabled");
    SendMessageW(disabled, BM_SETCHECK, BST_CHECKED, 0);
    EnableWindow(disabled, FALSE);

    HWND combo = Child(L"ThunderRT6ComboBox", CBS_DROPDOWNLIST, 20, 70, 150, 200);
    HWND edit = Child(L"ThunderRT6ComboBox", CBS_DROPDOWN, 190, 70, 150, 200);
    HWND drives = Child(L"ThunderRT6DriveListBox", CBS_DROPDOWNLIST, 360, 70, 140, 200);
    for (HWND box : {combo, edit, drives}) {
        for (const wchar_t* text : {L"c: [system]", L"Second entry", L"\u4e2d\u6587"})
            SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
        SendMessageW(box, CB_SETCURSEL, 0, 0);
    }

    HWND header = Child(WC_HEADERW, HDS_HORZ | HDS_BUTTONS, 20, 110, 300, 20);
    const wchar_t* captions[] = {L"Name", L"Size", L"A caption too long for its column"};
    for (int i = 0; i < 3; ++i) {
        HDITEMW item{};
        item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT;
        item.pszText = const_cast<wchar_t*>(captions[i]);
        item.cxy = i == 2 ? 100 : 90;
        item.fmt = HDF_LEFT | HDF_STRING;
        SendMessageW(header, HDM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
    }
    HWND list = Child(L"ListBox", WS_VSCROLL | LBS_NOINTEGRALHEIGHT, 20, 130, 300, 90, L"", WS_EX_CLIENTEDGE);
    HWND data = Child(L"DataListWndClass", LBS_NOINTEGRALHEIGHT, 340, 110, 160, 110, L"", WS_EX_CLIENTEDGE);
    for (HWND box : {list, data})
        for (const wchar_t* text : {L"book.txt", L"notes.htm", L"\u8bf4\u660e.txt"})
            SendMessageW(box, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));

    HWND bar = Child(L"ProgressBar20WndClass", WS_BORDER, 20, 240, 300, 22);
    SendMessageW(bar, PBM_SETRANGE32, 0, 30000);
    SendMessageW(bar, PBM_SETPOS, 18000, 0);
    HWND vertical = Child(L"ProgressBar20WndClass", WS_BORDER | PBS_VERTICAL | PBS_SMOOTH, 340, 235, 22, 80);
    SendMessageW(vertical, PBM_SETRANGE32, 0, 30000);
    SendMessageW(vertical, PBM_SETPOS, 10000, 0);
    Child(L"ApexGridTest", WS_BORDER, 380, 235, 120, 80);

    Skin();
    // Some hover looks: the header's second item and the list combo's drop button.
    SendMessageW(header, WM_MOUSEMOVE, 0, MAKELPARAM(120, 10));
    SendMessageW(combo, WM_MOUSEMOVE, 0, MAKELPARAM(20, 5));

    const SIZE size = WindowSize(form_);
    PixelCanvas picture(size.cx, size.cy);
    HDC dc = GetWindowDC(form_);
    BitBlt(picture.dc(), 0, 0, size.cx, size.cy, dc, 0, 0, SRCCOPY);
    ReleaseDC(form_, dc);

    // The picture holds the children as the skin drew them.
    POINT listCorner{0, 0};
    MapWindowPoints(list, form_, &listCorner, 1);
    RECT listRect, formRect;
    GetWindowRect(list, &listRect);
    GetWindowRect(form_, &formRect);
    EXPECT_EQ(picture.at(listRect.left - formRect.left, listRect.top - formRect.top), kFrameColour);
    EXPECT_EQ(picture.at(20 + 1 + 10, 240 + 11), kProgressFillColour);

    const char* path = "skin_families_form.png";
    const wchar_t* widePath = L"skin_families_form.png";
    std::remove(path);
    ASSERT_TRUE(WritePngFile(widePath, picture.width(), picture.height(), picture.bits()));
    FILE* written = std::fopen(path, "rb");
    ASSERT_NE(written, nullptr);
    std::fseek(written, 0, SEEK_END);
    EXPECT_GT(std::ftell(written), 3L * size.cx * size.cy);
    std::fclose(written);
}

}  // namespace
