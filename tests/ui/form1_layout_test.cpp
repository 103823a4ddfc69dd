// The main window as the program creates it: class, frame, client size, every control at its
// place with its caption, tab order, font and colours, the help picture and its cursor.
#include <cstring>

#include "tests/ui/ui_test_support.h"
#include "ui/art/help_picture_art.h"
#include "win/wide_text.h"

namespace {

std::wstring ClassName(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

std::wstring WindowText(HWND window) {
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    return text;
}

RECT PlaceInParent(HWND control) {
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

struct ExpectedControl {
    Form1Window which;
    const wchar_t* class_name;
    int left, top, width, height;
    const wchar_t* caption;
    bool visible;
};

// Pixel places written out independently of the layout table, so a slip in either shows.
const ExpectedControl kExpected[] = {
    {Form1Window::Command1, L"Button", 32, 16, 201, 41, L"选择要转换txt,htm文件的文件夹", true},
    {Form1Window::Command2, L"Button", 280, 16, 193, 41, L"转 换 生 成", true},
    {Form1Window::File1, L"ListBox", 24, 88, 217, 186, L"", true},
    {Form1Window::File2, L"ListBox", 0, 560, 169, 66, L"", false},
    {Form1Window::List1, L"ListBox", 264, 88, 249, 184, L"", true},
};

COLORREF ClientPixel(HWND window, int x, int y) {
    HDC dc = GetDC(window);
    const COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return colour;
}

bool AnyPixelOf(HWND window, const RECT& rect, COLORREF colour) {
    HDC dc = GetDC(window);
    bool found = false;
    for (int y = rect.top; y < rect.bottom && !found; ++y) {
        for (int x = rect.left; x < rect.right && !found; ++x)
            found = GetPixel(dc, x, y) == colour;
    }
    ReleaseDC(window, dc);
    return found;
}

}  // namespace

TEST_F(Form1Test, WindowHasFormClassTitleFixedFrameAndClientSize) {
    CreateForm();
    const HWND window = form_->window();
    EXPECT_EQ(ClassName(window), L"Form");
    EXPECT_EQ(WindowText(window), L"Folvane");
    RECT client{};
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 535);
    EXPECT_EQ(client.bottom, 316);
    const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
    EXPECT_EQ(style & WS_THICKFRAME, 0) << "the frame must not be resizable";
    EXPECT_EQ(style & WS_MAXIMIZEBOX, 0);
    EXPECT_NE(style & WS_CAPTION, 0);
    EXPECT_NE(style & WS_SYSMENU, 0);
    EXPECT_EQ(GetMenu(window), nullptr);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_NE(GetClassLongPtrW(window, GCLP_HICON), 0);
    EXPECT_NE(GetClassLongPtrW(window, GCLP_HICONSM), 0);
}

TEST_F(Form1Test, ControlsHaveTheirClassPlaceCaptionAndVisibility) {
    CreateForm();
    for (const ExpectedControl& expected : kExpected) {
        const HWND control = Control(expected.which);
        ASSERT_NE(control, nullptr);
        SCOPED_TRACE(kForm1Windows[static_cast<int>(expected.which)].name);
        EXPECT_EQ(GetParent(control), form_->window());
        EXPECT_EQ(ClassName(control), expected.class_name);
        const RECT place = PlaceInParent(control);
        EXPECT_EQ(place.left, expected.left);
        EXPECT_EQ(place.top, expected.top);
        EXPECT_EQ(place.right - place.left, expected.width);
        EXPECT_EQ(place.bottom - place.top, expected.height);
        EXPECT_EQ(WindowText(control), expected.caption);
        EXPECT_EQ(IsWindowVisible(control) != FALSE, expected.visible);
    }
    // List boxes keep their entries in the order they are given, at their exact height.
    for (Form1Window list : {Form1Window::File1, Form1Window::File2, Form1Window::List1}) {
        const LONG_PTR style = GetWindowLongPtrW(Control(list), GWL_STYLE);
        EXPECT_EQ(style & LBS_SORT, 0);
        EXPECT_NE(style & LBS_NOINTEGRALHEIGHT, 0);
    }
}

TEST_F(Form1Test, ClassNamesStayPlainUnderTheCommonControlsManifest) {
    // The manifest asks for common controls 6; the skin still has to recognise the buttons
    // by the plain class name.
    CreateForm();
    // The buttons' window procedure comes from common controls 6, not from user32.
    HMODULE owner = nullptr;
    const auto procedure = GetClassLongPtrW(Control(Form1Window::Command1), GCLP_WNDPROC);
    ASSERT_TRUE(
        GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                           reinterpret_cast<LPCWSTR>(procedure), &owner));
    wchar_t module[MAX_PATH] = {};
    GetModuleFileNameW(owner, module, MAX_PATH);
    std::wstring name = module;
    for (wchar_t& c : name)
        c = towlower(c);
    EXPECT_NE(name.find(L"comctl32"), std::wstring::npos) << "not common controls 6: " << Utf8FromWide(name);
    EXPECT_EQ(ClassName(Control(Form1Window::Command1)), L"Button");
    EXPECT_EQ(ClassName(Control(Form1Window::List1)), L"ListBox");
}

