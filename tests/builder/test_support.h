// Stand-ins for the main window's controls and a temporary folder, shared by the builder and
// folvane-cli tests.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "builder/folder_file_list.h"
#include "builder/run_controls.h"

class RecordingResultList : public ResultList {
  public:
    void SetEntry(int index, const std::string& line) override;
    int ListCount() const override { return static_cast<int>(lines.size()); }
    std::vector<std::string> lines;
};

class TestControls : public RunControls {
  public:
    FileList& File1() override { return file1; }
    FileList& File2() override { return file2_override ? *file2_override : file2; }
    ResultList& List1() override { return list1; }
    void SetStatusText(const std::string& text) override { status = text; }
    void SetCountText(const std::string& text) override { count = text; }
    std::string PageHead() override { return head; }
    std::string PageTail() override { return tail; }
    void ShowMessage(const std::string& text, const std::string& title) override {
        messages.push_back(title + "|" + text);
    }
    // Counts the yields; answers false from yield number stop_at_yield on (0: never).
    bool Yield() override {
        ++yields;
        return stop_at_yield == 0 || yields < stop_at_yield;
    }
    void OnFileProgress(int percent) override { progress.push_back(percent); }
    void OnBookReport(const BookReport& report) override { reports.push_back(report); }

    FolderFileList file1;
    FolderFileList file2;
    FileList* file2_override = nullptr;
    RecordingResultList list1;
    std::string status;
    std::string count;
    std::string head;
    std::string tail;
    std::vector<std::string> messages;
    long yields = 0;
    long stop_at_yield = 0;
    std::vector<int> progress;
    std::vector<BookReport> reports;
};

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempFolder {
  public:
    // Under `parent`, or the system's temporary folder when it is empty.
    explicit TempFolder(const std::string& parent = "");
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& path() const { return path_; }
    std::string Join(const std::string& name) const;

  private:
    std::string path_;
};

// File helpers for tests (UTF-8 names).
void WriteTestFile(const std::string& path, const std::string& bytes);
std::string ReadTestFile(const std::string& path);
bool TestFileExists(const std::string& path);
// Every file under `folder` (relative name -> bytes), for before/after comparisons.
std::vector<std::pair<std::string, std::string>> SnapshotTree(const std::string& folder);
// Sets an environment variable for as long as it lives (the stand-in compilers read theirs).
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const std::string& value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

  private:
    const char* name_;
};

// The stand-in help compilers built beside the test programs.
std::string FakeCompilerPath(const std::string& kind);  // "writes" or "silent"
// Text in code page 936 from UTF-8 written in the test source.
std::string Gbk(const std::string& utf8);

// Reads lines that end at CR LF, at CR or at a bare LF, as a reader of the pages would. A line
// end at the very end of the text does not start another line.
class LineReader {
  public:
    explicit LineReader(std::string_view text) : text_(text), next_cr_(Find('\r')), next_lf_(Find('\n')) {}
    bool Next(std::string_view& line);

  private:
    size_t Find(char c) const;

    std::string_view text_;
    size_t pos_ = 0;
    size_t next_cr_;
    size_t next_lf_;
};
