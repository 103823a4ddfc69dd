// What the Convert & Generate run reads and writes of its front-end: the main window's
// controls in the program, plain stand-ins in folvane-cli and in tests.
// All text is UTF-8.
#pragma once

#include <string>
#include <vector>

// <windows.h> defines Yield() as an empty macro, which would swallow RunControls::Yield.
#ifdef Yield
#undef Yield
#endif

// A file list bound to a folder and the pattern "*.htm;*.txt": normal files whose names end in
// .txt, .htm or .html (any letter case), sorted by name ignoring letter case.
class FileList {
  public:
    virtual ~FileList() = default;
    virtual std::string Path() const = 0;
    virtual void SetPath(const std::string& folder) = 0;
    // Re-reads the folder. An empty path lists nothing.
    virtual void Refresh() = 0;
    virtual int ListCount() const = 0;
    // Entry i (a name without folder), or "" when i is out of range.
    virtual std::string List(int index) const = 0;
};

// What became of one source file of a run.
enum class BookOutcome {
    kNoBook,   // the source is empty: no book and no result line
    kStarted,  // "_成功": the book's project is complete and its compile queued, running or done
    kExists,   // "_目录已存在！": a book of that name exists; the source was skipped
    kFailed,   // "_失败": no book; `reason` says why
};

// One source file's result, for the front-end: the result line and what lies behind it.
struct BookReport {
    int run = 0;     // the run that made it (CompileQueue::BeginRun), so a later run can ignore it
    int index = -1;  // entry of the result list; -1 for kNoBook
    BookOutcome outcome = BookOutcome::kNoBook;
    std::string line;       // the result line as the list shows it
    std::string source;     // the source file's name
    std::string reason;     // why the book failed or was not made, for people; empty otherwise
    std::string encoding;   // how the source was read, e.g. "utf-8 (no BOM)"; empty when it was not read
    int chapters = 0;       // chapter headings found in a .txt source
    std::string folder;     // the book's folder
    std::string book;       // the book file (.chm)
    bool compiled = false;  // the compile has ended and the book is there
};

// The result list: entry k holds the line of the k-th book of the run.
class ResultList {
  public:
    virtual ~ResultList() = default;
    // Replaces entry index, or appends when index == ListCount().
    virtual void SetEntry(int index, const std::string& line) = 0;
    virtual int ListCount() const = 0;
};

class RunControls {
  public:
    virtual ~RunControls() = default;
    virtual FileList& File1() = 0;                            // source list; the run never refreshes it
    virtual FileList& File2() = 0;                            // output list, pointed at each output folder in turn
    virtual ResultList& List1() = 0;                          // result lines
    virtual void SetStatusText(const std::string& text) = 0;  // Label1
    virtual void SetCountText(const std::string& text) = 0;   // Label11
    virtual std::string PageHead() = 0;                       // Label2, read afresh for every page
    virtual std::string PageTail() = 0;                       // Label3
    // Modal message with an OK button only; returns when the user has closed it.
    virtual void ShowMessage(const std::string& text, const std::string& title) = 0;
    // Lets the front-end process its messages. Returns false when the run must stop
    // (the main window is closing); the run then returns at once, keeping what it wrote.
    virtual bool Yield() = 0;
    // Progress for the front-end, called before each source file (index of n).
    virtual void OnSourceFile(int index, int count, const std::string& name) {}
    // How far the current source file is, 0 to 100; called as its pages are written.
    virtual void OnFileProgress(int percent) {}
    // Every result the run makes, right after it sets the line (and for a source that gives no
    // line). Later changes, when a compile ends, come from CompileQueue::Poll.
    virtual void OnBookReport(const BookReport& report) {}
};

// Lists a folder as a FileList does: matching normal files, sorted by name ignoring case.
std::vector<std::string> ListSourceFolder(const std::string& folder);
