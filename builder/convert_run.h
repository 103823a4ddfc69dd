// The Convert & Generate run: every source file of File1 becomes a compiled help book.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "builder/run_controls.h"

// The compiles that runs hand over. At most `max_running` run at once (0: one per processor);
// the others wait and start as earlier ones end. A run only adds to the queue and never waits
// for it; the front-end calls Poll now and then (folvane-cli at every yield, the window on a
// timer), and before the process ends it waits for the rest with WaitAll.
class CompileQueue {
  public:
    explicit CompileQueue(int max_running = 0);
    ~CompileQueue();
    CompileQueue(const CompileQueue&) = delete;
    CompileQueue& operator=(const CompileQueue&) = delete;

    // Starts waiting compiles where there is room, ends those that ran past their limit, and
    // returns the reports of the compiles that ended since the last call (each once).
    std::vector<BookReport> Poll();
    // True while a compile waits or runs.
    bool HasPending() const;
    // Blocks until every compile has ended, then reports as Poll does.
    std::vector<BookReport> WaitAll();
    int Running() const;
    int MaxRunning() const;
    // Numbers a new run (BookReport::run); the run calls it when it starts.
    int BeginRun();
    // The number of the latest run; 0 before the first.
    int LatestRun() const;

    struct Impl;
    Impl& impl() { return *impl_; }

  private:
    std::unique_ptr<Impl> impl_;
};

inline constexpr char kBuiltinCompiler[] = "builtin";

struct RunOptions {
    // The compiler: empty to look for one (hhc.exe in the program folder, then in the HTML Help
    // Workshop folder, then hhc and chmcmd on PATH), kBuiltinCompiler for Folvane's own, or
    // the path of a program.
    std::string compiler;
    // A compiler still running after this long, whose book has not grown for a while, is ended.
    int64_t compile_timeout_ms = 10 * 60 * 1000;
};

// Runs the conversion over controls.File1(). Returns false when controls.Yield() asked the
// run to stop early.
bool ConvertAndGenerate(RunControls& controls, CompileQueue& queue, const RunOptions& options = {});
