// The Convert & Generate run: every source file of File1 becomes a compiled help book.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "builder/run_controls.h"

// A result line that changed after the run wrote it: the compiler of that book ended
// without writing the book, so entry `index` of the result list now reads `line`.
struct CompileOutcome {
    int index = 0;
    std::string line;
};

// Keeps every compiler the run started and tells which of them failed to write their book.
class CompileWatcher {
  public:
    CompileWatcher();
    ~CompileWatcher();
    CompileWatcher(const CompileWatcher&) = delete;
    CompileWatcher& operator=(const CompileWatcher&) = delete;

    // Checks the compilers without blocking; each failure is reported once.
    std::vector<CompileOutcome> Poll();
    // True while a started compiler has not been judged yet.
    bool HasPending() const;
    // Blocks until every compiler has ended (folvane-cli), then reports as Poll does.
    std::vector<CompileOutcome> WaitAll();

    struct Impl;
    Impl& impl() { return *impl_; }

  private:
    std::unique_ptr<Impl> impl_;
};

struct RunOptions {
    // The compiler to start; empty: hhc.exe in the program folder, then the HTML Help
    // Workshop folder, then hhc and chmcmd on PATH.
    std::string compiler;
};

// Runs the conversion over controls.File1(). Returns false when controls.Yield() asked the
// run to stop early.
bool ConvertAndGenerate(RunControls& controls, CompileWatcher& watcher, const RunOptions& options = {});
