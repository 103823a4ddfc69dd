// A thousand hover / press / release / leave cycles of a push button and a hundred attach /
// detach cycles of the test form leave no GDI object and no window property behind.
#include <gtest/gtest.h>

#include "engine/engine.h"
#include "skin/skin.h"
#include "support/test_form.h"
#include "win_support/gdi_object_count.h"
#include "win_support/message_pump.h"
#include "win_support/mouse_tracking.h"

namespace {

LPARAM ClientCentre(HWND window) {
    RECT rect;
    GetClientRect(window, &rect);
    return MAKELPARAM(rect.right / 2, rect.bottom / 2);
}

void Ticks(HWND window, int count) {
    for (int i = 0; i < count; ++i)
        SendMessageW(window, WM_TIMER, 1, 0);
}

// One mouse round over the button: hover, press, release, leave, with fade ticks between.
void MouseCycle(HWND button) {
    SendMessageW(button, WM_MOUSEMOVE, 0, ClientCentre(button));
    Ticks(button, 3);
    SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, ClientCentre(button));
    SendMessageW(button, WM_LBUTTONUP, 0, ClientCentre(button));
    Ticks(button, 3);
    SendMessageW(button, WM_MOUSELEAVE, 0, 0);
    Ticks(button, 3);
}

std::vector<std::vector<std::string>> AllProperties(const TestForm& form) {
    std::vector<std::vector<std::string>> all;
    for (HWND window : {form.form, form.ok, form.cancel, form.list, form.check})
        all.push_back(PropertyNames(window));
    return all;
}

void Round(const TestForm& form, int cycle) {
    MouseCycle(form.ok);
    // The check-box-styled button runs through the same handlers but draws nothing of its own;
    // every tenth round is enough for it.
    if (cycle % 10 == 0)
        MouseCycle(form.check);
    if (cycle % 100 == 0) {
        // Now and then also the other ways the faces are rebuilt or shown.
        SetFocus(form.ok);
        SetFocus(form.cancel);
        SetWindowPos(form.ok, nullptr, 0, 0, cycle % 200 == 0 ? 90 : 75, 23,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        RedrawWindow(form.ok, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    }
}

// Back to the starting size, fades run out, no leave request pending, queue empty.
void Settle(const TestForm& form) {
    SetWindowPos(form.ok, nullptr, 0, 0, 75, 23, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    for (HWND button : {form.ok, form.cancel, form.check}) {
        while (GetPropA(button, "TIMERID"))
            Ticks(button, 1);
        CancelLeaveTracking(button);
    }
    PumpMessages();
}

}  // namespace

TEST(SkinLeakTest, GdiObjectsCanBeCounted) {
    DWORD before = GdiObjectCount();
    ASSERT_GT(before, 0);
    HBRUSH brush = CreateSolidBrush(0x00123456);
    EXPECT_EQ(GdiObjectCount(), before + 1);
    DeleteObject(brush);
    EXPECT_EQ(GdiObjectCount(), before);
}

TEST(SkinLeakTest, AThousandButtonCyclesLeaveNothingBehind) {
    TestForm form;
    MakeTestForm(form, {.withCheckBox = true});
    RECT rect;
    GetWindowRect(form.ok, &rect);
    SetCursorPos((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    PumpMessages();
    ASSERT_EQ(SkinWindow(form.form), 1);
    PumpMessages();

    // One round of everything first, so that every cache the platform fills on first use
    // (window DCs, the focus cue, sizes) is filled before counting.
    Round(form, 0);
    Settle(form);
    const DWORD gdiBefore = GdiObjectCount();
    const auto propertiesBefore = AllProperties(form);

    for (int cycle = 1; cycle <= 1000; ++cycle)
        Round(form, cycle);
    Settle(form);

    EXPECT_EQ(GdiObjectCount(), gdiBefore);
    EXPECT_EQ(AllProperties(form), propertiesBefore);
    EXPECT_EQ(UnskinWindow(form.form), 1);
}

TEST(SkinLeakTest, AHundredAttachDetachCyclesLeaveNothingBehind) {
    TestForm form;
    MakeTestForm(form, {.withCheckBox = true});
    const auto propertiesBefore = AllProperties(form);
    ASSERT_EQ(SkinWindow(form.form), 1);
    ASSERT_EQ(UnskinWindow(form.form), 1);
    PumpMessages();
    const DWORD gdiBefore = GdiObjectCount();

    for (int cycle = 0; cycle < 100; ++cycle) {
        ASSERT_EQ(SkinWindow(form.form), 1);
        ASSERT_EQ(SkinnedWindowCount(), 5);
        PumpMessages();
        ASSERT_EQ(UnskinWindow(form.form), 1);
        ASSERT_EQ(SkinnedWindowCount(), 0);
    }
    PumpMessages();

    EXPECT_EQ(GdiObjectCount(), gdiBefore);
    EXPECT_EQ(AllProperties(form), propertiesBefore);
    EXPECT_FALSE(SkinInitialised());
}