TEST_F(Form1Test, TabOrderFollowsTheTabIndexes) {
    CreateForm();
    const HWND window = form_->window();
    // Creation order is tab order.
    std::vector<HWND> children;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        children.push_back(child);
    }
    const std::vector<HWND> expected = {Control(Form1Window::Command1), Control(Form1Window::Command2),
                                        Control(Form1Window::File1), Control(Form1Window::File2),
                                        Control(Form1Window::List1)};
    EXPECT_EQ(children, expected);
    // The Tab key walks the visible controls and skips the hidden output list.
    HWND at = Control(Form1Window::Command1);
    std::vector<HWND> walk;
    for (int i = 0; i < 4; ++i) {
        at = GetNextDlgTabItem(window, at, FALSE);
        walk.push_back(at);
    }
    EXPECT_EQ(walk, (std::vector<HWND>{Control(Form1Window::Command2), Control(Form1Window::File1),
                                       Control(Form1Window::List1), Control(Form1Window::Command1)}));
    // The layout table lists the windows with rising tab indexes.
    for (int i = 1; i < static_cast<int>(Form1Window::Count); ++i) {
        EXPECT_LT(kForm1Windows[i - 1].tab_index, kForm1Windows[i].tab_index);
    }
}

TEST_F(Form1Test, TabKeyMovesTheFocusThroughTheMessageLoop) {
    CreateForm();
    SetForegroundWindow(form_->window());
    SetFocus(Control(Form1Window::Command1));
    MSG tab{};
    tab.hwnd = Control(Form1Window::Command1);
    tab.message = WM_KEYDOWN;
    tab.wParam = VK_TAB;
    EXPECT_TRUE(form_->PreTranslateMessage(tab));
    EXPECT_EQ(GetFocus(), Control(Form1Window::Command2));
}

TEST_F(Form1Test, Command1HasTheFocusAtStartAndSpacePressesIt) {
    int chooser_opened = 0;
    CreateForm([&] {
        ++chooser_opened;
        return std::string();
    });
    EXPECT_EQ(GetFocus(), Control(Form1Window::Command1));
    // A real key, through the message loop as the program runs it.
    INPUT keys[2] = {};
    keys[0].type = keys[1].type = INPUT_KEYBOARD;
    keys[0].ki.wVk = keys[1].ki.wVk = VK_SPACE;
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, keys, sizeof(INPUT));
    EXPECT_TRUE(PumpUntil([&] { return chooser_opened == 1; }, 2000));
}

TEST_F(Form1Test, TheFocusComesBackToItsControlAfterAMessageBox) {
    CreateForm();
    SetFocus(Control(Form1Window::Command2));
    {
        DialogAnswerer answerer(IDOK);
        form_->ShowRunMessage("text", "title");
        ASSERT_EQ(answerer.seen().size(), 1u);
    }
    PumpFor(20);
    EXPECT_EQ(GetFocus(), Control(Form1Window::Command2));
}

TEST_F(Form1Test, EveryControlUsesTheSystemMessageFont) {
    CreateForm();
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0));
    for (int i = 0; i < static_cast<int>(Form1Window::Count); ++i) {
        const HFONT font =
            reinterpret_cast<HFONT>(SendMessageW(Control(static_cast<Form1Window>(i)), WM_GETFONT, 0, 0));
        ASSERT_NE(font, nullptr);
        EXPECT_EQ(font, resources_->font());
    }
    LOGFONTW used{};
    ASSERT_NE(GetObjectW(resources_->font(), sizeof(used), &used), 0);
    EXPECT_EQ(used.lfHeight, metrics.lfMessageFont.lfHeight);
    EXPECT_EQ(used.lfCharSet, metrics.lfMessageFont.lfCharSet);
    EXPECT_STREQ(used.lfFaceName, metrics.lfMessageFont.lfFaceName);
}

