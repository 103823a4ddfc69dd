// Fades of push buttons that are version 6 common controls, as in the program (its manifest
// asks for them): such a button repaints itself when the mouse leaves it, in the middle of the
// skin's fade back to normal.
#include <gtest/gtest.h>

#include <string>

#include "engine/engine.h"
#include "skin/skin.h"
#include "support/test_form.h"
#include "win/handles.h"
#include "win_support/message_pump.h"
#include "win_support/mouse_tracking.h"

namespace {

constexpr char kManifest[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>"
    "<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\">"
    "<dependency><dependentAssembly><assemblyIdentity type=\"win32\" name=\"Microsoft.Windows.Common-Controls\" "
    "version=\"6.0.0.0\" processorArchitecture=\"*\" publicKeyToken=\"6595b64144ccf1df\" language=\"*\"/>"
    "</dependentAssembly></dependency></assembly>";

// Windows created while this lives are of the common controls' version 6 classes.
class CommonControls6 {
  public:
    CommonControls6() {
        wchar_t folder[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, folder);
        path_ = std::wstring(folder) + L"folvane_cc6_" + std::to_wstring(GetCurrentProcessId()) + L".manifest";
        ScopedHandle file(CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        DWORD written = 0;
        WriteFile(file.get(), kManifest, sizeof(kManifest) - 1, &written, nullptr);
        file = ScopedHandle();
        ACTCTXW request{};
        request.cbSize = sizeof(request);
        request.lpSource = path_.c_str();
        context_ = CreateActCtxW(&request);
        if (context_ != INVALID_HANDLE_VALUE)
            active_ = ActivateActCtx(context_, &cookie_) != FALSE;
    }
    ~CommonControls6() {
        if (active_)
            DeactivateActCtx(0, cookie_);
        if (context_ != INVALID_HANDLE_VALUE)
            ReleaseActCtx(context_);
        DeleteFileW(path_.c_str());
    }
    bool active() const { return active_; }

  private:
    std::wstring path_;
    HANDLE context_ = INVALID_HANDLE_VALUE;
    ULONG_PTR cookie_ = 0;
    bool active_ = false;
};

LPARAM ClientCentre(HWND window) {
    RECT rect;
    GetClientRect(window, &rect);
    return MAKELPARAM(rect.right / 2, rect.bottom / 2);
}

int RunFade(HWND window) {
    int ticks = 0;
    while (Prop(window, "TIMERID") != 0 && ticks < 1000) {
        SendMessageW(window, WM_TIMER, 1, 0);
        ++ticks;
    }
    return ticks;
}

}  // namespace

TEST(PushButtonFadeTest, LeavingAButtonThatRepaintsItselfFadesInsteadOfSnapping) {
    TestForm form;
    {
        CommonControls6 controls;
        ASSERT_TRUE(controls.active());
        MakeTestForm(form);
    }
    HWND ok = form.ok;
    RECT rect;
    GetWindowRect(ok, &rect);
    SetCursorPos((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    PumpMessages();
    ASSERT_EQ(SkinWindow(form.form), 1);
    PumpMessages();

    // Hover, faded in completely.
    SendMessageW(ok, WM_MOUSEMOVE, 0, ClientCentre(ok));
    RunFade(ok);
    UpdateWindow(ok);
    ASSERT_EQ(CountDifferences(ok, CaptureWindow(ok), CaptureFace(ok, 1)), 0);

    SendMessageW(ok, WM_MOUSELEAVE, 0, 0);
    RECT update{};
    ASSERT_TRUE(GetUpdateRect(ok, &update, FALSE)) << "the button did not ask to be repainted on leaving";
    const Pixels before_paint = CaptureWindow(ok);
    UpdateWindow(ok);
    // The paint shows the fade where it is and lets it run on to the normal face.
    EXPECT_NE(Prop(ok, "TIMERID"), 0);
    EXPECT_EQ(CountDifferences(ok, CaptureWindow(ok), before_paint), 0);
    EXPECT_GT(CountDifferences(ok, CaptureWindow(ok), CaptureFace(ok, 0)), 0);
    EXPECT_EQ(RunFade(ok), 86);
    EXPECT_EQ(CountDifferences(ok, CaptureWindow(ok), CaptureFace(ok, 0)), 0);

    CancelLeaveTracking(ok);
    EXPECT_EQ(UnskinWindow(form.form), 1);
    EXPECT_EQ(SkinnedWindowCount(), 0);
}
