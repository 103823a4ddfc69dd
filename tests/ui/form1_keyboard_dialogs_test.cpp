// The dialogs that appear over the skinned main window are skinned themselves and still
// answer the keyboard: the run's message box closes on Return, the folder chooser on Escape.
// The keys are real input (SendInput), so they travel the message loop and the skin's
// window procedures exactly as a user's keys do.
#include "tests/ui/ui_test_support.h"
#include "ui/form1_run_controls.h"

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
    EXPECT_TRUE(IsSkinned(form_->window())) << "the main window keeps its skin";
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
