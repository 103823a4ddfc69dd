// The main window: two buttons, the source and output file lists, the result list, the
// windowless labels and the help picture. Its event procedures drive the folder chooser (or
// take a dropped folder), the Convert & Generate run with its progress, the result lines'
// double-click and the help window.
#pragma once

#include "ui/win32.h"
// after windows.h
#include <shellapi.h>

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "builder/convert_run.h"
#include "ui/file_list_box.h"
#include "ui/form2.h"
#include "ui/form_layout.h"
#include "ui/form_resources.h"
#include "ui/form_window.h"
#include "ui/run_progress.h"
#include "ui/taskbar_progress.h"
#include "ui/yield_pacer.h"

struct Form1Options {
    // Post WM_QUIT when the window is destroyed, which ends the program's message loop.
    bool quit_when_closed = true;
    // The folder chooser; BrowseForFolder unless replaced.
    std::function<std::string()> choose_folder;
    RunOptions run_options;
    // How often the compilers that a run started are checked, in milliseconds.
    UINT compile_check_interval = 100;
    // Opens a book or a folder (UTF-8 path); OpenWithShell unless replaced. False when it failed.
    std::function<bool(HWND owner, const std::string& path)> open_with_shell;
    // One pass through the message loop during a run; PumpPendingMessages unless replaced.
    std::function<bool(HWND dialog_window)> pump_messages;
    // The taskbar button's progress; CreateTaskbarProgress unless replaced. Null: none.
    std::function<std::unique_ptr<TaskbarProgress>(HWND window)> taskbar_progress;
};

class Form1 final : public FormWindow {
  public:
    Form1(const FormResources& resources, Form1Options options = {});
    ~Form1() override;

    // Creates the window and its controls, runs Form_Load, then shows the window.
    bool Create(int show_command);

    HWND Control(Form1Window which) const { return controls_[static_cast<int>(which)]; }
    const std::wstring& LabelCaption(Form1Label which) const { return labels_[static_cast<int>(which)]; }
    void SetLabelCaption(Form1Label which, std::wstring_view text);
    static RECT LabelRect(Form1Label which);
    static RECT Image1Rect();

    FileListBox& File1() { return file1_; }
    FileListBox& File2() { return file2_; }
    ResultListBox& List1() { return list1_; }
    // The help window once it has been created (and not closed since), else null.
    HWND HelpWindow() const { return form2_ ? form2_->window() : nullptr; }
    bool RunInProgress() const { return running_; }
    // Number of started compilers whose result is still awaited.
    bool CompilersPending() const;
    // Blocks until every compile that the runs handed over has ended.
    void FinishCompiles();
    // The report behind result line `index` of the latest run, or null.
    const BookReport* LineReport(int index) const;

    // For the message loop: true when msg was a dialog key for this window and is handled.
    bool PreTranslateMessage(MSG& msg);
    // Lets the windows work during the run, at most once every YieldPacer::kIntervalMs and
    // once per source file; false once the window is closing.
    bool YieldToMessages();
    // The run's modal message box over this window.
    void ShowRunMessage(const std::string& text, const std::string& title);

    // What the run tells the window (Form1RunControls passes it on).
    void SetRunStatus(const std::string& text);
    void OnSourceFile(int index, int count, const std::string& name);
    void OnFileProgress(int percent);
    void OnBookReport(const BookReport& report);

    // Event procedures.
    void Form_Load();
    void Command1_Click();
    void Command2_Click();
    void Image1_Click();
    void List1_DblClick();
    void Form_DropFiles(HDROP drop);
    void Form_Unload();

  protected:
    LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

  private:
    static constexpr UINT_PTR kCompileTimerId = 2;  // clear of the skin's fade timer id on the buttons

    bool CreateControls();
    void Paint();
    void OnClose();
    void OnDestroy();
    bool OnSetCursor(WPARAM wparam, LPARAM lparam);
    void CheckCompilers();
    // Shows a chosen or dropped folder in File1.
    void TakeFolder(const std::string& folder);
    void ShowProgress();
    void EndProgress();
    bool StopRequested() const { return close_requested_ && !book_in_progress_; }

    const FormResources& resources_;
    Form1Options options_;
    std::array<HWND, static_cast<int>(Form1Window::Count)> controls_{};
    std::array<std::wstring, static_cast<int>(Form1Label::Count)> labels_;
    FileListBox file1_;
    FileListBox file2_;
    ResultListBox list1_;
    std::unique_ptr<Form2> form2_;
    CompileQueue compiles_;            // the compiles of every run, at most one per processor at once
    std::vector<BookReport> reports_;  // the latest run's, one per result line
    std::wstring run_status_;          // Label1 as the run set it, without the progress
    RunProgress progress_;
    YieldPacer pacer_;
    std::unique_ptr<TaskbarProgress> taskbar_;
    bool taskbar_asked_ = false;
    bool running_ = false;
    bool book_in_progress_ = false;  // a source file is being converted and has no result yet
    bool close_requested_ = false;
    bool image1_pressed_ = false;
    HWND last_focus_ = nullptr;  // the control that had the focus when the window was deactivated
};

// The text of Label10 for a given number of listed files.
std::wstring LoadedCountText(int count);
// The program's message loop, for the main window; returns the WM_QUIT exit code.
int RunMessageLoop(Form1& form);
