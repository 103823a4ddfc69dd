// The help window: opened by a click on the help picture, created once, modeless and without
// owner, with its red two-step text wrapped inside the label; it goes with the main window.
#include "tests/ui/ui_test_support.h"
#include "ui/label_text.h"

namespace {

BOOL CALLBACK CollectHelpWindow(HWND window, LPARAM list) {
    wchar_t title[64] = {};
    wchar_t name[64] = {};
    GetWindowTextW(window, title, 64);
    GetClassNameW(window, name, 64);
    if (std::wstring(title) == L"帮助" && std::wstring(name) == L"Form" && IsWindowVisible(window)) {
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    }
    return TRUE;
}

std::vector<HWND> HelpWindowsOfThisThread() {
    std::vector<HWND> found;
    EnumThreadWindows(GetCurrentThreadId(), CollectHelpWindow, reinterpret_cast<LPARAM>(&found));
    return found;
}

void ClickImage1(HWND form) {
    const RECT image = Form1::Image1Rect();
    const LPARAM at = MAKELPARAM(image.left + 8, image.top + 8);
    SendMessageW(form, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(form, WM_LBUTTONUP, 0, at);
}

}  // namespace

TEST_F(Form1Test, ClickOnTheHelpPictureOpensOneHelpWindow) {
    CreateForm();
    EXPECT_EQ(form_->HelpWindow(), nullptr);
    ClickImage1(form_->window());
    const HWND help = form_->HelpWindow();
    ASSERT_NE(help, nullptr);
    PumpFor(20);
    wchar_t title[32] = {};
    GetWindowTextW(help, title, 32);
    EXPECT_STREQ(title, L"帮助");
    RECT client{};
    GetClientRect(help, &client);
    EXPECT_EQ(client.right, 463);
    EXPECT_EQ(client.bottom, 73);
    EXPECT_EQ(GetWindow(help, GW_OWNER), nullptr);
    EXPECT_EQ(GetParent(help), nullptr);
    EXPECT_EQ(GetWindow(help, GW_CHILD), nullptr) << "the help window has no child windows";
    EXPECT_EQ(GetClassLongPtrW(help, GCLP_HICON), GetClassLongPtrW(form_->window(), GCLP_HICON));
    EXPECT_EQ(GetWindowLongPtrW(help, GWL_STYLE) & WS_THICKFRAME, 0);
    EXPECT_TRUE(IsWindowEnabled(form_->window())) << "modeless";

    ClickImage1(form_->window());
    EXPECT_EQ(form_->HelpWindow(), help);
    EXPECT_EQ(HelpWindowsOfThisThread(), std::vector<HWND>{help});

    // Once closed, the next click makes it again.
    SendMessageW(help, WM_CLOSE, 0, 0);
    EXPECT_EQ(form_->HelpWindow(), nullptr);
    EXPECT_FALSE(TakeQuitMessage()) << "closing the help window does not end the program";
    ClickImage1(form_->window());
    EXPECT_NE(form_->HelpWindow(), nullptr);
    EXPECT_EQ(HelpWindowsOfThisThread().size(), 1u);
}

TEST_F(Form1Test, AClickBesideTheHelpPictureOpensNothing) {
    CreateForm();
    const RECT image = Form1::Image1Rect();
    const LPARAM beside = MAKELPARAM(image.left - 3, image.top + 8);
    SendMessageW(form_->window(), WM_LBUTTONDOWN, MK_LBUTTON, beside);
    SendMessageW(form_->window(), WM_LBUTTONUP, 0, beside);
    // Pressed on the picture, released elsewhere: no click either.
    SendMessageW(form_->window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(image.left + 5, image.top + 5));
    SendMessageW(form_->window(), WM_LBUTTONUP, 0, MAKELPARAM(image.right + 20, image.top + 5));
    EXPECT_EQ(form_->HelpWindow(), nullptr);
}

TEST_F(Form1Test, RealMouseClickOnTheHelpPictureOpensTheHelpWindow) {
    CreateForm();
    SetForegroundWindow(form_->window());
    PumpFor(50);
    const RECT image = Form1::Image1Rect();
    POINT at{image.left + 20, image.top + 8};
    ClientToScreen(form_->window(), &at);
    SetCursorPos(at.x, at.y);
    INPUT inputs[2] = {};
    inputs[0].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[1].type = INPUT_MOUSE;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ASSERT_EQ(SendInput(2, inputs, sizeof(INPUT)), 2u);
    EXPECT_TRUE(PumpUntil([&] { return form_->HelpWindow() != nullptr; }, 3000));
}

TEST_F(Form1Test, ClosingTheMainWindowWhileHelpIsOpenEndsTheProgram) {
    CreateForm();
    ClickImage1(form_->window());
    const HWND help = form_->HelpWindow();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(CloseForm());
    EXPECT_FALSE(IsWindow(help));
}

TEST_F(Form1Test, HelpTextIsRedAndWrappedInsideItsLabel) {
    CreateForm();
    ClickImage1(form_->window());
    const HWND help = form_->HelpWindow();
    ASSERT_NE(help, nullptr);
    PumpFor(50);
    UpdateWindow(help);
    const RECT label = Form2::Label1Rect();
    const RECT expected{0, 8, 441, 57};
    EXPECT_TRUE(EqualRect(&label, &expected));

    HDC dc = GetDC(help);
    HGDIOBJ old_font = SelectObject(dc, resources_->font());
    const std::vector<std::wstring> lines = WrapLabelText(dc, kForm2Text, label.right - label.left);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    EXPECT_GE(lines.size(), 2u);
    EXPECT_LE(static_cast<int>(lines.size()) * (metrics.tmHeight + metrics.tmExternalLeading), label.bottom - label.top)
        << "the whole text fits in the label";
    std::wstring joined;
    for (const std::wstring& line : lines) {
        SIZE size{};
        GetTextExtentPoint32W(dc, line.c_str(), static_cast<int>(line.size()), &size);
        EXPECT_LE(size.cx, label.right - label.left);
        joined += line;
    }
    std::wstring without_blanks = kForm2Text;
    std::erase(without_blanks, L' ');
    std::erase(joined, L' ');
    EXPECT_EQ(joined, without_blanks);

    int red_inside = 0;
    int red_outside = 0;
    RECT client{};
    GetClientRect(help, &client);
    for (int y = 0; y < client.bottom; ++y) {
        for (int x = 0; x < client.right; ++x) {
            if (GetPixel(dc, x, y) != RGB(255, 0, 0))
                continue;
            const POINT point{x, y};
            (PtInRect(&label, point) ? red_inside : red_outside)++;
        }
    }
    SelectObject(dc, old_font);
    ReleaseDC(help, dc);
    EXPECT_GT(red_inside, 50);
    EXPECT_EQ(red_outside, 0);
}
