// Finding the help compiler, starting it on a book's project, and judging what it wrote.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "builder/convert_run.h"
#include "builder/platform.h"

// Where the compiler is looked for, in this order: hhc.exe in the program folder, hhc.exe in
// "HTML Help Workshop" under each Program Files folder, then hhc and chmcmd on PATH.
struct CompilerSearch {
    std::string program_folder;
    std::vector<std::string> program_files_folders;
    std::vector<std::string> path_folders;
    std::string executable_suffix;  // ".exe" on Windows
};
CompilerSearch DefaultCompilerSearch();

struct CompilerChoice {
    std::string path;                    // empty when none was found
    std::vector<std::string> looked_at;  // the places tried, for a hint to the user
};
// An explicit compiler (folvane-cli --compiler) is taken as it is, found or not.
CompilerChoice FindCompiler(const std::string& explicit_compiler, const CompilerSearch& search);

// Starts the compiler on output_folder's project, in output_folder, without waiting. Returns
// base name + "_成功" when it started (the watcher then judges the book later) or "_失败".
std::string CompileBook(const std::string& base_name,
                        const std::string& output_folder,
                        const std::string& compiler,
                        CompileWatcher& watcher,
                        int result_index);

struct CompileWatcher::Impl {
    struct Entry {
        int index = 0;
        std::string failed_line;
        std::string book_path;
        int64_t project_mtime_ns = 0;
        std::unique_ptr<platform::Process> process;
        int64_t started_ms = 0;
        platform::FileInfo last_seen;
        int64_t last_change_ms = 0;
        bool judged = false;
    };
    // Without a process handle (a native program started from Wine) the book is judged by the
    // file alone: written once it has held still for a second, failed after this long.
    int64_t unwatchable_timeout_ms = 120000;
    std::vector<Entry> entries;

    // A new run writes its lines from entry 0 again; earlier compilers must not touch them.
    void BeginRun() { entries.clear(); }
    void Add(int index,
             const std::string& base_name,
             const std::string& book_path,
             int64_t project_mtime_ns,
             std::unique_ptr<platform::Process> process);
};
