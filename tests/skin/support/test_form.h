// Shared pieces of the skin engine tests: the test form, a recording subclass procedure in
// the manner of message-sequence tests, and reading back what the skin drew and stored.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "win_support/window_pixels.h"

// A top-level window of the registered class "Form" with two push buttons, a list box and,
// when asked for, a "Button" window styled as a check box.
struct TestForm {
    HWND form = nullptr;
    HWND ok = nullptr;      // 75 x 23
    HWND cancel = nullptr;  // 75 x 23
    HWND list = nullptr;
    HWND check = nullptr;  // only with withCheckBox

    TestForm() = default;
    TestForm(const TestForm&) = delete;
    TestForm& operator=(const TestForm&) = delete;
    ~TestForm();
};

struct TestFormOptions {
    bool withCheckBox = false;
    bool record = false;  // put the recording procedure under every window before skinning
    bool disabledCancel = false;
};

void MakeTestForm(TestForm& out, const TestFormOptions& options = {});

// One message as the window's own procedure received it (after the skin passed it on).
struct Recorded {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// Recording subclass procedure: every window given to Record logs each message that reaches
// it, then hands it to the procedure it had before.
namespace MessageLog {
void Record(HWND window);
void Clear();
const std::vector<Recorded>& Entries();
// The messages of one window, in order, keeping only those listed.
std::vector<UINT> Of(HWND window, const std::vector<UINT>& only);
size_t Count(HWND window, UINT message);
// Called for each recorded message before it is handed on; empty to stop.
void SetObserver(std::function<void(const Recorded&)> observer);
}  // namespace MessageLog

// The face surface "HDC" + state of a skinned push button.
Pixels CaptureFace(HWND window, int state);
// Pixels inside the window's region (or all when it has none) where a and b differ by more
// than tolerance in any channel.
int CountDifferences(HWND window, const Pixels& a, const Pixels& b, int tolerance = 0);

// Names of the window's properties.
std::vector<std::string> PropertyNames(HWND window);

INT_PTR Prop(HWND window, const char* name);
