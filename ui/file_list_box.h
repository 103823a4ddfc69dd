// The file lists of the main window: list boxes bound to a folder and the pattern
// "*.htm;*.txt", filled by the builder's listing rules.
#pragma once

#include "ui/win32.h"

#include <string>
#include <vector>

#include "builder/run_controls.h"

class FileListBox final : public FileList {
  public:
    FileListBox() = default;
    // The list box that shows the entries; null detaches it (the entries stay readable).
    void Attach(HWND listbox) { listbox_ = listbox; }

    std::string Path() const override { return path_; }
    void SetPath(const std::string& folder) override { path_ = folder; }
    void Refresh() override;
    int ListCount() const override { return static_cast<int>(names_.size()); }
    std::string List(int index) const override;

  private:
    HWND listbox_ = nullptr;
    std::string path_;
    std::vector<std::string> names_;
};

// A fixed copy of a file list: the run reads the source list as it was when the run began,
// even if the user chooses another folder while it runs.
class FrozenFileList final : public FileList {
  public:
    explicit FrozenFileList(const FileList& source);
    std::string Path() const override { return path_; }
    void SetPath(const std::string& folder) override { path_ = folder; }
    void Refresh() override;
    int ListCount() const override { return static_cast<int>(names_.size()); }
    std::string List(int index) const override;

  private:
    std::string path_;
    std::vector<std::string> names_;
};

// The result list List1 over its list box. A new line is scrolled into view; a changed line
// keeps the view and the selection where they were.
class ResultListBox final : public ResultList {
  public:
    void Attach(HWND listbox) { listbox_ = listbox; }
    void SetEntry(int index, const std::string& line) override;
    void Clear();
    int ListCount() const override;
    // Entry index, or "" when out of range.
    std::string Entry(int index) const;

  private:
    void ScrollToLast();
    HWND listbox_ = nullptr;
};
