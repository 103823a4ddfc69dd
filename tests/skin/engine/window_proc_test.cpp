// The skin window procedure as a whole: default handling without the skin, detaching on
// destruction, and windows that get skinned as they appear (message boxes, owned windows,
// dialog boxes of an idle owner, drop-down lists).
#include <gtest/gtest.h>

#include <map>

#include "engine/attach.h"
#include "engine/control_kind.h"
#include "engine/engine.h"
#include "engine/window_proc.h"
#include "paint/skin_bitmaps.h"
#include "skin/skin.h"
#include "support/test_form.h"
#include "win_support/message_pump.h"

namespace {

BOOL CALLBACK CountOne(HWND, LPARAM counter) {
    ++*reinterpret_cast<int*>(counter);
    return TRUE;
}

int CountDescendants(HWND window) {
    int count = 0;
    EnumChildWindows(window, CountOne, reinterpret_cast<LPARAM>(&count));
    return count;
}

// What a timer running inside the message box's modal loop saw.
struct MessageBoxProbe {
    HWND owner = nullptr;
    HWND box = nullptr;
    bool skinnedAtActivation = false;
    int idleMessages = 0;
    int countWhileOpen = -1;
    int expectedWhileOpen = -1;
    int countAfterIdle = -1;
    int skinnedButtons = 0;
    int buttons = 0;
    bool boxProcIsNotTheSkin = false;
    bool boxSendsIdle = true;
    int ticks = 0;
};
MessageBoxProbe probe;

BOOL CALLBACK InspectBoxChild(HWND child, LPARAM) {
    if (GetLowerClassName(child) == "button") {
        ++probe.buttons;
        if (GetPropA(child, "PROCADDR"))
            ++probe.skinnedButtons;
    }
    return TRUE;
}

void CALLBACK InspectMessageBox(HWND, UINT, UINT_PTR id, DWORD) {
    ++probe.ticks;
    if (!probe.box || !IsWindow(probe.box)) {
        if (probe.ticks > 100)
            KillTimer(nullptr, id);  // give up; the test reports it
        return;
    }
    if (probe.countWhileOpen < 0) {
        probe.countWhileOpen = SkinnedWindowCount();
        probe.expectedWhileOpen = 1 + CountDescendants(probe.box);
        EnumChildWindows(probe.box, InspectBoxChild, 0);
        probe.boxProcIsNotTheSkin = GetPropA(probe.box, "PROCADDR") != reinterpret_cast<HANDLE>(&SkinWindowProc);
        probe.boxSendsIdle = (GetWindowLongPtrW(probe.box, GWL_STYLE) & DS_NOIDLEMSG) == 0;
    }
    if (probe.idleMessages < 2 && probe.ticks < 50)
        return;  // let the owner see WM_ENTERIDLE again
    probe.countAfterIdle = SkinnedWindowCount();
    KillTimer(nullptr, id);
    PostMessageW(probe.box, WM_COMMAND, IDOK, 0);
}

HWND MakeTopLevel(const wchar_t* className, DWORD style, HWND owner) {
    return CreateWindowExW(0, className, L"", style, 300, 300, 120, 80, owner, nullptr, GetModuleHandleW(nullptr),
                           nullptr);
}

class WindowProcTest : public ::testing::Test {
  protected:
    void TearDown() override {
        MessageLog::SetObserver(nullptr);
        EXPECT_EQ(SkinnedWindowCount(), 0);
        EXPECT_FALSE(SkinInitialised());
    }
};

// A modal dialog box with one push button, in memory; it sends its owner WM_ENTERIDLE.
std::vector<WORD> OneButtonDialogTemplate() {
    std::vector<WORD> words(sizeof(DLGTEMPLATE) / sizeof(WORD), 0);
    auto* dialog = reinterpret_cast<DLGTEMPLATE*>(words.data());
    dialog->style = WS_POPUP | WS_CAPTION | WS_VISIBLE | DS_MODALFRAME;
    dialog->cdit = 1;
    dialog->x = 20;
    dialog->y = 20;
    dialog->cx = 120;
    dialog->cy = 60;
    words.insert(words.end(), {0, 0, 0});  // no menu, the default class, no title
    while (words.size() % 2)
        words.push_back(0);  // items start on a DWORD boundary
    size_t item = words.size();
    words.resize(item + sizeof(DLGITEMTEMPLATE) / sizeof(WORD), 0);
    auto* button = reinterpret_cast<DLGITEMTEMPLATE*>(words.data() + item);
    button->style = WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON;
    button->x = 10;
    button->y = 10;
    button->cx = 50;
    button->cy = 14;
    button->id = IDOK;
    words.insert(words.end(), {0xFFFF, 0x0080, 'O', 'K', 0, 0});  // "Button" class, caption, no data
    return words;
}

struct IdleDialogProbe {
    HWND owner = nullptr;
    HWND dialog = nullptr;
    int idleMessages = 0;
    bool skinnedAtFirstIdle = true;
    bool ownerActivatedByDialog = false;
    int countWhileOpen = -1;
    bool buttonSkinned = false;
    int ticks = 0;
};
IdleDialogProbe idleProbe;

INT_PTR CALLBACK IdleDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) {
        idleProbe.dialog = dialog;
        SetTimer(dialog, 7, 30, nullptr);
        return TRUE;
    }
    if (message == WM_TIMER && wParam == 7) {
        if (idleProbe.idleMessages < 2 && ++idleProbe.ticks < 100)
            return TRUE;
        idleProbe.countWhileOpen = SkinnedWindowCount();
        idleProbe.buttonSkinned = GetPropA(GetDlgItem(dialog, IDOK), "PROCADDR") != nullptr;
        KillTimer(dialog, 7);
        EndDialog(dialog, IDOK);
        return TRUE;
    }
    return FALSE;
}
}  // namespace

