// Attaching and detaching the skin, the engine-wide state, the window property store and the
// small shared queries, all on real windows under the platform's own message traffic.
#include <gtest/gtest.h>

#include "engine/control_kind.h"
#include "engine/engine.h"
#include "engine/window_info.h"
#include "engine/window_proc.h"
#include "paint/skin_bitmaps.h"
#include "skin/skin.h"
#include "support/test_form.h"
#include "win/gdi_handles.h"
#include "win_support/message_pump.h"

namespace {

const std::vector<std::string> PushButtonProperties = {"ALPHALEVEL", "BMP0",     "BMP1",     "BMP2",   "BMP3",
                                                       "HDC0",       "HDC1",     "HDC2",     "HDC3",   "MOUSEFLAG",
                                                       "OLDSTATE",   "OLDSTYLE", "PROCADDR", "TIMERID"};

LONG_PTR WindowProcOf(HWND window) {
    return GetWindowLongPtrW(window, GWLP_WNDPROC);
}

// A registered window class of the given name with the default procedure.
void RegisterPlainClass(const wchar_t* name) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = name;
    RegisterClassW(&windowClass);
}

class SkinAttachTest : public ::testing::Test {
  protected:
    void TearDown() override {
        // Every test leaves the engine as it found it.
        EXPECT_EQ(SkinnedWindowCount(), 0);
        EXPECT_FALSE(SkinInitialised());
    }
};

}  // namespace

TEST(ControlKindTest, ClassNamesAreMatchedExactlyAfterLowerCasing) {
    const std::pair<const char*, ControlKind> rows[] = {
        {"#32770", ControlKind::kForm},
        {"thunderformdc", ControlKind::kForm},
        {"thunderrt6formdc", ControlKind::kForm},
        {"form", ControlKind::kForm},
        {"thundercommandbutton", ControlKind::kPushButton},
        {"thunderrt6commandbutton", ControlKind::kPushButton},
        {"button", ControlKind::kPushButton},
        {"thundercombobox", ControlKind::kCombo},
        {"thunderrt6combobox", ControlKind::kCombo},
        {"combo", ControlKind::kCombo},
        {"combobox", ControlKind::kCombo},
        {"thunderdrivelistbox", ControlKind::kCombo},
        {"thunderrt6drivelistbox", ControlKind::kCombo},
        {"thundercheckbox", ControlKind::kCheck},
        {"thunderrt6checkbox", ControlKind::kCheck},
        {"thunderoptionbutton", ControlKind::kOption},
        {"thunderrt6optionbutton", ControlKind::kOption},
        {"progressbar20wndclass", ControlKind::kProgress},
        {"progressbarwndclass", ControlKind::kProgress},
        {"msvb_lib_header", ControlKind::kHeader},
        {"sysheader32", ControlKind::kHeader},
        {"combolbox", ControlKind::kPlain},
        {"listbox", ControlKind::kPlain},
        {"edit", ControlKind::kPlain},
        {"buttons", ControlKind::kPlain},
        {"Button", ControlKind::kPlain},  // the table holds lower-cased names only
        {"", ControlKind::kPlain},
    };
    for (const auto& [name, kind] : rows)
        EXPECT_EQ(FindControlKind(name), kind) << name;

    RegisterPlainClass(L"ThunderRT6FormDC");
    HWND window = CreateWindowExW(0, L"ThunderRT6FormDC", L"", WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    EXPECT_EQ(GetWindowClassName(window), "ThunderRT6FormDC");
    EXPECT_EQ(GetLowerClassName(window), "thunderrt6formdc");
    EXPECT_EQ(ControlKindOf(window), ControlKind::kForm);
    DestroyWindow(window);
    EXPECT_EQ(GetWindowClassName(window), "");
    EXPECT_EQ(ControlKindOf(nullptr), ControlKind::kPlain);
}

TEST(WindowInfoTest, WordsAreSignedAndHalvesGoToEven) {
    EXPECT_EQ(LoWord(0x0000FFFF), -1);
    EXPECT_EQ(HiWord(0xFFFF0000), -1);
    EXPECT_EQ(LoWord(0x00120034), 0x34);
    EXPECT_EQ(HiWord(0x00120034), 0x12);
    EXPECT_EQ(HiWord(0x7FFF0000), 32767);
    EXPECT_EQ(LoWord(0x8000), -32768);

    EXPECT_EQ(HalveToEven(5), 2);
    EXPECT_EQ(HalveToEven(7), 4);
    EXPECT_EQ(HalveToEven(4), 2);
    EXPECT_EQ(HalveToEven(1), 0);
    EXPECT_EQ(HalveToEven(3), 2);
    EXPECT_EQ(HalveToEven(0), 0);
    EXPECT_EQ(HalveToEven(-1), 0);
    EXPECT_EQ(HalveToEven(-3), -2);
}

TEST(WindowInfoTest, ApiExistsProbesLoadedAndUnloadedLibraries) {
    EXPECT_TRUE(ApiExists("TrackMouseEvent", "User32"));
    EXPECT_FALSE(ApiExists("NoSuchFunctionAnywhere", "User32"));
    EXPECT_TRUE(ApiExists("AlphaBlend", "msimg32"));
    EXPECT_FALSE(ApiExists("TrackMouseEvent", "no_such_library_here"));
    // A library loaded only for the probe is given back.
    EXPECT_EQ(GetModuleHandleA("dciman32"), nullptr);
    EXPECT_TRUE(ApiExists("DCIOpenProvider", "dciman32"));
    EXPECT_EQ(GetModuleHandleA("dciman32"), nullptr);
}

TEST(WindowInfoTest, CaptionIsUtf8AndBorderOffsetsLeaveScrollBarsOut) {
    TestForm form;
    MakeTestForm(form);
    SetWindowTextW(form.ok, L"生成 & Go");
    EXPECT_EQ(GetWindowCaption(form.ok), "\xE7\x94\x9F\xE6\x88\x90 & Go");
    SetWindowTextW(form.ok, L"");
    EXPECT_EQ(GetWindowCaption(form.ok), "");

    HWND list = CreateWindowExW(WS_EX_CLIENTEDGE, L"ListBox", L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL, 200, 100, 120,
                                80, form.form, nullptr, GetModuleHandleW(nullptr), nullptr);
    for (int i = 0; i < 40; ++i)
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"line"));
    ASSERT_TRUE(GetWindowLongPtrW(list, GWL_STYLE) & WS_VSCROLL);
    RECT outer;
    RECT client;
    GetWindowRect(list, &outer);
    GetClientRect(list, &client);
    int frameX = (outer.right - outer.left) - (client.right - client.left) - GetSystemMetrics(SM_CXVSCROLL);
    int frameY = (outer.bottom - outer.top) - (client.bottom - client.top);
    int x = -1;
    int y = -1;
    EXPECT_EQ(GetBorderOffsets(list, x, y), 1);
    EXPECT_EQ(x, HalveToEven(frameX));
    EXPECT_EQ(y, HalveToEven(frameY));
    EXPECT_EQ(x, GetSystemMetrics(SM_CXEDGE));
    EXPECT_EQ(y, GetSystemMetrics(SM_CYEDGE));
}

