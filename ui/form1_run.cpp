// Form1 during and after a run: the Convert & Generate click, the pacing of the run's yields,
// the progress, the compiles and the result lines.
#include <exception>

#include "builder/run_texts.h"
#include "ui/form1.h"
#include "ui/form1_run_controls.h"
#include "ui/result_line_action.h"
#include "win/wide_text.h"

void Form1::Command2_Click() {
    // The run yields to the message loop, where a second click would start a second run
    // over the same controls.
    if (running_)
        return;
    if (file1_.ListCount() > 0) {
        // The list and the count show this run alone.
        list1_.Clear();
        reports_.clear();
        SetLabelCaption(Form1Label::Label11, L"");
    }
    running_ = true;
    pacer_ = YieldPacer();
    try {
        Form1RunControls controls(*this);
        ConvertAndGenerate(controls, compiles_, options_.run_options);
    } catch (const std::exception& error) {
        ShowRunMessage(error.what(), kNoPagesTitle);
    }
    running_ = false;
    book_in_progress_ = false;
    if (!window())
        return;
    EndProgress();
    CheckCompilers();
    if (close_requested_) {
        // Closed during the run: finish closing from the message loop, once every handler
        // that the click went through has returned.
        PostMessageW(window(), WM_CLOSE, 0, 0);
    }
}

bool Form1::YieldToMessages() {
    if (!window() || StopRequested())
        return false;
    // Looking into the queue is a call into the window system (a server round trip under
    // Wine); the run yields far more often than the window needs it.
    if (!pacer_.Due(GetTickCount64()))
        return true;
    const bool go_on = options_.pump_messages(window());
    return go_on && window() && !StopRequested();
}

void Form1::ShowRunMessage(const std::string& text, const std::string& title) {
    // A window that is closing is hidden already: a box now would stand alone on the screen.
    if (!window() || close_requested_)
        return;
    MessageBoxW(window(), WideFromUtf8(text).c_str(), WideFromUtf8(title).c_str(), MB_OK);
}

void Form1::SetRunStatus(const std::string& text) {
    run_status_ = WideFromUtf8(text);
    progress_ = RunProgress();
    SetLabelCaption(Form1Label::Label1, run_status_);
}

void Form1::OnSourceFile(int index, int count, const std::string& name) {
    book_in_progress_ = true;
    progress_.index = index;
    progress_.count = count;
    progress_.name = name;
    progress_.percent = -1;
    ShowProgress();
    pacer_.RequestPass();
}

void Form1::OnFileProgress(int percent) {
    if (!progress_.Active() || percent == progress_.percent)
        return;
    progress_.percent = percent;
    ShowProgress();
}

void Form1::OnBookReport(const BookReport& report) {
    book_in_progress_ = false;
    if (report.index < 0)
        return;
    if (static_cast<size_t>(report.index) >= reports_.size())
        reports_.resize(static_cast<size_t>(report.index) + 1);
    reports_[static_cast<size_t>(report.index)] = report;
}

void Form1::ShowProgress() {
    SetLabelCaption(Form1Label::Label1, StatusWithProgress(run_status_, progress_));
    if (!taskbar_asked_) {
        taskbar_asked_ = true;
        taskbar_ = options_.taskbar_progress(window());
    }
    if (taskbar_)
        taskbar_->Show(progress_.Done(), progress_.Total());
}

void Form1::EndProgress() {
    if (taskbar_)
        taskbar_->Clear();
    if (!progress_.Active())
        return;
    // A run that ended early (its message box, or the window closing) keeps its status text.
    progress_ = RunProgress();
    SetLabelCaption(Form1Label::Label1, run_status_);
}

bool Form1::CompilersPending() const {
    return compiles_.HasPending();
}

void Form1::FinishCompiles() {
    compiles_.WaitAll();
}

const BookReport* Form1::LineReport(int index) const {
    if (index < 0 || static_cast<size_t>(index) >= reports_.size() || reports_[index].index != index)
        return nullptr;
    return &reports_[index];
}

void Form1::CheckCompilers() {
    for (const BookReport& report : compiles_.Poll()) {
        // The list shows the lines of the latest run only.
        if (report.run != compiles_.LatestRun() || report.index < 0)
            continue;
        list1_.SetEntry(report.index, report.line);
        if (static_cast<size_t>(report.index) < reports_.size())
            reports_[report.index] = report;
    }
    if (!window())
        return;
    if (!compiles_.HasPending()) {
        KillTimer(window(), kCompileTimerId);
    } else {
        SetTimer(window(), kCompileTimerId, options_.compile_check_interval, nullptr);
    }
}

void Form1::List1_DblClick() {
    const LRESULT selected = SendMessageW(Control(Form1Window::List1), LB_GETCURSEL, 0, 0);
    const BookReport* report = selected == LB_ERR ? nullptr : LineReport(static_cast<int>(selected));
    if (!report)
        return;
    const LineChoice choice = ChooseLineAction(*report);
    switch (choice.action) {
        case LineAction::kNothing:
            break;
        case LineAction::kOpenBook:
        case LineAction::kOpenFolder:
            if (!options_.open_with_shell(window(), choice.path))
                ShowRunMessage("无法打开 " + choice.path, choice.title);
            break;
        case LineAction::kShowMessage:
            ShowRunMessage(choice.text, choice.title);
            break;
    }
}