TEST_F(WindowProcTest, AWindowWithoutTheOldProcedureIsServedByDefWindowProc) {
    EXPECT_EQ(SkinWindowProc(nullptr, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"x")), 0);

    TestForm form;
    MakeTestForm(form, {.record = true});
    // Installed by hand, without "PROCADDR": the window gets the default behaviour only.
    SetWindowLongPtrW(form.list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SkinWindowProc));
    MessageLog::Clear();
    SendMessageW(form.list, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"default text"));
    wchar_t text[32] = {};
    SendMessageW(form.list, WM_GETTEXT, 32, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, L"default text");
    EXPECT_EQ(SendMessageW(form.list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"item")), 0);  // not a list box now
    EXPECT_EQ(MessageLog::Count(form.list, WM_SETTEXT), 0u);
    DestroyWindow(form.list);
}

TEST_F(WindowProcTest, DestroyDetachesFirstAndTheOldProcedureStillGetsTheMessage) {
    TestForm form;
    MakeTestForm(form, {.record = true});
    ASSERT_EQ(SkinWindow(form.form), 1);
    PumpMessages();

    struct Seen {
        bool skinned;
        LONG_PTR proc;
    };
    std::map<HWND, Seen> seen;
    MessageLog::SetObserver([&](const Recorded& entry) {
        if (entry.message == WM_DESTROY) {
            seen[entry.window] = {GetPropA(entry.window, "PROCADDR") != nullptr,
                                  GetWindowLongPtrW(entry.window, GWLP_WNDPROC)};
        }
    });
    HWND windows[] = {form.form, form.ok, form.cancel, form.list};
    DestroyWindow(form.form);
    MessageLog::SetObserver(nullptr);

    for (HWND window : windows) {
        ASSERT_EQ(seen.count(window), 1u);
        EXPECT_FALSE(seen[window].skinned);
        EXPECT_NE(seen[window].proc, reinterpret_cast<LONG_PTR>(&SkinWindowProc));
    }
    EXPECT_EQ(SkinnedWindowCount(), 0);
    EXPECT_EQ(SkinBitmaps().button_skin, nullptr);
}