TEST_F(SkinAttachTest, SkinningTwiceCountsOnceAndUnskinningTearsTheEngineDown) {
    TestForm form;
    MakeTestForm(form);
    EXPECT_FALSE(SkinInitialised());

    EXPECT_EQ(SkinWindow(form.form), 1);
    EXPECT_TRUE(SkinInitialised());
    EXPECT_TRUE(UsesUserTrackMouseEvent());
    EXPECT_NE(SkinBitmaps().button_skin, nullptr);
    EXPECT_EQ(SkinnedWindowCount(), 4);  // the form, two buttons, the list box

    EXPECT_EQ(SkinWindow(form.form), 0);
    EXPECT_EQ(SkinWindow(form.ok), 0);
    EXPECT_EQ(SkinnedWindowCount(), 4);

    EXPECT_EQ(UnskinWindow(form.form), 1);
    EXPECT_EQ(SkinnedWindowCount(), 0);
    EXPECT_FALSE(SkinInitialised());
    EXPECT_EQ(SkinBitmaps().button_skin, nullptr);
    EXPECT_EQ(SkinBitmaps().header_skin, nullptr);

    EXPECT_EQ(UnskinWindow(form.form), 0);
    EXPECT_EQ(SkinnedWindowCount(), 0);

    // A later SkinWindow sets the engine up again.
    EXPECT_EQ(SkinWindow(form.form), 1);
    EXPECT_NE(SkinBitmaps().button_skin, nullptr);
    EXPECT_EQ(UnskinWindow(form.form), 1);
}

