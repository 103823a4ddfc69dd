// The main window: two buttons, the source and output file lists, the result list, the
// windowless labels and the help picture. Its event procedures drive the folder chooser,
// the Convert & Generate run and the help window.
#pragma once

#include "ui/win32.h"

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

struct Form1Options {
    // Post WM_QUIT when the window is destroyed, which ends the program's message loop.
    bool quit_when_closed = true;
    // The folder chooser; BrowseForFolder unless replaced.
    std::function<std::string()> choose_folder;
    RunOptions run_options;
    // How often the compilers that a run started are checked, in milliseconds.
    UINT compile_check_interval = 500;
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

    // For the message loop: true when msg was a dialog key for this window and is handled.
    bool PreTranslateMessage(MSG& msg);
    // Lets the windows work during the run; false once the window is closing.
    bool YieldToMessages();
    // The run's modal message box over this window.
    void ShowRunMessage(const std::string& text, const std::string& title);

    // Event procedures.
    void Form_Load();
    void Command1_Click();
    void Command2_Click();
    void Image1_Click();
    void Form_Unload();

  protected:
    LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

  private:
    bool CreateControls();
    void Paint();
    void OnClose();
    void OnDestroy();
    bool OnSetCursor(WPARAM wparam, LPARAM lparam);
    void CheckCompilers();

    const FormResources& resources_;
    Form1Options options_;
    std::array<HWND, static_cast<int>(Form1Window::Count)> controls_{};
    std::array<std::wstring, static_cast<int>(Form1Label::Count)> labels_;
    FileListBox file1_;
    FileListBox file2_;
    ResultListBox list1_;
    std::unique_ptr<Form2> form2_;
    CompileQueue compiles_;  // the compiles of every run, at most one per processor at once
    bool running_ = false;
    bool close_requested_ = false;
    bool image1_pressed_ = false;
};

// The text of Label10 for a given number of listed files.
std::wstring LoadedCountText(int count);
// The program's message loop, for the main window; returns the WM_QUIT exit code.
int RunMessageLoop(Form1& form);
