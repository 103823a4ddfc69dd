// folvane.exe: the main window is the program. No command line, settings or registry.
#include "ui/win32.h"
// after windows.h
#include <commctrl.h>
#include <objbase.h>

#include "ui/form1.h"
#include "ui/form_resources.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show_command) {
    // The manifest asks for common controls 6: load them before the first button is made.
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    // The folder chooser needs COM in a single-threaded apartment.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    int exit_code = 1;
    {
        FormResources resources(instance);
        Form1 form(resources);
        if (form.Create(show_command)) {
            exit_code = RunMessageLoop(form);
            // The window is gone, but compiles that still wait or run would leave their book
            // folders without a book if the process ended now. They finish first, with nothing
            // on the screen: the user has closed the window and expects it gone.
            form.FinishCompiles();
        }
    }
    if (SUCCEEDED(com))
        CoUninitialize();
    return exit_code;
}