TEST_F(SkinAttachTest, NullAndNeverSkinnedWindowsAreRefused) {
    TestForm form;
    MakeTestForm(form);
    std::vector<std::string> before = PropertyNames(form.form);
    LONG_PTR proc = WindowProcOf(form.form);
    EXPECT_EQ(UnskinWindow(form.form), 0);
    EXPECT_EQ(UnskinWindow(nullptr), 0);
    EXPECT_EQ(SkinnedWindowCount(), 0);
    EXPECT_EQ(PropertyNames(form.form), before);
    EXPECT_EQ(WindowProcOf(form.form), proc);

    // A null window gets nothing; the set-up it triggered goes with the next last detach.
    EXPECT_EQ(SkinWindow(nullptr), 0);
    EXPECT_EQ(SkinnedWindowCount(), 0);
    EXPECT_EQ(SkinWindow(form.form), 1);
    EXPECT_EQ(UnskinWindow(form.form), 1);
}

TEST_F(SkinAttachTest, EachKindGetsItsPropertiesFacesStyleAndRegion) {
    TestForm form;
    MakeTestForm(form, {.withCheckBox = true, .disabledCancel = true});
    std::vector<std::string> plainBefore = PropertyNames(form.list);
    std::vector<std::string> formBefore = PropertyNames(form.form);
    LONG_PTR okStyle = GetWindowLongPtrW(form.ok, GWL_STYLE);
    LONG_PTR checkStyle = GetWindowLongPtrW(form.check, GWL_STYLE);
    LONG_PTR listProc = WindowProcOf(form.list);

    ASSERT_EQ(SkinWindow(form.form), 1);
    EXPECT_EQ(SkinnedWindowCount(), 5);

    for (HWND window : {form.form, form.ok, form.cancel, form.list, form.check}) {
        EXPECT_EQ(WindowProcOf(window), reinterpret_cast<LONG_PTR>(&SkinWindowProc));
        EXPECT_NE(Prop(window, "PROCADDR"), 0);
        EXPECT_NE(Prop(window, "PROCADDR"), reinterpret_cast<INT_PTR>(&SkinWindowProc));
    }
    EXPECT_EQ(Prop(form.list, "PROCADDR"), listProc);

    // Plain windows and forms carry nothing but the old procedure.
    std::vector<std::string> plainAfter = plainBefore;
    plainAfter.push_back("PROCADDR");
    std::sort(plainAfter.begin(), plainAfter.end());
    EXPECT_EQ(PropertyNames(form.list), plainAfter);
    std::vector<std::string> formAfter = formBefore;
    formAfter.push_back("PROCADDR");
    std::sort(formAfter.begin(), formAfter.end());
    EXPECT_EQ(PropertyNames(form.form), formAfter);

    EXPECT_EQ(PropertyNames(form.ok), PushButtonProperties);
    EXPECT_EQ(Prop(form.ok, "OLDSTATE"), 0);
    EXPECT_EQ(Prop(form.cancel, "OLDSTATE"), 3);  // disabled
    for (const char* name : {"MOUSEFLAG", "TIMERID", "ALPHALEVEL"})
        EXPECT_EQ(Prop(form.ok, name), 0) << name;

    // Plain push buttons become owner-drawn; the check-box style keeps its type.
    EXPECT_EQ(Prop(form.ok, "OLDSTYLE"), okStyle);
    EXPECT_EQ(GetWindowLongPtrW(form.ok, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
    EXPECT_EQ(Prop(form.check, "OLDSTYLE"), checkStyle);
    EXPECT_EQ(GetWindowLongPtrW(form.check, GWL_STYLE), checkStyle);

    // Four faces of the window's size, each bitmap selected into its own DC.
    for (int i = 0; i < 4; ++i) {
        auto dc = reinterpret_cast<HDC>(Prop(form.ok, ("HDC" + std::to_string(i)).c_str()));
        auto bitmap = reinterpret_cast<HBITMAP>(Prop(form.ok, ("BMP" + std::to_string(i)).c_str()));
        ASSERT_NE(dc, nullptr);
        ASSERT_NE(bitmap, nullptr);
        EXPECT_EQ(GetObjectType(dc), static_cast<DWORD>(OBJ_MEMDC));
        EXPECT_EQ(GetCurrentObject(dc, OBJ_BITMAP), bitmap);
        BITMAP info{};
        ASSERT_NE(GetObjectW(bitmap, sizeof(info), &info), 0);
        EXPECT_EQ(info.bmWidth, 75);
        EXPECT_EQ(info.bmHeight, 23);
    }

    // The region: corners cut by a 3 x 3 ellipse, one pixel wider and higher than the window.
    ScopedRegion region(CreateRectRgn(0, 0, 0, 0));
    ASSERT_NE(GetWindowRgn(form.ok, region.get()), ERROR);
    ScopedRegion expected(CreateRoundRectRgn(0, 0, 76, 24, 3, 3));
    EXPECT_TRUE(EqualRgn(region.get(), expected.get()));
    EXPECT_FALSE(PtInRegion(region.get(), 0, 0));
    EXPECT_TRUE(PtInRegion(region.get(), 37, 11));

    EXPECT_EQ(UnskinWindow(form.form), 1);
}

TEST_F(SkinAttachTest, DetachGivesBackProcedureStyleAndRegionAndLeavesNoProperty) {
    TestForm form;
    MakeTestForm(form, {.withCheckBox = true, .record = true});
    struct Before {
        HWND window;
        LONG_PTR proc;
        LONG_PTR style;
        std::vector<std::string> properties;
    };
    std::vector<Before> before;
    for (HWND window : {form.form, form.ok, form.cancel, form.list, form.check}) {
        before.push_back({window, WindowProcOf(window), GetWindowLongPtrW(window, GWL_STYLE), PropertyNames(window)});
    }
    ScopedRegion probe(CreateRectRgn(0, 0, 0, 0));
    ASSERT_EQ(GetWindowRgn(form.ok, probe.get()), ERROR);

    ASSERT_EQ(SkinWindow(form.form), 1);
    PumpMessages();
    ASSERT_EQ(UnskinWindow(form.form), 1);

    for (const Before& window : before) {
        EXPECT_EQ(WindowProcOf(window.window), window.proc);
        EXPECT_EQ(GetWindowLongPtrW(window.window, GWL_STYLE), window.style);
        EXPECT_EQ(PropertyNames(window.window), window.properties);
    }
    EXPECT_EQ(GetWindowLongPtrW(form.ok, GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON);
    EXPECT_EQ(GetWindowRgn(form.ok, probe.get()), ERROR);
    EXPECT_EQ(GetWindowRgn(form.check, probe.get()), ERROR);

    // The windows are served by their own procedures again.
    MessageLog::Clear();
    SendMessageW(form.ok, WM_TIMER, 1, 0);
    EXPECT_EQ(MessageLog::Count(form.ok, WM_TIMER), 1u);
}

TEST_F(SkinAttachTest, ChangesMadeWhileSkinnedSurviveTheDetach) {
    // Only the button type is given back: a button disabled or hidden while skinned stays so.
    TestForm form;
    MakeTestForm(form);
    ASSERT_EQ(SkinWindow(form.form), 1);
    EnableWindow(form.ok, FALSE);
    ShowWindow(form.cancel, SW_HIDE);
    ASSERT_EQ(UnskinWindow(form.form), 1);
    EXPECT_FALSE(IsWindowEnabled(form.ok));
    EXPECT_FALSE(IsWindowVisible(form.cancel));
    EXPECT_EQ(GetWindowLongPtrW(form.ok, GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON);
    EXPECT_EQ(GetWindowLongPtrW(form.cancel, GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON);
}

TEST_F(SkinAttachTest, ASecondSkinnedWindowKeepsTheEngineAlive) {
    TestForm first;
    TestForm second;
    MakeTestForm(first);
    MakeTestForm(second, {.withCheckBox = true});
    ASSERT_EQ(SkinWindow(first.form), 1);
    HDC buttonSkin = SkinBitmaps().button_skin;
    ASSERT_EQ(SkinWindow(second.form), 1);
    EXPECT_EQ(SkinBitmaps().button_skin, buttonSkin);  // built once, shared
    EXPECT_EQ(SkinnedWindowCount(), 9);

    EXPECT_EQ(UnskinWindow(first.form), 1);
    EXPECT_EQ(SkinnedWindowCount(), 5);
    EXPECT_TRUE(SkinInitialised());
    EXPECT_EQ(SkinBitmaps().button_skin, buttonSkin);
    EXPECT_EQ(GetObjectType(buttonSkin), static_cast<DWORD>(OBJ_MEMDC));

    EXPECT_EQ(UnskinWindow(second.form), 1);
    EXPECT_EQ(SkinnedWindowCount(), 0);
    EXPECT_EQ(SkinBitmaps().button_skin, nullptr);
}
