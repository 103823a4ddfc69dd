#include "tests/ui/ui_test_support.h"

#include <shlobj.h>

#include <cstring>
#include <map>

#include "win/wide_text.h"

namespace {

void RemoveTree(const std::wstring& path) {
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((path + L"\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = data.cFileName;
            if (name == L"." || name == L"..")
                continue;
            const std::wstring child = path + L"\\" + name;
            SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(child);
            } else {
                DeleteFileW(child.c_str());
            }
        } while (FindNextFileW(find, &data));
        FindClose(find);
    }
    RemoveDirectoryW(path.c_str());
}

std::map<UINT_PTR, DialogAnswerer*>& Answerers() {
    static std::map<UINT_PTR, DialogAnswerer*> answerers;
    return answerers;
}

std::map<UINT_PTR, ThreadTicker*>& Tickers() {
    static std::map<UINT_PTR, ThreadTicker*> tickers;
    return tickers;
}

std::wstring ClassOf(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

std::wstring TextOf(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring text(length + 1, L'\0');
    text.resize(GetWindowTextW(window, text.data(), length + 1));
    return text;
}

BOOL CALLBACK CollectDialog(HWND window, LPARAM list) {
    if (IsWindowVisible(window) && ClassOf(window) == L"#32770") {
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    }
    return TRUE;
}

}  // namespace

TempFolder::TempFolder() {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    static int counter = 0;
    for (int attempt = 0; attempt < 1000; ++attempt) {
        std::wstring candidate = std::wstring(temp) + L"folvane-ui-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                                 std::to_wstring(++counter);
        if (CreateDirectoryW(candidate.c_str(), nullptr)) {
            path_ = candidate;
            return;
        }
    }
}

TempFolder::~TempFolder() {
    if (!path_.empty())
        RemoveTree(path_);
}

std::string TempFolder::utf8_path() const {
    return Utf8FromWide(path_);
}

