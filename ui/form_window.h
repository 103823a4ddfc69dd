// A top-level window of class "Form" whose messages go to a C++ object. The object outlives
// its window: handlers that are still on the stack when the window is destroyed (a folder
// chooser, the run) find window() null afterwards instead of a dangling handle.
#pragma once

#include "ui/win32.h"

class FormWindow {
  public:
    FormWindow() = default;
    FormWindow(const FormWindow&) = delete;
    FormWindow& operator=(const FormWindow&) = delete;
    virtual ~FormWindow();

    HWND window() const { return window_; }

    // Registers the form class once per process; false only when registration failed.
    static bool RegisterFormClass(HINSTANCE instance, HICON big_icon, HICON small_icon);

  protected:
    // Creates the hidden window with a client area of the given pixel size.
    bool CreateForm(HINSTANCE instance, const wchar_t* title, DWORD style, int client_width, int client_height);
    virtual LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);

  private:
    static LRESULT CALLBACK FormProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
    HWND window_ = nullptr;
};

// The fixed, non-resizable frame of both forms.
inline constexpr DWORD kFixedFormStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