TEST_F(WindowProcTest, AMessageBoxOverTheSkinnedFormIsSkinnedOnce) {
    TestForm form;
    MakeTestForm(form, {.record = true});
    ASSERT_EQ(SkinWindow(form.form), 1);
    PumpMessages();
    const int formCount = SkinnedWindowCount();

    probe = MessageBoxProbe{};
    probe.owner = form.form;

    MessageLog::SetObserver([](const Recorded& entry) {
        if (entry.window != probe.owner)
            return;
        auto other = reinterpret_cast<HWND>(entry.lParam);
        if (entry.message == WM_ACTIVATE && other && GetLowerClassName(other) == "#32770") {
            // The skin attaches before it passes WM_ACTIVATE on.
            probe.box = other;
            probe.skinnedAtActivation = GetPropA(other, "PROCADDR") != nullptr;
        }
        if (entry.message == WM_ENTERIDLE && other && other == probe.box)
            ++probe.idleMessages;
    });
    UINT_PTR timer = SetTimer(nullptr, 0, 40, InspectMessageBox);

    int answer = MessageBoxW(form.form, L"文件生成中", L"提示", MB_OK);
    MessageLog::SetObserver(nullptr);
    KillTimer(nullptr, timer);

    EXPECT_EQ(answer, IDOK);
    ASSERT_NE(probe.box, nullptr) << "the owner never saw WM_ACTIVATE with the box";
    EXPECT_TRUE(probe.skinnedAtActivation);
    // Boxes made without idle messages are found through the activation alone.
    if (probe.boxSendsIdle) {
        EXPECT_GE(probe.idleMessages, 2);
    }
    EXPECT_EQ(probe.countWhileOpen, formCount + probe.expectedWhileOpen);
    EXPECT_EQ(probe.countAfterIdle, probe.countWhileOpen);  // later messages attach nothing again
    EXPECT_GE(probe.buttons, 1);
    EXPECT_EQ(probe.skinnedButtons, probe.buttons);
    EXPECT_TRUE(probe.boxProcIsNotTheSkin);
    // The box detached itself when it was destroyed.
    EXPECT_FALSE(IsWindow(probe.box));
    EXPECT_EQ(SkinnedWindowCount(), formCount);
    EXPECT_EQ(UnskinWindow(form.form), 1);
}

TEST_F(WindowProcTest, ADialogBoxIsSkinnedWhenItsOwnerEntersIdle) {
    TestForm form;
    MakeTestForm(form, {.record = true});
    ASSERT_EQ(SkinWindow(form.form), 1);
    const int formCount = SkinnedWindowCount();
    // An unskinned window of no form class holds the activation, so the dialog box takes it
    // from that window, not from the form.
    HWND holder = MakeTopLevel(L"Static", WS_POPUP | WS_VISIBLE, nullptr);
    SetActiveWindow(holder);
    PumpMessages();
    ASSERT_EQ(GetActiveWindow(), holder);
    ASSERT_EQ(SkinnedWindowCount(), formCount);

    idleProbe = IdleDialogProbe{};
    idleProbe.owner = form.form;
    MessageLog::SetObserver([](const Recorded& entry) {
        if (entry.window != idleProbe.owner)
            return;
        auto other = reinterpret_cast<HWND>(entry.lParam);
        // Activation handed from the form to the dialog box before any idle message.
        if (entry.message == WM_ACTIVATE && LOWORD(entry.wParam) == WA_INACTIVE && other == idleProbe.dialog &&
            idleProbe.idleMessages == 0) {
            idleProbe.ownerActivatedByDialog = true;
        }
        if (entry.message == WM_ENTERIDLE && other && other == idleProbe.dialog) {
            // Passed on first: the dialog box is skinned right after this.
            if (idleProbe.idleMessages++ == 0)
                idleProbe.skinnedAtFirstIdle = GetPropA(other, "PROCADDR") != nullptr;
        }
    });
    std::vector<WORD> dialogTemplate = OneButtonDialogTemplate();
    INT_PTR answer =
        DialogBoxIndirectParamW(GetModuleHandleW(nullptr), reinterpret_cast<const DLGTEMPLATE*>(dialogTemplate.data()),
                                form.form, IdleDialogProc, 0);
    MessageLog::SetObserver(nullptr);

    EXPECT_EQ(answer, IDOK);
    EXPECT_FALSE(idleProbe.ownerActivatedByDialog);
    EXPECT_GE(idleProbe.idleMessages, 2);
    EXPECT_FALSE(idleProbe.skinnedAtFirstIdle);
    EXPECT_EQ(idleProbe.countWhileOpen, formCount + 2);  // the dialog box and its button, once
    EXPECT_TRUE(idleProbe.buttonSkinned);
    EXPECT_EQ(SkinnedWindowCount(), formCount);
    DestroyWindow(holder);
    EXPECT_EQ(UnskinWindow(form.form), 1);
}

