// The run's view of the main window: the real list boxes and labels of Form1, with the
// source list frozen at the start of the run.
#pragma once

#include "builder/run_controls.h"
#include "ui/file_list_box.h"

class Form1;

class Form1RunControls final : public RunControls {
  public:
    explicit Form1RunControls(Form1& form);

    FileList& File1() override { return source_; }
    FileList& File2() override;
    ResultList& List1() override;
    void SetStatusText(const std::string& text) override;
    void SetCountText(const std::string& text) override;
    std::string PageHead() override;
    std::string PageTail() override;
    void ShowMessage(const std::string& text, const std::string& title) override;
    bool Yield() override;
    void OnSourceFile(int index, int count, const std::string& name) override;
    void OnFileProgress(int percent) override;
    void OnBookReport(const BookReport& report) override;

  private:
    Form1& form_;
    FrozenFileList source_;
};
