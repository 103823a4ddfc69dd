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
};

// Lists a folder as a FileList does: matching normal files, sorted by name ignoring case.
std::vector<std::string> ListSourceFolder(const std::string& folder);
