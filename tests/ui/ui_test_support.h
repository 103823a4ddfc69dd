// Shared pieces of the UI tests: temporary folders, message pumping, a main window made as
// the program makes it, and a watcher for dialog boxes that a test has to answer.
#pragma once

#include "ui/win32.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ui/form1.h"
#include "ui/form_resources.h"

// A fresh folder under the temporary folder, removed with everything in it.
class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::wstring& path() const { return path_; }
    std::string utf8_path() const;
    std::wstring Join(const std::wstring& name) const { return path_ + L"\\" + name; }
    void WriteFile(const std::wstring& name, const std::string& bytes, DWORD attributes = FILE_ATTRIBUTE_NORMAL) const;
    void MakeFolder(const std::wstring& name) const;
    bool Exists(const std::wstring& name) const;

  private:
    std::wstring path_;
};

// Dispatches messages for about `milliseconds`.
void PumpFor(DWORD milliseconds);
// Dispatches messages until `done` is true or the time is up; returns done().
bool PumpUntil(const std::function<bool()>& done, DWORD timeout_milliseconds);
// Takes a WM_QUIT from the queue if there is one.
bool TakeQuitMessage();

// The path of a file beside the test program.
std::wstring BesideTestProgram(const std::wstring& name);
// The fake help compiler built with the tests: writes the book unless the project's folder
// name starts with "fail".
std::string FakeCompilerPath();

// A source text of `characters` ASCII characters in lines of 60.
std::string AsciiText(size_t characters);

// What a dialog box of this thread showed when the watcher answered it.
struct SeenDialog {
    std::wstring title;
    std::wstring text;  // the message text of a message box
    HWND owner = nullptr;
    bool has_ok = false;
    bool has_cancel = false;
    bool has_icon = false;
    bool owner_was_enabled = true;
};

// Answers the dialog boxes (class "#32770") that appear on this thread while it lives, from
// a thread timer: records them, runs `before_answer`, then presses `answer` (IDOK, IDCANCEL).
class DialogAnswerer {
  public:
    explicit DialogAnswerer(int answer, std::function<void(HWND)> before_answer = {});
    ~DialogAnswerer();
    const std::vector<SeenDialog>& seen() const { return seen_; }

  private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR id, DWORD);
    void Check();
    int answer_;
    std::function<void(HWND)> before_answer_;
    std::vector<SeenDialog> seen_;
    std::vector<HWND> answered_;
    UINT_PTR timer_ = 0;
};

// Runs `tick` from a thread timer every few milliseconds while it lives.
class ThreadTicker {
  public:
    explicit ThreadTicker(std::function<void()> tick, UINT interval = 1);
    ~ThreadTicker();

  private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR id, DWORD);
    std::function<void()> tick_;
    UINT_PTR timer_ = 0;
};

// True when the skin has attached `window`.
bool IsSkinned(HWND window);
// A visible dialog box (class "#32770") of this thread, or null.
HWND FindThreadDialog();

// What a dialog looked like when KeyboardAnswerer's key went in.
struct KeyedDialog {
    bool appeared = false;
    std::wstring title;
    std::wstring text;  // the message text of a message box
    bool skinned = false;
    int skinned_buttons = 0;
    int buttons = 0;
    bool needed_rescue = false;
};

// Waits for a dialog of this thread, records its skin, presses `key` once as real keyboard
// input and, should the key not close it within a few seconds, closes it by command so that
// a failing test cannot hang.
class KeyboardAnswerer {
  public:
    explicit KeyboardAnswerer(WORD key) : key_(key), ticker_([this] { Tick(); }, 10) {}
    const KeyedDialog& result() const { return result_; }

  private:
    void Tick();

    WORD key_;
    KeyedDialog result_;
    bool pressed_ = false;
    int settle_ = 0;
    DWORD pressed_at_ = 0;
    ThreadTicker ticker_;
};

// A drop handle as the shell makes it for a drag of these files or folders onto a window;
// whoever handles WM_DROPFILES frees it.
HDROP MakeDrop(const std::vector<std::wstring>& paths);

// A main window created as the program creates it; closed and its WM_QUIT taken at the end.
class Form1Test : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
    // Creates the form; choose_folder replaces the folder chooser when set.
    void CreateForm(std::function<std::string()> choose_folder = {}, std::string compiler = {});
    // Creates the form with options of the test's own (the compile check interval is shortened).
    void CreateForm(Form1Options options);
    // Closes the window and pumps until it is gone; true when it went and WM_QUIT came.
    bool CloseForm();
    HWND Control(Form1Window which) const { return form_->Control(which); }
    std::string Label(Form1Label which) const;
    std::vector<std::wstring> ListBoxItems(HWND listbox) const;
    // A click on a button as the user makes it: press and release through the window procedure.
    void Click(Form1Window which);

    std::unique_ptr<FormResources> resources_;
    std::unique_ptr<Form1> form_;
};