void TempFolder::WriteFile(const std::wstring& name, const std::string& bytes, DWORD attributes) const {
    HANDLE file = CreateFileW(Join(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, attributes, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    ASSERT_EQ(written, bytes.size());
}

void TempFolder::MakeFolder(const std::wstring& name) const {
    ASSERT_TRUE(CreateDirectoryW(Join(name).c_str(), nullptr));
}

bool TempFolder::Exists(const std::wstring& name) const {
    return GetFileAttributesW(Join(name).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void PumpFor(DWORD milliseconds) {
    PumpUntil([] { return false; }, milliseconds);
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeout_milliseconds) {
    const ULONGLONG end = GetTickCount64() + timeout_milliseconds;
    while (!done()) {
        if (GetTickCount64() >= end)
            return done();
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE)) {
            if (message.message == WM_QUIT)
                break;  // left for TakeQuitMessage
            PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        if (done())
            return true;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    return true;
}

bool TakeQuitMessage() {
    MSG message;
    return PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != 0;
}

std::wstring BesideTestProgram(const std::wstring& name) {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder = path;
    folder.resize(folder.find_last_of(L"\\/") + 1);
    return folder + name;
}

std::string FakeCompilerPath() {
    return Utf8FromWide(BesideTestProgram(L"ui_fake_compiler.exe"));
}

std::string AsciiText(size_t characters) {
    std::string text;
    size_t column = 0;
    while (text.size() < characters) {
        if (column == 58) {
            text += "\r\n";
            column = 0;
        } else {
            text += static_cast<char>('a' + (text.size() % 26));
            ++column;
        }
    }
    return text;
}

DialogAnswerer::DialogAnswerer(int answer, std::function<void(HWND)> before_answer)
    : answer_(answer), before_answer_(std::move(before_answer)) {
    timer_ = SetTimer(nullptr, 0, 20, OnTimer);
    Answerers()[timer_] = this;
}

DialogAnswerer::~DialogAnswerer() {
    KillTimer(nullptr, timer_);
    Answerers().erase(timer_);
}

void CALLBACK DialogAnswerer::OnTimer(HWND, UINT, UINT_PTR id, DWORD) {
    auto found = Answerers().find(id);
    if (found != Answerers().end())
        found->second->Check();
}

void DialogAnswerer::Check() {
    std::vector<HWND> dialogs;
    EnumThreadWindows(GetCurrentThreadId(), CollectDialog, reinterpret_cast<LPARAM>(&dialogs));
    for (HWND dialog : dialogs) {
        if (std::find(answered_.begin(), answered_.end(), dialog) != answered_.end())
            continue;
        answered_.push_back(dialog);
        SeenDialog seen;
        seen.title = TextOf(dialog);
        seen.text = TextOf(GetDlgItem(dialog, 0xFFFF));
        seen.owner = GetWindow(dialog, GW_OWNER);
        seen.owner_was_enabled = !seen.owner || IsWindowEnabled(seen.owner);
        seen.has_ok = GetDlgItem(dialog, IDOK) != nullptr && IsWindowVisible(GetDlgItem(dialog, IDOK));
        seen.has_cancel = GetDlgItem(dialog, IDCANCEL) != nullptr && IsWindowVisible(GetDlgItem(dialog, IDCANCEL));
        for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            if (ClassOf(child) == L"Static" && IsWindowVisible(child) &&
                (GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON &&
                SendMessageW(child, STM_GETICON, 0, 0) != 0) {
                seen.has_icon = true;
            }
        }
        seen_.push_back(seen);
        if (before_answer_)
            before_answer_(dialog);
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(answer_, BN_CLICKED), 0);
    }
}

ThreadTicker::ThreadTicker(std::function<void()> tick, UINT interval) : tick_(std::move(tick)) {
    timer_ = SetTimer(nullptr, 0, interval, OnTimer);
    Tickers()[timer_] = this;
}

ThreadTicker::~ThreadTicker() {
    KillTimer(nullptr, timer_);
    Tickers().erase(timer_);
}

void CALLBACK ThreadTicker::OnTimer(HWND, UINT, UINT_PTR id, DWORD) {
    auto found = Tickers().find(id);
    if (found != Tickers().end())
        found->second->tick_();
}

bool IsSkinned(HWND window) {
    return window && GetPropA(window, "PROCADDR") != nullptr;
}

HWND FindThreadDialog() {
    std::vector<HWND> dialogs;
    EnumThreadWindows(GetCurrentThreadId(), CollectDialog, reinterpret_cast<LPARAM>(&dialogs));
    return dialogs.empty() ? nullptr : dialogs.front();
}

void KeyboardAnswerer::Tick() {
    const HWND dialog = FindThreadDialog();
    if (!dialog)
        return;
    if (!pressed_) {
        // Give the skin's activation handling a few ticks to attach the dialog.
        if (++settle_ < 5)
            return;
        result_.appeared = true;
        result_.title = TextOf(dialog);
        result_.text = TextOf(GetDlgItem(dialog, 0xFFFF));
        result_.skinned = IsSkinned(dialog);
        for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            if (lstrcmpiW(ClassOf(child).c_str(), L"Button") != 0 || !IsWindowVisible(child))
                continue;
            ++result_.buttons;
            if (IsSkinned(child))
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

HDROP MakeDrop(const std::vector<std::wstring>& paths) {
    std::wstring names;
    for (const std::wstring& path : paths)
        names += path + L'\0';
    names += L'\0';
    const size_t bytes = sizeof(DROPFILES) + names.size() * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GHND, bytes);
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    std::memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), names.data(), names.size() * sizeof(wchar_t));
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

void Form1Test::SetUp() {
    resources_ = std::make_unique<FormResources>(GetModuleHandleW(nullptr));
}

void Form1Test::TearDown() {
    if (form_ && form_->window())
        CloseForm();
    form_.reset();
    PumpFor(10);
    TakeQuitMessage();
}

void Form1Test::CreateForm(std::function<std::string()> choose_folder, std::string compiler) {
    Form1Options options;
    options.choose_folder = std::move(choose_folder);
    options.run_options.compiler = std::move(compiler);
    CreateForm(std::move(options));
}

void Form1Test::CreateForm(Form1Options options) {
    options.compile_check_interval = 50;
    form_ = std::make_unique<Form1>(*resources_, std::move(options));
    ASSERT_TRUE(form_->Create(SW_SHOWNORMAL));
    PumpFor(20);
}

bool Form1Test::CloseForm() {
    PostMessageW(form_->window(), WM_CLOSE, 0, 0);
    const bool gone = PumpUntil([&] { return form_->window() == nullptr; }, 5000);
    return gone && TakeQuitMessage();
}

std::string Form1Test::Label(Form1Label which) const {
    return Utf8FromWide(form_->LabelCaption(which));
}

std::vector<std::wstring> Form1Test::ListBoxItems(HWND listbox) const {
    std::vector<std::wstring> items;
    const int count = static_cast<int>(SendMessageW(listbox, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        std::wstring text(SendMessageW(listbox, LB_GETTEXTLEN, i, 0) + 1, L'\0');
        text.resize(SendMessageW(listbox, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data())));
        items.push_back(text);
    }
    return items;
}

void Form1Test::Click(Form1Window which) {
    SendMessageW(Control(which), BM_CLICK, 0, 0);
}
