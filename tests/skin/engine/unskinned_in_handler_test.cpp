// A control's own procedure may take the skin off its whole form while it handles a message
// that the skin handles too; the skin then leaves nothing of its own on the control.
#include <windows.h>
// commctrl.h needs the types of windows.h first.
#include <commctrl.h>

#include <map>

#include "engine/engine.h"
#include "support/skinned_form.h"

namespace {

// The procedure each control had before the test put UnskinOnMouseMove under the skin.
std::map<HWND, WNDPROC>& PreviousProcs() {
    static std::map<HWND, WNDPROC> procs;
    return procs;
}

// Takes the skin off the control's form as soon as the mouse moves over the control, then lets
// the control handle the move as usual.
LRESULT CALLBACK UnskinOnMouseMove(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    WNDPROC previous = PreviousProcs()[window];
    if (message == WM_MOUSEMOVE)
        UnskinWindow(GetAncestor(window, GA_ROOT));
    return CallWindowProcW(previous, window, message, wParam, lParam);
}

class UnskinnedInHandlerTest : public SkinnedFormTest {
  protected:
    void TearDown() override {
        SkinnedFormTest::TearDown();
        PreviousProcs().clear();
    }
    static void UnskinOnMove(HWND control) {
        PreviousProcs()[control] = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&UnskinOnMouseMove)));
    }
};

}  // namespace

TEST_F(UnskinnedInHandlerTest, AMoveThatUnskinsTheFormLeavesNoStateOnTheControl) {
    const struct {
        const wchar_t* className;
        DWORD style;
    } controls[] = {
        {L"ThunderRT6CheckBox", BS_AUTOCHECKBOX},
        {L"ThunderRT6OptionButton", BS_AUTORADIOBUTTON},
        {L"ThunderRT6ComboBox", CBS_DROPDOWNLIST},
        {WC_HEADERW, HDS_HORZ},
    };
    for (const auto& control : controls) {
        HWND window = Child(control.className, control.style, 10, 10, 200, 24, L"Control");
        UnskinOnMove(window);
        Skin();
        ASSERT_NE(Prop(window, "PROCADDR"), 0);

        SendMessageW(window, WM_MOUSEMOVE, 0, Point(20, 10));
        EXPECT_EQ(Prop(window, "PROCADDR"), 0);
        EXPECT_EQ(SkinnedWindowCount(), 0);
        // None of the properties that the skin's move handling writes came back.
        for (const char* name : {"MOUSEFLAG", "OLDSTATE", "HDINDEX", "HMINDEX"})
            EXPECT_EQ(GetPropA(window, name), nullptr) << name;
        DestroyWindow(window);
    }
}
