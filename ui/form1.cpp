#include "ui/form1.h"

#include <windowsx.h>

#include "skin/skin.h"
#include "ui/browse_for_folder.h"
#include "ui/dropped_folder.h"
#include "ui/label_text.h"
#include "ui/message_pump.h"
#include "ui/shell_open.h"
#include "win/wide_text.h"

namespace {

const WindowedControl& Layout(Form1Window which) {
    return kForm1Windows[static_cast<int>(which)];
}

}  // namespace

std::wstring LoadedCountText(int count) {
    return L"加载" + std::to_wstring(count) + L"个文件";
}

int RunMessageLoop(Form1& form) {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (form.PreTranslateMessage(message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

Form1::Form1(const FormResources& resources, Form1Options options)
    : resources_(resources), options_(std::move(options)) {
    if (!options_.choose_folder)
        options_.choose_folder = BrowseForFolder;
    if (!options_.open_with_shell)
        options_.open_with_shell = OpenWithShell;
    if (!options_.pump_messages)
        options_.pump_messages = PumpPendingMessages;
    if (!options_.taskbar_progress)
        options_.taskbar_progress = CreateTaskbarProgress;
}

Form1::~Form1() {
    // The help window goes with the main window; the compilers live on by themselves.
    form2_.reset();
}

bool Form1::Create(int show_command) {
    if (!RegisterFormClass(resources_.instance(), resources_.big_icon(), resources_.small_icon()))
        return false;
    const RECT client = kForm1Client.Pixels();
    if (!CreateForm(resources_.instance(), kForm1Title, kFixedFormStyle, client.right, client.bottom))
        return false;
    if (!CreateControls()) {
        DestroyWindow(window());
        return false;
    }
    DragAcceptFiles(window(), TRUE);
    Form_Load();
    ShowWindow(window(), show_command);
    // The first control in tab order takes the keyboard, so that Space presses it at once.
    SetFocus(Control(Form1Window::Command1));
    UpdateWindow(window());
    return true;
}

bool Form1::CreateControls() {
    for (int i = 0; i < static_cast<int>(Form1Window::Count); ++i) {
        const WindowedControl& layout = kForm1Windows[i];
        const bool is_button = std::wstring_view(layout.class_name) == L"Button";
        DWORD style = WS_CHILD | WS_TABSTOP | (layout.visible ? WS_VISIBLE : 0);
        style |= is_button ? BS_PUSHBUTTON : (WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT);
        const RECT place = layout.place.Pixels();
        const HWND control =
            CreateWindowExW(is_button ? 0 : WS_EX_CLIENTEDGE, layout.class_name, layout.caption, style, place.left,
                            place.top, place.right - place.left, place.bottom - place.top, window(),
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(layout.id)), resources_.instance(), nullptr);
        if (!control)
            return false;
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(resources_.font()), FALSE);
        controls_[i] = control;
    }
    file1_.Attach(Control(Form1Window::File1));
    file2_.Attach(Control(Form1Window::File2));
    list1_.Attach(Control(Form1Window::List1));
    return true;
}

RECT Form1::LabelRect(Form1Label which) {
    return kForm1Labels[static_cast<int>(which)].place.Pixels();
}

RECT Form1::Image1Rect() {
    return kImage1Place.Pixels();
}

void Form1::SetLabelCaption(Form1Label which, std::wstring_view text) {
    std::wstring& caption = labels_[static_cast<int>(which)];
    if (caption == text)
        return;
    caption = text;
    if (window()) {
        const RECT rect = LabelRect(which);
        InvalidateRect(window(), &rect, FALSE);
    }
}

bool Form1::PreTranslateMessage(MSG& msg) {
    return window() && IsDialogMessageW(window(), &msg);
}

void Form1::Form_Load() {
    SkinWindow(window());
    file1_.SetPath("");
    file1_.Refresh();
}

void Form1::Command1_Click() {
    const std::string folder = options_.choose_folder();
    // The chooser has no owner: the main window may have been closed while it was open.
    if (!window())
        return;
    TakeFolder(folder);
}

void Form1::Form_DropFiles(HDROP drop) {
    const std::string folder = DroppedFolder(drop);
    DragFinish(drop);
    if (!folder.empty())
        TakeFolder(folder);
}

void Form1::TakeFolder(const std::string& folder) {
    file1_.SetPath(folder);
    file1_.Refresh();
    SetLabelCaption(Form1Label::Label10, LoadedCountText(file1_.ListCount()));
}

void Form1::Image1_Click() {
    if (!form2_)
        form2_ = std::make_unique<Form2>(resources_);
    form2_->Show();
}

void Form1::Form_Unload() {
    UnskinWindow(window());
}

LRESULT Form1::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_COMMAND:
            if (HIWORD(wparam) == BN_CLICKED) {
                if (LOWORD(wparam) == Layout(Form1Window::Command1).id) {
                    Command1_Click();
                    return 0;
                }
                if (LOWORD(wparam) == Layout(Form1Window::Command2).id) {
                    Command2_Click();
                    return 0;
                }
            }
            if (HIWORD(wparam) == LBN_DBLCLK && LOWORD(wparam) == Layout(Form1Window::List1).id) {
                List1_DblClick();
                return 0;
            }
            break;
        case WM_DROPFILES:
            Form_DropFiles(reinterpret_cast<HDROP>(wparam));
            return 0;
        case WM_ACTIVATE:
            if (LOWORD(wparam) == WA_INACTIVE) {
                const HWND focus = GetFocus();
                if (focus && IsChild(window(), focus))
                    last_focus_ = focus;
            }
            break;  // activation gives the form the focus, which WM_SETFOCUS passes on
        case WM_SETFOCUS:
            SetFocus(last_focus_ && IsChild(window(), last_focus_) ? last_focus_ : Control(Form1Window::Command1));
            return 0;
        case WM_CTLCOLORLISTBOX:
            if (reinterpret_cast<HWND>(lparam) == Control(Form1Window::File1)) {
                const HDC dc = reinterpret_cast<HDC>(wparam);
                SetTextColor(dc, Layout(Form1Window::File1).text_colour.Resolve());
                SetBkColor(dc, GetSysColor(COLOR_WINDOW));
                return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
            }
            break;
        case WM_ERASEBKGND:
            return 1;  // WM_PAINT fills the whole client area
        case WM_PAINT:
            Paint();
            return 0;
        case WM_SETCURSOR:
            if (OnSetCursor(wparam, lparam))
                return TRUE;
            break;
        case WM_LBUTTONDOWN: {
            const POINT point{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
            const RECT image = Image1Rect();
            if (PtInRect(&image, point)) {
                image1_pressed_ = true;
                SetCapture(window());
            }
            return 0;
        }
        case WM_LBUTTONUP: {
            if (!image1_pressed_)
                return 0;
            image1_pressed_ = false;
            ReleaseCapture();
            const POINT point{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
            const RECT image = Image1Rect();
            if (PtInRect(&image, point))
                Image1_Click();
            return 0;
        }
        case WM_CAPTURECHANGED:
            image1_pressed_ = false;
            return 0;
        case WM_TIMER:
            if (wparam == kCompileTimerId) {
                CheckCompilers();
                return 0;
            }
            break;
        case WM_CLOSE:
            OnClose();
            return 0;
        case WM_DESTROY:
            OnDestroy();
            return 0;
        case WM_NCDESTROY:
            file1_.Attach(nullptr);
            file2_.Attach(nullptr);
            list1_.Attach(nullptr);
            controls_.fill(nullptr);
            break;
        default:
            break;
    }
    return FormWindow::HandleMessage(message, wparam, lparam);
}

void Form1::OnClose() {
    if (running_) {
        // The run finishes the book it is making, so that no folder is left half written, and
        // stops at its next yield; Command2_Click then closes the window. Nothing shows meanwhile.
        close_requested_ = true;
        ShowWindow(window(), SW_HIDE);
        if (HelpWindow())
            ShowWindow(HelpWindow(), SW_HIDE);
        return;
    }
    Form_Unload();
    DestroyWindow(window());
}

void Form1::OnDestroy() {
    KillTimer(window(), kCompileTimerId);
    // Closing the main window ends the program, also while the help window is open.
    if (HelpWindow())
        DestroyWindow(HelpWindow());
    if (options_.quit_when_closed)
        PostQuitMessage(0);
}

bool Form1::OnSetCursor(WPARAM wparam, LPARAM lparam) {
    if (reinterpret_cast<HWND>(wparam) != window() || LOWORD(lparam) != HTCLIENT)
        return false;
    POINT point{};
    GetCursorPos(&point);
    ScreenToClient(window(), &point);
    const RECT image = Image1Rect();
    if (!PtInRect(&image, point))
        return false;
    SetCursor(resources_.hand_cursor());
    return true;
}

void Form1::Paint() {
    ScopedPaint paint(window());
    RECT client{};
    GetClientRect(window(), &client);
    // Drawn off screen first, so that label updates during a run do not flicker.
    ScopedCreatedDC buffer(CreateCompatibleDC(paint.get()));
    ScopedBitmap bitmap(CreateCompatibleBitmap(paint.get(), client.right, client.bottom));
    if (!buffer || !bitmap)
        return;
    {
        ScopedSelect selected_bitmap(buffer.get(), bitmap.get());
        ScopedSelect selected_font(buffer.get(), resources_.font());
        FillRect(buffer.get(), &client, GetSysColorBrush(COLOR_BTNFACE));
        for (int i = 0; i < static_cast<int>(Form1Label::Count); ++i) {
            DrawLabelText(buffer.get(), kForm1Labels[i].place.Pixels(), labels_[i],
                          kForm1Labels[i].text_colour.Resolve());
        }
        const RECT image = Image1Rect();
        resources_.DrawHelpPicture(buffer.get(), image.left, image.top);
        const RECT& dirty = paint.info().rcPaint;
        BitBlt(paint.get(), dirty.left, dirty.top, dirty.right - dirty.left, dirty.bottom - dirty.top, buffer.get(),
               dirty.left, dirty.top, SRCCOPY);
    }
}