TEST_F(WindowProcTest, IdleOwnersAndListColourRequestsSkinTheWindowInLParam) {
    TestForm form;
    MakeTestForm(form);
    ASSERT_EQ(SkinWindow(form.form), 1);

    TestForm dialog;  // stands for a dialog box whose owner enters idle
    MakeTestForm(dialog);
    SendMessageW(form.form, WM_ENTERIDLE, MSGF_DIALOGBOX, reinterpret_cast<LPARAM>(dialog.form));
    EXPECT_NE(Prop(dialog.form, "PROCADDR"), 0);
    EXPECT_NE(Prop(dialog.ok, "PROCADDR"), 0);
    EXPECT_EQ(SkinnedWindowCount(), 8);
    SendMessageW(form.form, WM_ENTERIDLE, MSGF_DIALOGBOX, reinterpret_cast<LPARAM>(dialog.form));
    EXPECT_EQ(SkinnedWindowCount(), 8);

    // The answer to the colour request is the old procedure's, unchanged.
    HWND list = MakeTopLevel(L"ListBox", WS_POPUP, nullptr);
    HDC dc = GetDC(list);
    LRESULT expected =
        DefWindowProcW(form.form, WM_CTLCOLORLISTBOX, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(list));
    EXPECT_EQ(SendMessageW(form.form, WM_CTLCOLORLISTBOX, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(list)),
              expected);
    ReleaseDC(list, dc);
    EXPECT_NE(Prop(list, "PROCADDR"), 0);
    EXPECT_EQ(SkinnedWindowCount(), 9);

    SendMessageW(form.form, WM_ENTERIDLE, MSGF_DIALOGBOX, 0);
    SendMessageW(form.form, WM_CTLCOLORLISTBOX, 0, 0);
    EXPECT_EQ(SkinnedWindowCount(), 9);

    DestroyWindow(list);
    EXPECT_EQ(UnskinWindow(dialog.form), 1);
    EXPECT_EQ(UnskinWindow(form.form), 1);
}

