// The skin among other subclasses and windows: a subclass installed after the skin keeps
// working through the skin's removal and its own, and a click refreshes the boxes of the
// window it happened in, also when that window is a dialog box owned by a skinned form.
#include <gtest/gtest.h>

#include "engine/engine.h"
#include "engine/window_proc.h"
#include "skin/skin.h"
#include "support/test_form.h"
#include "win_support/message_pump.h"

namespace {

WNDPROC later_previous = nullptr;
int later_calls = 0;

// A subclass of the kind other code installs on a control: it counts and passes everything on.
LRESULT CALLBACK LaterSubclass(HWND window, UINT message, WPARAM w_param, LPARAM l_param) {
    ++later_calls;
    return CallWindowProcW(later_previous, window, message, w_param, l_param);
}

LONG_PTR ProcOf(HWND window) {
    return GetWindowLongPtrW(window, GWLP_WNDPROC);
}

LRESULT CheckState(HWND button) {
    return SendMessageW(button, BM_GETCHECK, 0, 0);
}

class ChainTest : public ::testing::Test {
  protected:
    void TearDown() override {
        EXPECT_EQ(SkinnedWindowCount(), 0);
        EXPECT_FALSE(SkinInitialised());
    }
};

}  // namespace

TEST_F(ChainTest, ASubclassInstalledAfterTheSkinOutlivesTheDetachAndItsOwnRemoval) {
    TestForm form;
    MakeTestForm(form, {.withCheckBox = true});
    HWND check = form.check;
    const LONG_PTR own_proc = ProcOf(check);
    ASSERT_EQ(SkinWindow(form.form), 1);
    later_previous =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrW(check, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&LaterSubclass)));
    ASSERT_EQ(reinterpret_cast<LONG_PTR>(later_previous), reinterpret_cast<LONG_PTR>(&SkinWindowProc));

    // The skin goes; the later subclass stays in charge and the control keeps working.
    ASSERT_EQ(UnskinWindow(form.form), 1);
    EXPECT_EQ(ProcOf(check), reinterpret_cast<LONG_PTR>(&LaterSubclass));
    EXPECT_TRUE(PropertyNames(check).empty());
    later_calls = 0;
    SendMessageW(check, BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_GT(later_calls, 0);
    EXPECT_EQ(CheckState(check), BST_CHECKED);

    // The later subclass removes itself the usual way, by putting back what it found.
    SetWindowLongPtrW(check, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(later_previous));
    SendMessageW(check, BM_SETCHECK, BST_UNCHECKED, 0);
    EXPECT_EQ(CheckState(check), BST_UNCHECKED);
    SendMessageW(check, BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_EQ(CheckState(check), BST_CHECKED);

    // Skinned again, the control is served once, by its own procedure under the skin.
    ASSERT_EQ(SkinWindow(form.form), 1);
    EXPECT_EQ(Prop(check, "PROCADDR"), own_proc);
    SendMessageW(check, BM_SETCHECK, BST_UNCHECKED, 0);
    EXPECT_EQ(CheckState(check), BST_UNCHECKED);
    ASSERT_EQ(UnskinWindow(form.form), 1);
    EXPECT_EQ(CheckState(check), BST_UNCHECKED);
}

TEST_F(ChainTest, AReleaseOnAnOwnedDialogBoxRefreshesTheDialogsBoxesNotTheOwners) {
    WNDCLASSW box_class{};
    box_class.lpfnWndProc = DefWindowProcW;
    box_class.hInstance = GetModuleHandleW(nullptr);
    box_class.lpszClassName = L"ThunderRT6CheckBox";
    RegisterClassW(&box_class);
    auto box_in = [](HWND parent) {
        return CreateWindowExW(0, L"ThunderRT6CheckBox", L"box", WS_CHILD | WS_VISIBLE, 10, 40, 100, 20, parent,
                               nullptr, GetModuleHandleW(nullptr), nullptr);
    };

    TestForm form;
    MakeTestForm(form);
    HWND owner_box = box_in(form.form);
    HWND dialog = CreateWindowExW(0, L"#32770", L"", WS_POPUP | WS_VISIBLE, 300, 300, 200, 100, form.form, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    HWND dialog_box = box_in(dialog);
    ASSERT_EQ(SkinWindow(form.form), 1);
    ASSERT_EQ(SkinWindow(dialog), 1);
    PumpMessages();

    for (HWND box : {owner_box, dialog_box})
        SetPropA(box, "OLDSTATE", reinterpret_cast<HANDLE>(2));
    SendMessageW(dialog, WM_LBUTTONUP, 0, MAKELPARAM(150, 80));
    EXPECT_EQ(Prop(dialog_box, "OLDSTATE"), 0);
    EXPECT_EQ(Prop(owner_box, "OLDSTATE"), 2);

    DestroyWindow(dialog);
    EXPECT_EQ(UnskinWindow(form.form), 1);
}
