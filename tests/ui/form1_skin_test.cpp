// The skin engine sees the program's windows: Form_Load skins the main window and its
// controls, Form_Unload removes it, and the run's message box and the help window are
// skinned when they take the activation from the main window.
#include "tests/ui/ui_test_support.h"
#include "ui/form1_run_controls.h"

namespace {

bool Skinned(HWND window) {
    return GetPropA(window, "PROCADDR") != nullptr;
}

std::vector<HWND>* still_skinned = nullptr;

LRESULT CALLBACK RecordSkinnedAtDestroy(int code, WPARAM wparam, LPARAM lparam) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lparam);
    if (code == HC_ACTION && call->message == WM_DESTROY && GetPropA(call->hwnd, "PROCADDR")) {
        still_skinned->push_back(call->hwnd);
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
}

}  // namespace

TEST_F(Form1Test, FormLoadSkinsTheWindowAndEveryControl) {
    CreateForm();
    EXPECT_TRUE(Skinned(form_->window()));
    for (int i = 0; i < static_cast<int>(Form1Window::Count); ++i) {
        EXPECT_TRUE(Skinned(Control(static_cast<Form1Window>(i)))) << kForm1Windows[i].name;
    }
    // The skin takes over the drawing of the push buttons.
    for (Form1Window button : {Form1Window::Command1, Form1Window::Command2}) {
        EXPECT_EQ(GetWindowLongPtrW(Control(button), GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
    }
}

TEST_F(Form1Test, FormUnloadRemovesTheSkin) {
    CreateForm();
    form_->Form_Unload();
    EXPECT_FALSE(Skinned(form_->window()));
    for (int i = 0; i < static_cast<int>(Form1Window::Count); ++i) {
        EXPECT_FALSE(Skinned(Control(static_cast<Form1Window>(i)))) << kForm1Windows[i].name;
    }
    EXPECT_EQ(GetWindowLongPtrW(Control(Form1Window::Command1), GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON);
    EXPECT_TRUE(CloseForm());
}

TEST_F(Form1Test, ClosingTheWindowUnskinsItBeforeItGoes) {
    CreateForm();
    // A message hook sees every window of the tree as WM_DESTROY reaches it.
    std::vector<HWND> skinned_at_destroy;
    still_skinned = &skinned_at_destroy;
    HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, RecordSkinnedAtDestroy, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    EXPECT_TRUE(CloseForm());
    UnhookWindowsHookEx(hook);
    EXPECT_TRUE(skinned_at_destroy.empty());
}

TEST_F(Form1Test, TheRunsMessageBoxIsSkinned) {
    CreateForm();
    Form1RunControls controls(*form_);
    bool box_skinned = false;
    DialogAnswerer answerer(IDOK, [&](HWND box) { box_skinned = Skinned(box) && Skinned(GetDlgItem(box, IDOK)); });
    controls.ShowMessage("加载文件后再转换吧!:)", "提示:)");
    ASSERT_EQ(answerer.seen().size(), 1u);
    EXPECT_TRUE(box_skinned);
}

TEST_F(Form1Test, TheHelpWindowIsSkinnedWhenItTakesTheActivation) {
    CreateForm();
    SetForegroundWindow(form_->window());
    SetActiveWindow(form_->window());
    PumpFor(20);
    form_->Image1_Click();
    const HWND help = form_->HelpWindow();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(PumpUntil([&] { return Skinned(help); }, 2000));
    SendMessageW(help, WM_CLOSE, 0, 0);
    EXPECT_EQ(form_->HelpWindow(), nullptr);
    EXPECT_TRUE(Skinned(form_->window())) << "the main window keeps its skin";
}