TEST_F(Form1Test, LabelsArePlacedAndStartEmpty) {
    CreateForm();
    const struct {
        Form1Label which;
        RECT place;
        COLORREF colour;
    } expected[] = {
        {Form1Label::Label1, {24, 280, 513, 297}, 0x00000080},
        {Form1Label::Label10, {24, 64, 233, 81}, 0x00000040},
        {Form1Label::Label11, {272, 64, 513, 89}, 0x00000040},
    };
    for (const auto& label : expected) {
        const RECT place = Form1::LabelRect(label.which);
        EXPECT_TRUE(EqualRect(&place, &label.place)) << kForm1Labels[static_cast<int>(label.which)].name;
        EXPECT_EQ(kForm1Labels[static_cast<int>(label.which)].text_colour.Resolve(), label.colour);
    }
    for (int i = 0; i < static_cast<int>(Form1Label::Count); ++i) {
        EXPECT_TRUE(form_->LabelCaption(static_cast<Form1Label>(i)).empty()) << kForm1Labels[i].name;
    }
    // The page head and tail labels lie where they are never seen.
    const RECT head = Form1::LabelRect(Form1Label::Label2);
    EXPECT_GE(head.top, 316);
    const RECT image = Form1::Image1Rect();
    const RECT expected_image{488, 24, 530, 41};
    EXPECT_TRUE(EqualRect(&image, &expected_image));
}

TEST_F(Form1Test, LabelTextIsDrawnInItsColourInsideItsRectangle) {
    CreateForm();
    form_->SetLabelCaption(Form1Label::Label1, L"████████");
    UpdateWindow(form_->window());
    EXPECT_TRUE(AnyPixelOf(form_->window(), Form1::LabelRect(Form1Label::Label1), RGB(0x80, 0, 0)));
    // Label10 has its own colour and stays inside its rectangle.
    form_->SetLabelCaption(Form1Label::Label10, L"████████ ████████ ████████ ████████ ████████ ████████");
    UpdateWindow(form_->window());
    const RECT label10 = Form1::LabelRect(Form1Label::Label10);
    EXPECT_TRUE(AnyPixelOf(form_->window(), label10, RGB(0x40, 0, 0)));
    const RECT below{label10.left, label10.bottom, label10.right, Form1::LabelRect(Form1Label::Label1).top - 1};
    const RECT between{below.left, below.top, below.right, 88};  // down to the file list
    EXPECT_FALSE(AnyPixelOf(form_->window(), between, RGB(0x40, 0, 0)));
}

TEST_F(Form1Test, HelpPictureIsDrawnWithATransparentBackground) {
    CreateForm();
    UpdateWindow(form_->window());
    const RECT image = Form1::Image1Rect();
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    int opaque_checked = 0;
    for (int y = 0; y < kHelpPicture.height; ++y) {
        for (int x = 0; x < kHelpPicture.width; ++x) {
            const Rgba c = kHelpPicture.At(x, y);
            const COLORREF seen = ClientPixel(form_->window(), image.left + x, image.top + y);
            if (c.alpha == 0) {
                EXPECT_EQ(seen, face) << x << "," << y;
            } else if (c.alpha == 255) {
                EXPECT_NEAR(GetRValue(seen), c.red, 1) << x << "," << y;
                EXPECT_NEAR(GetGValue(seen), c.green, 1) << x << "," << y;
                EXPECT_NEAR(GetBValue(seen), c.blue, 1) << x << "," << y;
                ++opaque_checked;
            }
        }
    }
    EXPECT_GT(opaque_checked, 100);
}

TEST_F(Form1Test, PointingHandOverTheHelpPictureOnly) {
    CreateForm();
    const HWND window = form_->window();
    const RECT image = Form1::Image1Rect();
    POINT over{image.left + 10, image.top + 8};
    ClientToScreen(window, &over);
    SetCursorPos(over.x, over.y);
    SendMessageW(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), resources_->hand_cursor());
    POINT away{300, 200};
    ClientToScreen(window, &away);
    SetCursorPos(away.x, away.y);
    SendMessageW(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_NE(GetCursor(), resources_->hand_cursor());
}
