// The dialogs that appear over the skinned main window are skinned themselves and still
// answer the keyboard: the run's message box closes on Return, the folder chooser on Escape.
// The keys are real input (SendInput), so they travel the message loop and the skin's
// window procedures exactly as a user's keys do.
#include "tests/ui/ui_test_support.h"
#include "ui/form1_run_controls.h"

namespace {

bool Skinned(HWND window) {
    return window && GetPropA(window, "PROCADDR") != nullptr;
}

// A named CALLBACK function: a lambda has no stdcall conversion in 32-bit builds.
BOOL CALLBACK RememberVisibleDialog(HWND window, LPARAM param) {
    char name[16] = {};
    GetClassNameA(window, name, sizeof name);
    if (lstrcmpA(name, "#32770") == 0 && IsWindowVisible(window)) {
        *reinterpret_cast<HWND*>(param) = window;
        return FALSE;
    }
    return TRUE;
}

HWND FindThreadDialog() {
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), RememberVisibleDialog, reinterpret_cast<LPARAM>(&found));
    return found;
}

// What the dialog looked like when the key went in.
struct KeyedDialog {
    bool appeared = false;
    bool skinned = false;
    int skinned_buttons = 0;
    int buttons = 0;
    bool needed_rescue = false;
};

// Waits for a dialog of this thread, records its skin, presses `key` once as real keyboard
// input and, should the key not close it within a few seconds, closes it by command so that
// a failing test cannot hang.
class KeyboardAnswerer {
  public:
    explicit KeyboardAnswerer(WORD key) : key_(key), ticker_([this] { Tick(); }, 10) {}
    const KeyedDialog& result() const { return result_; }

  private:
    void Tick() {
        const HWND dialog = FindThreadDialog();
        if (!dialog)
            return;
        if (!pressed_) {
            // Give the skin's activation handling a few ticks to attach the dialog.
            if (++settle_ < 5)
                return;
            result_.appeared = true;
            result_.skinned = Skinned(dialog);
            for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
                char name[16] = {};
                GetClassNameA(child, name, sizeof name);
                if (lstrcmpiA(name, "Button") != 0 || !IsWindowVisible(child))
                    continue;
                ++result_.buttons;
                if (Skinned(child))
                    ++result_.skinned_buttons;
            }
            SetForegroundWindow(dialog);
            INPUT keys[2] = {};
            keys[0].type = keys[1].type = INPUT_KEYBOARD;
            keys[0].ki.wVk = keys[1].ki.wVk = key_;
            keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
            SendInput(2, keys, sizeof(INPUT));
            pressed_ = true;
            pressed_at_ = GetTickCount();
        } else if (GetTickCount() - pressed_at_ > 5000 && !result_.needed_rescue) {
            result_.needed_rescue = true;
            PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        }
    }

    WORD key_;
    KeyedDialog result_;
    bool pressed_ = false;
    int settle_ = 0;
    DWORD pressed_at_ = 0;
    ThreadTicker ticker_;
};

}  // namespace

TEST_F(Form1Test, TheRunsMessageBoxIsSkinnedAndClosesOnReturn) {
    CreateForm();
    Form1RunControls controls(*form_);
    KeyboardAnswerer answerer(VK_RETURN);
    controls.ShowMessage("加载文件后再转换吧!:)", "提示:)");
    const KeyedDialog& box = answerer.result();
    ASSERT_TRUE(box.appeared);
    EXPECT_FALSE(box.needed_rescue) << "Return did not close the message box";
    EXPECT_TRUE(box.skinned);
    EXPECT_EQ(box.buttons, 1);
    EXPECT_EQ(box.skinned_buttons, box.buttons);
    EXPECT_TRUE(Skinned(form_->window())) << "the main window keeps its skin";
}

TEST_F(Form1Test, TheFolderChooserIsSkinnedAndClosesOnEscape) {
    CreateForm();  // the shell's own chooser, opened by Command1 as the user opens it
    SetForegroundWindow(form_->window());
    SetActiveWindow(form_->window());
    PumpFor(20);
    KeyboardAnswerer answerer(VK_ESCAPE);
    Click(Form1Window::Command1);
    const KeyedDialog& chooser = answerer.result();
    ASSERT_TRUE(chooser.appeared);
    EXPECT_FALSE(chooser.needed_rescue) << "Escape did not close the folder chooser";
    EXPECT_TRUE(chooser.skinned);
    EXPECT_GE(chooser.buttons, 2);  // OK and Cancel at least
    EXPECT_EQ(chooser.skinned_buttons, chooser.buttons);
    EXPECT_EQ(Label(Form1Label::Label10), "加载0个文件");
    EXPECT_TRUE(IsWindowEnabled(form_->window()));
}
