// Finding the help compiler, queueing a book's compile, and judging what it wrote.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "builder/convert_run.h"
#include "builder/platform.h"

// Where hhc.exe is looked for on Windows, in this order: the program folder, "HTML Help
// Workshop" under each Program Files folder, then PATH. Where there is none, and on other
// systems, Folvane's own compiler makes the books.
struct CompilerSearch {
    bool look_for_hhc = false;  // Windows
    std::string program_folder;
    std::vector<std::string> program_files_folders;
    std::vector<std::string> path_folders;
};
CompilerSearch DefaultCompilerSearch();

struct CompilerChoice {
    std::string path;                    // a program, or kBuiltinCompiler
    std::vector<std::string> looked_at;  // the places hhc.exe was looked for in vain
};
// An explicit compiler (folvane-cli --compiler) is taken as it is.
CompilerChoice FindCompiler(const std::string& explicit_compiler, const CompilerSearch& search);

// hhc.exe reports success with exit code 1 and failure with 0; other compilers the other way.
bool IsHhcCompiler(const std::string& compiler);

// A compile in progress: a started program, or Folvane's own compiler at work.
class CompileTask {
  public:
    virtual ~CompileTask() = default;
    // Non-blocking.
    virtual bool HasEnded() = 0;
    // Ends the compile as soon as possible; HasEnded() turns true soon after.
    virtual void Stop() = 0;
    // Once ended: "" when the compiler itself reports success, else why not (for people).
    virtual std::string Failure() = 0;
    // False for a program whose end cannot be seen (a native program started from Wine): the
    // book alone tells when it is done.
    virtual bool Watchable() const { return true; }
    // A number that grows while the compile gets on (bytes read, say); a compile past its time
    // limit is ended only when neither it nor its book has grown for a while.
    virtual uint64_t Progress() { return 0; }
};

// Something a book holds while its compile waits or runs (its folder's marker), told how the
// compile ended.
class CompileHold {
  public:
    virtual ~CompileHold() = default;
    virtual void CompileEnded(bool compiled) = 0;
};

struct CompileRequest {
    BookReport report;     // as the run wrote it; the queue turns it "_失败" when the compile fails
    std::string compiler;  // a program's path, or kBuiltinCompiler
    std::string folder;    // the book folder, holding the project
    // The file the compiler writes; when it differs from report.book (a stand-in name the
    // compiler could not be given the real name instead of), it is renamed to that afterwards.
    std::string produced;
    int64_t timeout_ms = 10 * 60 * 1000;
    std::unique_ptr<CompileHold> hold;
};

// Adds a compile to the queue; it starts at once when there is room. Returns the report the run
// shows now: the request's own, or its failure when the compiler could not even be started.
BookReport QueueCompile(CompileQueue& queue, CompileRequest request);

// Starts an external compiler on the project in `folder`, in that folder. Null with `failure`
// set when it could not be started.
std::unique_ptr<CompileTask> StartProgramCompile(const std::string& compiler,
                                                 const std::string& folder,
                                                 std::string& failure);
