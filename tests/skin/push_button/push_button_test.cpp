// Push buttons, message by message: hover tracking, the click, the fades, the space bar,
// focus, enabling, resizing, and a check-box-styled "Button" that keeps the system's drawing.
// Fade ticks are sent by the test so that they can be counted one by one; one test lets the
// real 15 ms timer run a fade to its end.
#include <gtest/gtest.h>

#include <algorithm>

#include "engine/engine.h"
#include "families/push_button/button_faces.h"
#include "families/push_button/push_button.h"
#include "paint/primitives.h"
#include "skin/skin.h"
#include "support/test_form.h"
#include "win/gdi_handles.h"
#include "win_support/message_pump.h"
#include "win_support/mouse_tracking.h"

namespace {

POINT CentreOnScreen(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

LPARAM ClientCentre(HWND window) {
    RECT rect;
    GetClientRect(window, &rect);
    return MAKELPARAM(rect.right / 2, rect.bottom / 2);
}

// Sends fade ticks until the fade timer is gone; the levels seen before each tick.
std::vector<INT_PTR> RunFade(HWND window, int limit = 1000) {
    std::vector<INT_PTR> levels;
    while (Prop(window, "TIMERID") != 0 && static_cast<int>(levels.size()) < limit) {
        levels.push_back(Prop(window, "ALPHALEVEL"));
        SendMessageW(window, WM_TIMER, 1, 0);
    }
    return levels;
}

// Every pixel of after is face blended over before with the given constant opacity (the
// blend may round either way by one).
int CountBlendMismatches(HWND window, const Pixels& after, const Pixels& face, const Pixels& before, int level) {
    Pixels expected = before;
    for (size_t i = 0; i < expected.values.size(); ++i) {
        uint32_t value = 0;
        for (int shift = 0; shift <= 16; shift += 8) {
            int f = static_cast<int>((face.values[i] >> shift) & 0xFF);
            int b = static_cast<int>((before.values[i] >> shift) & 0xFF);
            value |= static_cast<uint32_t>((f * level + b * (255 - level) + 127) / 255) << shift;
        }
        expected.values[i] = value;
    }
    return CountDifferences(window, after, expected, 1);
}

void Repaint(HWND window) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

class PushButtonTest : public ::testing::Test {
  protected:
    void SetUp() override {
        MakeTestForm(form_, {.withCheckBox = true, .record = true});
        // The pointer rests over OK before the skin comes, so that the skin sees no real move and
        // the system reports no leave while the test drives the messages itself.
        POINT centre = CentreOnScreen(form_.ok);
        SetCursorPos(centre.x, centre.y);
        PumpMessages();
        ASSERT_EQ(SkinWindow(form_.form), 1);
        PumpMessages();
        MessageLog::Clear();
        ok_ = form_.ok;
    }
    void TearDown() override {
        MessageLog::SetObserver(nullptr);
        CancelLeaveTracking(ok_);
        EXPECT_EQ(UnskinWindow(form_.form), 1);
        EXPECT_EQ(SkinnedWindowCount(), 0);
    }

    void ExpectShowsFace(HWND window, int state) {
        EXPECT_EQ(CountDifferences(window, CaptureWindow(window), CaptureFace(window, state)), 0)
            << "window does not show face " << state;
    }

    TestForm form_;
    HWND ok_ = nullptr;
};

}  // namespace

TEST_F(PushButtonTest, APaintShowsTheFaceOfTheStateOrDuringAFadeTheBlendSoFar) {
    Repaint(ok_);
    EXPECT_EQ(MessageLog::Count(ok_, WM_PAINT), 0u);  // painted by the skin alone
    EXPECT_EQ(Prop(ok_, "ALPHALEVEL"), 255);
    ExpectShowsFace(ok_, 0);
    // The four faces are different pictures.
    EXPECT_GT(CountDifferences(ok_, CaptureFace(ok_, 0), CaptureFace(ok_, 1)), 0);
    EXPECT_GT(CountDifferences(ok_, CaptureFace(ok_, 0), CaptureFace(ok_, 2)), 0);
    EXPECT_GT(CountDifferences(ok_, CaptureFace(ok_, 0), CaptureFace(ok_, 3)), 0);

    // Half way into the hover fade, a paint (over an erased window) shows the same blend and
    // the fade goes on from where it was.
    SendMessageW(ok_, WM_MOUSEMOVE, 0, ClientCentre(ok_));
    for (int i = 0; i < 5; ++i)
        SendMessageW(ok_, WM_TIMER, 1, 0);
    const INT_PTR timer = Prop(ok_, "TIMERID");
    ASSERT_NE(timer, 0);
    const Pixels mid_fade = CaptureWindow(ok_);
    ASSERT_GT(CountDifferences(ok_, mid_fade, CaptureFace(ok_, 0)), 0);
    ASSERT_GT(CountDifferences(ok_, mid_fade, CaptureFace(ok_, 1)), 0);
    HDC dc = GetWindowDC(ok_);
    PatBlt(dc, 0, 0, 75, 23, BLACKNESS);
    ReleaseDC(ok_, dc);
    Repaint(ok_);
    EXPECT_EQ(CountDifferences(ok_, CaptureWindow(ok_), mid_fade), 0);
    EXPECT_EQ(Prop(ok_, "TIMERID"), timer);
    EXPECT_EQ(Prop(ok_, "ALPHALEVEL"), 15);
    EXPECT_EQ(RunFade(ok_).size(), 81u);
    ExpectShowsFace(ok_, 1);
}

TEST_F(PushButtonTest, FacesCarryTheCaptionInBlackOrInTheDisabledColour) {
    auto countColour = [](const Pixels& pixels, uint32_t rgb) {
        return std::count(pixels.values.begin(), pixels.values.end(), rgb);
    };
    // Glyphs are smoothed, so only their cores carry the exact caption colour.
    constexpr uint32_t Black = 0x000000;
    constexpr uint32_t Disabled = 0x798A96;  // kDisabledTextColour as 0x00RRGGBB
    for (int state = 0; state < 3; ++state) {
        Pixels face = CaptureFace(ok_, state);
        EXPECT_GT(countColour(face, Black), 0) << "face " << state;
        EXPECT_EQ(countColour(face, Disabled), 0) << "face " << state;
    }
    Pixels disabled = CaptureFace(ok_, 3);
    EXPECT_GT(countColour(disabled, Disabled), 0);
    EXPECT_EQ(countColour(disabled, Black), 0);

    // Without a caption the faces are the bare skin frames.
    SetWindowTextW(ok_, L"");
    SendMessageW(ok_, WM_SIZE, 0, 0);
    EXPECT_EQ(countColour(CaptureFace(ok_, 0), Black), 0);
    EXPECT_EQ(countColour(CaptureFace(ok_, 3), Disabled), 0);
}

TEST_F(PushButtonTest, ABlendGoesIntoTheShownPictureAndTheGivenDcOnly) {
    Repaint(ok_);
    const Pixels shown = CaptureWindow(ok_);
    WindowBounds bounds;
    GetWindowBounds(ok_, bounds);
    ButtonFaces faces;
    ASSERT_TRUE(faces.Resize(bounds.width, bounds.height));
    faces.Render(ok_);
    for (int state = 0; state < 4; ++state)
        EXPECT_EQ(CountDifferences(ok_, CaptureDC(faces.face(state).dc(), bounds.width, bounds.height),
                                   CaptureFace(ok_, state)),
                  0)
            << "face " << state;
    faces.ShowFace(0);

    ScopedSurface target(bounds.width, bounds.height);
    ASSERT_TRUE(target);
    faces.BlendOnto(target.get(), 2, 255);
    EXPECT_EQ(CountDifferences(ok_, CaptureDC(target.get(), bounds.width, bounds.height), CaptureFace(ok_, 2)), 0);
    EXPECT_EQ(CountDifferences(ok_, CaptureDC(faces.shown().dc(), bounds.width, bounds.height), CaptureFace(ok_, 2)),
              0);
    EXPECT_EQ(CountDifferences(ok_, CaptureWindow(ok_), shown), 0);

    // Level 0 changes nothing; a state without a face draws nothing.
    FillSolid(target.get(), 0, 0, bounds.width, bounds.height, RGB(1, 2, 3));
    faces.BlendOnto(target.get(), 1, 0);
    EXPECT_EQ(CountDifferences(ok_, CaptureDC(target.get(), bounds.width, bounds.height), CaptureFace(ok_, 2)), 0);
    FillSolid(target.get(), 0, 0, bounds.width, bounds.height, RGB(1, 2, 3));
    faces.BlendOnto(target.get(), 4, 255);
    faces.BlendOnto(target.get(), -1, 255);
    EXPECT_EQ(GetPixel(target.get(), 10, 10), RGB(1, 2, 3));
}

TEST_F(PushButtonTest, OneFadeTimerPerWindowAtMost) {
    ASSERT_EQ(Prop(ok_, "TIMERID"), 0);
    EXPECT_EQ(StopFadeTimer(ok_), 0);
    EXPECT_EQ(PropertyNames(ok_).size(), 14u);  // "TIMERID" is still there, with 0
    EXPECT_EQ(StartFadeTimer(ok_), kFadeTimerId);
    EXPECT_EQ(StartFadeTimer(ok_), 0u);
    EXPECT_EQ(Prop(ok_, "TIMERID"), static_cast<INT_PTR>(kFadeTimerId));
    EXPECT_NE(StopFadeTimer(ok_), 0);
    EXPECT_EQ(Prop(ok_, "TIMERID"), 0);
    EXPECT_EQ(StopFadeTimer(ok_), 0);
}

TEST_F(PushButtonTest, HoverRequestsLeaveTrackingOncePerStay) {
    SendMessageW(ok_, WM_MOUSEMOVE, 0, ClientCentre(ok_));
    EXPECT_EQ(Prop(ok_, "MOUSEFLAG"), 1);
    EXPECT_EQ(Prop(ok_, "OLDSTATE"), 1);
    EXPECT_EQ(Prop(ok_, "ALPHALEVEL"), 0);
    INT_PTR timer = Prop(ok_, "TIMERID");
    EXPECT_EQ(timer, 1);
    EXPECT_TRUE(LeaveTracked(ok_));

    // With the request withdrawn, further moves of the same stay ask for nothing and leave the
    // running fade alone.
    CancelLeaveTracking(ok_);
    ASSERT_FALSE(LeaveTracked(ok_));
    for (int i = 0; i < 5; ++i)
        SendMessageW(ok_, WM_MOUSEMOVE, 0, ClientCentre(ok_));
    EXPECT_FALSE(LeaveTracked(ok_));
    EXPECT_EQ(Prop(ok_, "MOUSEFLAG"), 1);
    EXPECT_EQ(Prop(ok_, "TIMERID"), timer);
    EXPECT_EQ(Prop(ok_, "ALPHALEVEL"), 0);
    EXPECT_EQ(MessageLog::Count(ok_, WM_MOUSEMOVE), 6u);  // every move reached the button itself

    // After the leave, the next move is a new stay.
    SendMessageW(ok_, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(Prop(ok_, "MOUSEFLAG"), 0);
    SendMessageW(ok_, WM_MOUSEMOVE, 0, ClientCentre(ok_));
    EXPECT_TRUE(LeaveTracked(ok_));
    EXPECT_EQ(Prop(ok_, "MOUSEFLAG"), 1);
}

TEST_F(PushButtonTest, EveryMessageReachesTheWindowsOwnProcedureOnceAndUnchanged) {
    // Each message is sent with arguments of its own, so that the copies that the button's own
    // work causes (a press moves the focus, and so on) are not mistaken for the one sent.
    struct Sent {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    const Sent table[] = {
        {WM_SIZE, SIZE_RESTORED, MAKELPARAM(75, 23)},
        {WM_ACTIVATE, WA_INACTIVE, 0},
        {WM_SETFOCUS, 0, 0x51},
        {WM_KILLFOCUS, 0, 0x52},
        {WM_ENABLE, TRUE, 0x53},
        {WM_NCPAINT, 1, 0x54},
        {WM_KEYDOWN, 'A', 0x00010001},
        {WM_KEYUP, 'A', static_cast<LPARAM>(0xC0010001)},
        {WM_TIMER, 1, 0x55},
        {WM_ENTERIDLE, MSGF_DIALOGBOX, 0},
        {WM_CTLCOLORLISTBOX, 0, 0},
        {WM_MOUSEMOVE, 0, MAKELPARAM(30, 11)},
        {WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(31, 11)},
        {WM_LBUTTONUP, 0, MAKELPARAM(32, 11)},
        {WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(33, 11)},
        {WM_LBUTTONUP, 0, MAKELPARAM(34, 11)},
        {WM_MOUSELEAVE, 0, 0x56},
        {WM_USER + 7, 0x57, 0x58},
    };
    for (HWND window : {ok_, form_.list, form_.form, form_.check}) {
        MessageLog::Clear();
        for (const Sent& sent : table)
            SendMessageW(window, sent.message, sent.wParam, sent.lParam);
        for (const Sent& sent : table) {
            size_t copies = 0;
            for (const Recorded& entry : MessageLog::Entries()) {
                if (entry.window == window && entry.message == sent.message && entry.wParam == sent.wParam &&
                    entry.lParam == sent.lParam) {
                    ++copies;
                }
            }
            EXPECT_EQ(copies, 1u) << "message 0x" << std::hex << sent.message << " to window " << window;
        }
        RunFade(window);
        CancelLeaveTracking(window);
    }

    // WM_PAINT is the exception: a push button is painted by the skin alone, a check-box-styled
    // one by the system.
    MessageLog::Clear();
    Repaint(ok_);
    Repaint(form_.check);
    EXPECT_EQ(MessageLog::Count(ok_, WM_PAINT), 0u);
    EXPECT_EQ(MessageLog::Count(form_.check, WM_PAINT), 1u);
}

TEST_F(PushButtonTest, AFadeFromZeroTakes86TicksEndingWithOneOpaqueBlend) {
    Repaint(ok_);
    ExpectShowsFace(ok_, 0);
    SendMessageW(ok_, WM_MOUSEMOVE, 0, ClientCentre(ok_));
    MessageLog::Clear();

    // Tick one blends at 0 (nothing changes), tick two at 3.
    Pixels before = CaptureWindow(ok_);
    SendMessageW(ok_, WM_TIMER, 1, 0);
    EXPECT_EQ(CountDifferences(ok_, CaptureWindow(ok_), before), 0);
    EXPECT_EQ(Prop(ok_, "ALPHALEVEL"), 3);
    SendMessageW(ok_, WM_TIMER, 1, 0);
    EXPECT_EQ(CountBlendMismatches(ok_, CaptureWindow(ok_), CaptureFace(ok_, 1), before, 3), 0);

    std::vector<INT_PTR> levels = RunFade(ok_);
    levels.insert(levels.begin(), {0, 3});
    ASSERT_EQ(levels.size(), 86u);
    for (size_t i = 0; i < levels.size(); ++i)
        EXPECT_EQ(levels[i], static_cast<INT_PTR>(3 * i));
    EXPECT_EQ(std::count(levels.begin(), levels.end(), 255), 1);
    EXPECT_EQ(levels.back(), 255);
    EXPECT_EQ(Prop(ok_, "ALPHALEVEL"), 0);
    EXPECT_EQ(Prop(ok_, "TIMERID"), 0);
    EXPECT_EQ(Prop(ok_, "OLDSTATE"), 1);
    EXPECT_EQ(MessageLog::Count(ok_, WM_TIMER), 86u);  // each tick passed on as well
    ExpectShowsFace(ok_, 1);
}

TEST_F(PushButtonTest, AClickPressesAtOnceAndFadesBackFromSixty) {
    Repaint(ok_);
    SendMessageW(ok_, WM_MOUSEMOVE, 0, ClientCentre(ok_));
    for (int i = 0; i < 10; ++i)
        SendMessageW(ok_, WM_TIMER, 1, 0);

    // The click's own work runs inside the release, before the skin starts the fade.
    INT_PTR stateAtClick = -1;
    INT_PTR levelAtClick = -1;
    MessageLog::SetObserver([&](const Recorded& entry) {
        if (entry.window == form_.form && entry.message == WM_COMMAND && reinterpret_cast<HWND>(entry.lParam) == ok_ &&
            HIWORD(entry.wParam) == BN_CLICKED) {
            stateAtClick = Prop(ok_, "OLDSTATE");
            levelAtClick = Prop(ok_, "ALPHALEVEL");
        }
    });
    MessageLog::Clear();

    SendMessageW(ok_, WM_LBUTTONDOWN, MK_LBUTTON, ClientCentre(ok_));
    EXPECT_EQ(Prop(ok_, "OLDSTATE"), 2);
    EXPECT_EQ(Prop(ok_, "ALPHALEVEL"), 0);
    EXPECT_EQ(Prop(ok_, "TIMERID"), 0);
    EXPECT_EQ(GetFocus(), ok_);
    ExpectShowsFace(ok_, 2);  // fully, at once

    SendMessageW(ok_, WM_LBUTTONUP, 0, ClientCentre(ok_));
    EXPECT_EQ(stateAtClick, 2);
    EXPECT_EQ(levelAtClick, 0);
    EXPECT_EQ(Prop(ok_, "MOUSEFLAG"), 0);
    EXPECT_EQ(Prop(ok_, "OLDSTATE"), 0);
    EXPECT_EQ(Prop(ok_, "ALPHALEVEL"), 60);
    EXPECT_NE(Prop(ok_, "TIMERID"), 0);
    EXPECT_EQ(MessageLog::Of(ok_, {WM_LBUTTONDOWN, WM_SETFOCUS, WM_LBUTTONUP}),
              (std::vector<UINT>{WM_LBUTTONDOWN, WM_SETFOCUS, WM_LBUTTONUP}));
    EXPECT_EQ(MessageLog::Of(form_.form, {WM_COMMAND}), (std::vector<UINT>{WM_COMMAND}));

    std::vector<INT_PTR> levels = RunFade(ok_);
    EXPECT_EQ(levels.size(), 66u);
    EXPECT_EQ(levels.front(), 60);
    EXPECT_EQ(levels.back(), 255);
    EXPECT_EQ(Prop(ok_, "ALPHALEVEL"), 0);
    ExpectShowsFace(ok_, 0);

    // A double click is a press too.
    SendMessageW(ok_, WM_LBUTTONDBLCLK, MK_LBUTTON, ClientCentre(ok_));
    EXPECT_EQ(Prop(ok_, "OLDSTATE"), 2);
    EXPECT_EQ(Prop(ok_, "TIMERID"), 0);
    ExpectShowsFace(ok_, 2);
    SendMessageW(ok_, WM_LBUTTONUP, 0, ClientCentre(ok_));
}

TEST_F(PushButtonTest, LeavingBlendsTheHoverFaceOnceAtHundredFortyAndFadesToNormal) {
    Repaint(ok_);
    SendMessageW(ok_, WM_MOUSEMOVE, 0, ClientCentre(ok_));
    for (int i = 0; i < 20; ++i)
        SendMessageW(ok_, WM_TIMER, 1, 0);
    INT_PTR timer = Prop(ok_, "TIMERID");
    ASSERT_NE(timer, 0);

    Pixels before = CaptureWindow(ok_);
    SendMessageW(ok_, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(CountBlendMismatches(ok_, CaptureWindow(ok_), CaptureFace(ok_, 1), before, 140), 0);
    EXPECT_EQ(Prop(ok_, "MOUSEFLAG"), 0);
    EXPECT_EQ(Prop(ok_, "OLDSTATE"), 0);
    EXPECT_EQ(Prop(ok_, "ALPHALEVEL"), 0);
    EXPECT_EQ(Prop(ok_, "TIMERID"), timer);  // the running fade carries on towards normal

    std::vector<INT_PTR> levels = RunFade(ok_);
    EXPECT_EQ(levels.size(), 86u);
    ExpectShowsFace(ok_, 0);
}

TEST_F(PushButtonTest, ARunningFadeIsRedirectedNeverDoubled) {
    SendMessageW(ok_, WM_LBUTTONDOWN, MK_LBUTTON, ClientCentre(ok_));
    SendMessageW(ok_, WM_LBUTTONUP, 0, ClientCentre(ok_));
    INT_PTR timer = Prop(ok_, "TIMERID");
    ASSERT_NE(timer, 0);
    for (int i = 0; i < 5; ++i)
        SendMessageW(ok_, WM_TIMER, 1, 0);
    EXPECT_EQ(Prop(ok_, "ALPHALEVEL"), 75);

    // The move after the release turns the same fade towards the hover face, from level 0.
    SendMessageW(ok_, WM_MOUSEMOVE, 0, ClientCentre(ok_));
    EXPECT_EQ(Prop(ok_, "TIMERID"), timer);
    EXPECT_EQ(Prop(ok_, "OLDSTATE"), 1);
    EXPECT_EQ(Prop(ok_, "ALPHALEVEL"), 0);
    std::vector<INT_PTR> levels = RunFade(ok_);
    EXPECT_EQ(levels.size(), 86u);
    EXPECT_EQ(Prop(ok_, "TIMERID"), 0);

    // With the fade over, no tick arrives any more from any timer.
    MessageLog::Clear();
    Sleep(60);
    PumpMessages();
    EXPECT_EQ(MessageLog::Count(ok_, WM_TIMER), 0u);
    ExpectShowsFace(ok_, 1);
}

TEST_F(PushButtonTest, TheSpaceBarPressesAndReleasesOtherKeysDoNothing) {
    SetFocus(ok_);
    RunFade(ok_);
    Repaint(ok_);

    SendMessageW(ok_, WM_KEYDOWN, VK_RETURN, 0);
    SendMessageW(ok_, WM_KEYUP, VK_RETURN, 0);
    EXPECT_EQ(Prop(ok_, "OLDSTATE"), 0);
    EXPECT_EQ(Prop(ok_, "ALPHALEVEL"), 255);
    EXPECT_EQ(Prop(ok_, "TIMERID"), 0);

    SendMessageW(ok_, WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_EQ(Prop(ok_, "OLDSTATE"), 2);
    EXPECT_EQ(Prop(ok_, "ALPHALEVEL"), 0);
    EXPECT_EQ(Prop(ok_, "TIMERID"), 0);
    ExpectShowsFace(ok_, 2);

    SetPropA(ok_, "MOUSEFLAG", reinterpret_cast<HANDLE>(1));
    MessageLog::Clear();
    SendMessageW(ok_, WM_KEYUP, VK_SPACE, 0);
    EXPECT_EQ(Prop(ok_, "OLDSTATE"), 0);
    EXPECT_EQ(Prop(ok_, "ALPHALEVEL"), 0);  // from 0, not 60
    EXPECT_EQ(Prop(ok_, "MOUSEFLAG"), 0);
    EXPECT_NE(Prop(ok_, "TIMERID"), 0);
    EXPECT_EQ(MessageLog::Of(ok_, {WM_KEYUP}), (std::vector<UINT>{WM_KEYUP}));
    EXPECT_EQ(MessageLog::Of(form_.form, {WM_COMMAND}), (std::vector<UINT>{WM_COMMAND}));  // the click
    EXPECT_EQ(RunFade(ok_).size(), 86u);
    ExpectShowsFace(ok_, 0);
}

TEST_F(PushButtonTest, FocusInAndOutRenderTheFacesWithAndWithoutTheFocusBox) {
    ASSERT_NE(GetFocus(), ok_);
    std::vector<Pixels> plain;
    for (int state = 0; state < 4; ++state)
        plain.push_back(CaptureFace(ok_, state));

    SetFocus(ok_);
    EXPECT_EQ(Prop(ok_, "ALPHALEVEL"), 0);
    EXPECT_NE(Prop(ok_, "TIMERID"), 0);
    WindowBounds bounds;
    GetWindowBounds(ok_, bounds);
    for (int state = 0; state < 4; ++state) {
        Pixels focused = CaptureFace(ok_, state);
        int changed = 0;
        int outsideBox = 0;
        for (int y = 0; y < bounds.height; ++y) {
            for (int x = 0; x < bounds.width; ++x) {
                if (focused.at(x, y) == plain[state].at(x, y))
                    continue;
                ++changed;
                bool onBox = (x == 2 || x == bounds.width - 3 || y == 2 || y == bounds.height - 3) && x >= 2 &&
                             x <= bounds.width - 3 && y >= 2 && y <= bounds.height - 3;
                if (!onBox)
                    ++outsideBox;
            }
        }
        EXPECT_GT(changed, 50) << "face " << state << " has no focus box";
        EXPECT_EQ(outsideBox, 0) << "face " << state;
    }
    EXPECT_EQ(RunFade(ok_).size(), 86u);
    ExpectShowsFace(ok_, 0);

    SetFocus(form_.cancel);
    EXPECT_NE(Prop(ok_, "TIMERID"), 0);
    for (int state = 0; state < 4; ++state) {
        EXPECT_EQ(CountDifferences(ok_, CaptureFace(ok_, state), plain[state]), 0) << "face " << state;
    }
    RunFade(ok_);
    ExpectShowsFace(ok_, 0);
}

TEST_F(PushButtonTest, DisablingShowsTheDisabledFaceAndEnablingTheNormalOne) {
    Repaint(ok_);
    ASSERT_EQ(Prop(ok_, "ALPHALEVEL"), 255);
    EnableWindow(ok_, FALSE);
    EXPECT_EQ(Prop(ok_, "OLDSTATE"), 3);
    EXPECT_EQ(Prop(ok_, "ALPHALEVEL"), 255);  // left as it was
    ExpectShowsFace(ok_, 3);

    // Whatever state a caller stores, a disabled button blends face 3.
    SetPropA(ok_, "OLDSTATE", reinterpret_cast<HANDLE>(1));
    SetPropA(ok_, "ALPHALEVEL", reinterpret_cast<HANDLE>(250));
    SendMessageW(ok_, WM_TIMER, 1, 0);
    EXPECT_EQ(Prop(ok_, "OLDSTATE"), 3);
    Repaint(ok_);
    ExpectShowsFace(ok_, 3);

    EnableWindow(ok_, TRUE);
    EXPECT_EQ(Prop(ok_, "OLDSTATE"), 0);
    ExpectShowsFace(ok_, 0);
    EXPECT_EQ(MessageLog::Of(ok_, {WM_ENABLE}), (std::vector<UINT>{WM_ENABLE, WM_ENABLE}));
}

TEST_F(PushButtonTest, ResizingReplacesTheFourBitmapsAndTheRegion) {
    std::vector<HGDIOBJ> old;
    for (int n = 0; n < 4; ++n)
        old.push_back(reinterpret_cast<HGDIOBJ>(Prop(ok_, ("BMP" + std::to_string(n)).c_str())));

    SetWindowPos(ok_, nullptr, 0, 0, 120, 31, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(MessageLog::Count(ok_, WM_SIZE), 1u);
    for (int n = 0; n < 4; ++n) {
        auto dc = reinterpret_cast<HDC>(Prop(ok_, ("HDC" + std::to_string(n)).c_str()));
        auto bitmap = reinterpret_cast<HGDIOBJ>(Prop(ok_, ("BMP" + std::to_string(n)).c_str()));
        EXPECT_EQ(GetCurrentObject(dc, OBJ_BITMAP), bitmap) << n;
        EXPECT_EQ(GetObjectType(old[n]), 0u) << "old bitmap " << n << " still alive";
        BITMAP info{};
        ASSERT_NE(GetObjectW(bitmap, sizeof(info), &info), 0);
        EXPECT_EQ(info.bmWidth, 120);
        EXPECT_EQ(info.bmHeight, 31);
    }
    ScopedRegion region(CreateRectRgn(0, 0, 0, 0));
    ASSERT_NE(GetWindowRgn(ok_, region.get()), ERROR);
    ScopedRegion expected(CreateRoundRectRgn(0, 0, 121, 32, 3, 3));
    EXPECT_TRUE(EqualRgn(region.get(), expected.get()));
    PumpMessages();
    ExpectShowsFace(ok_, 0);
}

TEST_F(PushButtonTest, AMoveWithTheMouseCapturedOutsideShowsTheFaceAtOnce) {
    SendMessageW(ok_, WM_MOUSEMOVE, 0, ClientCentre(ok_));
    SendMessageW(ok_, WM_LBUTTONDOWN, MK_LBUTTON, ClientCentre(ok_));
    ASSERT_EQ(GetCapture(), ok_);
    SetPropA(ok_, "OLDSTATE", reinterpret_cast<HANDLE>(1));
    SendMessageW(ok_, WM_MOUSEMOVE, 0, ClientCentre(ok_));  // still inside: nothing happens
    EXPECT_EQ(Prop(ok_, "ALPHALEVEL"), 0);

    POINT outside = CentreOnScreen(form_.list);
    SetCursorPos(outside.x, outside.y);
    SendMessageW(ok_, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(-200, 60));
    EXPECT_EQ(Prop(ok_, "ALPHALEVEL"), 255);
    EXPECT_EQ(Prop(ok_, "TIMERID"), 0);
    ExpectShowsFace(ok_, 1);

    SendMessageW(ok_, WM_LBUTTONUP, 0, MAKELPARAM(-200, 60));
    POINT centre = CentreOnScreen(ok_);
    SetCursorPos(centre.x, centre.y);
}

TEST_F(PushButtonTest, ACheckBoxStyledButtonKeepsTheSystemsDrawing) {
    // The same check box on a form without the skin goes through the same messages; both
    // must look the same after every step.
    HWND check = form_.check;
    ASSERT_EQ(Prop(check, "OLDSTYLE") & 6, BS_AUTOCHECKBOX & 6);
    TestForm twinForm;
    MakeTestForm(twinForm, {.withCheckBox = true});
    SetWindowPos(twinForm.form, nullptr, 500, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    PumpMessages();
    HWND twin = twinForm.check;

    auto bothGet = [&](UINT message, WPARAM wParam, LPARAM lParam) {
        SendMessageW(check, message, wParam, lParam);
        SendMessageW(twin, message, wParam, lParam);
    };
    auto expectSameLook = [&](const char* step) {
        EXPECT_EQ(CountDifferences(check, CaptureWindow(check), CaptureWindow(twin)), 0) << step;
    };

    Repaint(check);
    Repaint(twin);
    EXPECT_EQ(MessageLog::Count(check, WM_PAINT), 1u);  // passed on
    expectSameLook("paint");

    bothGet(WM_MOUSEMOVE, 0, ClientCentre(check));
    for (int i = 0; i < 90; ++i)
        bothGet(WM_TIMER, 1, 0);
    expectSameLook("hover fade");
    bothGet(WM_MOUSELEAVE, 0, 0);
    for (int i = 0; i < 90; ++i)
        bothGet(WM_TIMER, 1, 0);
    expectSameLook("leave fade");
    CancelLeaveTracking(check);

    // A click checks the box: the skinned one shows the system's checked box, focus and all.
    SendMessageW(check, WM_LBUTTONDOWN, MK_LBUTTON, ClientCentre(check));
    SendMessageW(check, WM_LBUTTONUP, 0, ClientCentre(check));
    Pixels skinned = CaptureWindow(check);
    SendMessageW(twin, WM_LBUTTONDOWN, MK_LBUTTON, ClientCentre(twin));
    SendMessageW(twin, WM_LBUTTONUP, 0, ClientCentre(twin));
    EXPECT_EQ(SendMessageW(check, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(CountDifferences(check, skinned, CaptureWindow(twin)), 0) << "click";
    RunFade(check);
}

TEST_F(PushButtonTest, TheRealFadeTimerRunsAFadeToItsEnd) {
    Repaint(ok_);
    PumpMessages();
    MessageLog::Clear();
    SendMessageW(ok_, WM_MOUSEMOVE, 0, ClientCentre(ok_));
    ASSERT_NE(Prop(ok_, "TIMERID"), 0);
    DWORD start = GetTickCount();
    ASSERT_TRUE(PumpUntil([&] { return Prop(ok_, "TIMERID") == 0; }, 10000));
    DWORD elapsed = GetTickCount() - start;
    EXPECT_EQ(MessageLog::Count(ok_, WM_TIMER), 86u);
    EXPECT_GE(elapsed, 85u * 10);  // 86 ticks of 15 ms each, allowing for coarse clocks
    EXPECT_EQ(Prop(ok_, "ALPHALEVEL"), 0);
    ExpectShowsFace(ok_, 1);
}

TEST_F(PushButtonTest, LeaveNoticesArriveThroughEitherLibrary) {
    for (bool user32 : {true, false}) {
        SetUsesUserTrackMouseEvent(user32);
        POINT centre = CentreOnScreen(ok_);
        SetCursorPos(centre.x, centre.y);
        PumpMessages();
        SendMessageW(ok_, WM_MOUSEMOVE, 0, ClientCentre(ok_));
        ASSERT_EQ(Prop(ok_, "MOUSEFLAG"), 1);
        MessageLog::Clear();
        POINT outside = CentreOnScreen(form_.list);
        SetCursorPos(outside.x, outside.y);
        EXPECT_TRUE(PumpUntil([&] { return MessageLog::Count(ok_, WM_MOUSELEAVE) > 0; }, 3000))
            << (user32 ? "user32" : "comctl32");
        EXPECT_EQ(Prop(ok_, "MOUSEFLAG"), 0);
        RunFade(ok_);
    }
    SetUsesUserTrackMouseEvent(true);
}
