#include "ui/form_window.h"

#include "ui/form_layout.h"

FormWindow::~FormWindow() {
    if (window_) {
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
        window_ = nullptr;
    }
}

bool FormWindow::RegisterFormClass(HINSTANCE instance, HICON big_icon, HICON small_icon) {
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof(existing);
    if (GetClassInfoExW(instance, kFormClassName, &existing))
        return true;
    WNDCLASSEXW form_class{};
    form_class.cbSize = sizeof(form_class);
    form_class.lpfnWndProc = FormProcedure;
    form_class.hInstance = instance;
    form_class.hIcon = big_icon;
    form_class.hIconSm = small_icon;
    form_class.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    form_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    form_class.lpszClassName = kFormClassName;
    return RegisterClassExW(&form_class) != 0;
}

bool FormWindow::CreateForm(HINSTANCE instance,
                            const wchar_t* title,
                            DWORD style,
                            int client_width,
                            int client_height) {
    RECT frame{0, 0, client_width, client_height};
    AdjustWindowRectEx(&frame, style, FALSE, 0);
    const HWND created =
        CreateWindowExW(0, kFormClassName, title, style, CW_USEDEFAULT, CW_USEDEFAULT, frame.right - frame.left,
                        frame.bottom - frame.top, nullptr, nullptr, instance, this);
    return created != nullptr && created == window_;
}

LRESULT FormWindow::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    return DefWindowProcW(window_, message, wparam, lparam);
}

LRESULT CALLBACK FormWindow::FormProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_NCCREATE) {
        auto* form = static_cast<FormWindow*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
        form->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
    }
    auto* form = reinterpret_cast<FormWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!form)
        return DefWindowProcW(window, message, wparam, lparam);
    const LRESULT result = form->HandleMessage(message, wparam, lparam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        form->window_ = nullptr;
    }
    return result;
}