TEST_F(WindowProcTest, ActivationSkinsOwnedWindowsAndFormsOnly) {
    TestForm form;
    MakeTestForm(form);
    ASSERT_EQ(SkinWindow(form.form), 1);
    const int formCount = SkinnedWindowCount();

    HWND owned = MakeTopLevel(L"Static", WS_POPUP, form.form);
    HWND stranger = MakeTopLevel(L"Static", WS_POPUP, nullptr);
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"ThunderFormDC";
    RegisterClassW(&windowClass);
    HWND otherForm = MakeTopLevel(L"ThunderFormDC", WS_OVERLAPPED, nullptr);

    SendMessageW(form.form, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(stranger));
    EXPECT_EQ(Prop(stranger, "PROCADDR"), 0);
    SendMessageW(form.form, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(owned));
    EXPECT_NE(Prop(owned, "PROCADDR"), 0);
    SendMessageW(form.form, WM_ACTIVATE, WA_ACTIVE, reinterpret_cast<LPARAM>(otherForm));
    EXPECT_NE(Prop(otherForm, "PROCADDR"), 0);
    SendMessageW(form.form, WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_EQ(SkinnedWindowCount(), formCount + 2);

    DestroyWindow(owned);
    DestroyWindow(otherForm);
    DestroyWindow(stranger);
    EXPECT_EQ(SkinnedWindowCount(), formCount);
    EXPECT_EQ(UnskinWindow(form.form), 1);
}

TEST_F(WindowProcTest, ALeftButtonReleaseRedrawsEverySkinnedCheckBoxAndOptionButtonBeside) {
    for (const wchar_t* name : {L"ThunderRT6CheckBox", L"ThunderOptionButton"}) {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = name;
        RegisterClassW(&windowClass);
    }
    TestForm form;
    MakeTestForm(form);
    auto child = [&](const wchar_t* className, HWND parent, int y) {
        return CreateWindowExW(0, className, L"box", WS_CHILD | WS_VISIBLE, 200, y, 100, 20, parent, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    };
    HWND check = child(L"ThunderRT6CheckBox", form.form, 100);
    HWND option = child(L"ThunderOptionButton", form.form, 130);
    HWND unskinned = nullptr;
    ASSERT_EQ(SkinWindow(form.form), 1);
    unskinned = child(L"ThunderRT6CheckBox", form.form, 160);  // created after the attach
    PumpMessages();

    auto markAllPressed = [&] {
        for (HWND window : {check, option, unskinned})
            SetPropA(window, "OLDSTATE", reinterpret_cast<HANDLE>(2));
    };
    markAllPressed();
    SendMessageW(form.ok, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(Prop(check, "OLDSTATE"), 0);
    EXPECT_EQ(Prop(option, "OLDSTATE"), 0);
    EXPECT_EQ(Prop(unskinned, "OLDSTATE"), 2);  // not skinned: skipped

    // A release in a window without a parent refreshes that window's own children.
    markAllPressed();
    SendMessageW(form.form, WM_LBUTTONUP, 0, MAKELPARAM(300, 250));
    EXPECT_EQ(Prop(check, "OLDSTATE"), 0);
    EXPECT_EQ(Prop(option, "OLDSTATE"), 0);
    RemovePropA(unskinned, "OLDSTATE");

    EXPECT_EQ(UnskinWindow(form.form), 1);
    EXPECT_EQ(CountDescendants(form.form), 6);
}

namespace {

// A "#32770" window with one push button, created by a thread of its own that serves its
// messages until it is told to quit.
struct ForeignDialog {
    HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HWND window = nullptr;
    HWND button = nullptr;
};

DWORD WINAPI RunForeignDialog(LPVOID parameter) {
    auto* dialog = static_cast<ForeignDialog*>(parameter);
    dialog->window = CreateWindowExW(0, L"#32770", L"", WS_POPUP, 320, 320, 160, 80, nullptr, nullptr,
                                     GetModuleHandleW(nullptr), nullptr);
    dialog->button = CreateWindowExW(0, L"Button", L"OK", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 10, 75, 23,
                                     dialog->window, nullptr, GetModuleHandleW(nullptr), nullptr);
    SetEvent(dialog->ready);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0)
        DispatchMessageW(&message);
    DestroyWindow(dialog->window);
    return 0;
}

}  // namespace

TEST_F(WindowProcTest, ADialogBoxOfAnotherThreadIsNeverSkinned) {
    TestForm form;
    MakeTestForm(form);
    ASSERT_EQ(SkinWindow(form.form), 1);
    const int formCount = SkinnedWindowCount();

    ForeignDialog dialog;
    DWORD threadId = 0;
    HANDLE thread = CreateThread(nullptr, 0, RunForeignDialog, &dialog, 0, &threadId);
    ASSERT_NE(thread, nullptr);
    ASSERT_EQ(WaitForSingleObject(dialog.ready, 10000), WAIT_OBJECT_0);
    ASSERT_NE(dialog.window, nullptr);

    // The activation passing to it, and a direct attach, leave it and its button alone.
    SendMessageW(form.form, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(dialog.window));
    EXPECT_EQ(AttachSkin(dialog.window), 0);
    EXPECT_EQ(AttachSkin(dialog.button), 0);
    EXPECT_EQ(Prop(dialog.window, "PROCADDR"), 0);
    EXPECT_EQ(Prop(dialog.button, "PROCADDR"), 0);
    EXPECT_TRUE(PropertyNames(dialog.button).empty());
    EXPECT_EQ(GetWindowLongPtrW(dialog.button, GWL_STYLE) & 0x0F, BS_PUSHBUTTON);
    EXPECT_EQ(SkinnedWindowCount(), formCount);

    PostThreadMessageW(threadId, WM_QUIT, 0, 0);
    EXPECT_EQ(WaitForSingleObject(thread, 10000), WAIT_OBJECT_0);
    CloseHandle(thread);
    CloseHandle(dialog.ready);
    EXPECT_EQ(UnskinWindow(form.form), 1);
}

TEST_F(WindowProcTest, AClickWhoseCodeUnskinsTheFormLeavesNothingOfTheSkinOnTheButton) {
    TestForm form;
    MakeTestForm(form, {.record = true});
    ASSERT_EQ(SkinWindow(form.form), 1);
    PumpMessages();
    MessageLog::Clear();
    MessageLog::SetObserver([&](const Recorded& entry) {
        if (entry.window == form.form && entry.message == WM_COMMAND &&
            reinterpret_cast<HWND>(entry.lParam) == form.ok && HIWORD(entry.wParam) == BN_CLICKED)
            UnskinWindow(form.form);
    });

    SendMessageW(form.ok, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    SendMessageW(form.ok, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    MessageLog::SetObserver(nullptr);
    ASSERT_EQ(MessageLog::Of(form.form, {WM_COMMAND}), (std::vector<UINT>{WM_COMMAND}));

    EXPECT_EQ(SkinnedWindowCount(), 0);
    EXPECT_EQ(Prop(form.ok, "PROCADDR"), 0);
    // No state written back and no fade started after the skin was gone.
    EXPECT_TRUE(PropertyNames(form.ok).empty());
    EXPECT_FALSE(KillTimer(form.ok, 1));
}
