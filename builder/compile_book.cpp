#include "builder/compile_book.h"

#include "builder/project_files.h"

namespace {

constexpr char kWorkshopFolder[] = "HTML Help Workshop";
constexpr char kCompilerFileName[] = "hhc.exe";
// A book written by a process that cannot be watched counts once it has not changed for this long.
constexpr int64_t kSettleMs = 1000;

bool IsFile(const std::string& path) {
    platform::FileInfo info = platform::GetFileInfo(path);
    return info.exists && !info.is_folder;
}

// A book counts as written when it is there, not empty (some compilers leave an empty file on
// failure) and not older than the project it was compiled from.
bool BookWritten(const platform::FileInfo& book, int64_t project_mtime_ns) {
    return book.exists && !book.is_folder && book.size > 0 && book.mtime_ns >= project_mtime_ns;
}

}  // namespace

CompilerSearch DefaultCompilerSearch() {
    CompilerSearch search;
    search.program_folder = platform::ProgramFolder();
    for (const char* name : {"ProgramFiles(x86)", "ProgramFiles", "ProgramW6432"}) {
        std::string folder = platform::GetEnv(name);
        if (folder.empty())
            continue;
        bool seen = false;
        for (const std::string& f : search.program_files_folders)
            seen = seen || f == folder;
        if (!seen)
            search.program_files_folders.push_back(folder);
    }
    search.path_folders = platform::PathFolders();
    search.executable_suffix = platform::PathSeparator() == '\\' ? ".exe" : "";
    return search;
}

CompilerChoice FindCompiler(const std::string& explicit_compiler, const CompilerSearch& search) {
    CompilerChoice choice;
    if (!explicit_compiler.empty()) {
        choice.path = explicit_compiler;
        choice.looked_at.push_back(explicit_compiler);
        return choice;
    }
    std::vector<std::string> candidates;
    candidates.push_back(platform::JoinPath(search.program_folder, kCompilerFileName));
    for (const std::string& folder : search.program_files_folders)
        candidates.push_back(platform::JoinPath(platform::JoinPath(folder, kWorkshopFolder), kCompilerFileName));
    for (const char* name : {"hhc", "chmcmd"}) {
        for (const std::string& folder : search.path_folders)
            candidates.push_back(platform::JoinPath(folder, name + search.executable_suffix));
    }
    for (const std::string& candidate : candidates) {
        if (IsFile(candidate)) {
            choice.path = candidate;
            return choice;
        }
    }
    choice.looked_at.assign(candidates.begin(), candidates.begin() + 1 + search.program_files_folders.size());
    choice.looked_at.push_back("hhc" + search.executable_suffix + " and chmcmd" + search.executable_suffix +
                               " on PATH");
    return choice;
}

std::string CompileBook(const std::string& base_name,
                        const std::string& output_folder,
                        const std::string& compiler,
                        CompileWatcher& watcher,
                        int result_index) {
    const std::string failed = base_name + "_失败";
    if (compiler.empty())
        return failed;
    std::string project = platform::JoinPath(output_folder, kProjectFileName);
    int64_t project_mtime = platform::GetFileInfo(project).mtime_ns;
    // Some compilers (chmcmd) write the book relative to their working folder.
    std::unique_ptr<platform::Process> process = platform::StartProcess(compiler, {project}, output_folder);
    if (!process->started())
        return failed;
    std::string book = platform::JoinPath(output_folder, BookName(base_name) + ".chm");
    watcher.impl().Add(result_index, base_name, book, project_mtime, std::move(process));
    return base_name + "_成功";
}

void CompileWatcher::Impl::Add(int index,
                               const std::string& base_name,
                               const std::string& book_path,
                               int64_t project_mtime_ns,
                               std::unique_ptr<platform::Process> process) {
    Entry entry;
    entry.index = index;
    entry.failed_line = base_name + "_失败";
    entry.book_path = book_path;
    entry.project_mtime_ns = project_mtime_ns;
    entry.process = std::move(process);
    entry.started_ms = platform::MonotonicMs();
    entry.last_change_ms = entry.started_ms;
    entries.push_back(std::move(entry));
}

CompileWatcher::CompileWatcher() : impl_(std::make_unique<Impl>()) {}
CompileWatcher::~CompileWatcher() = default;

std::vector<CompileOutcome> CompileWatcher::Poll() {
    std::vector<CompileOutcome> failures;
    for (Impl::Entry& e : impl_->entries) {
        if (e.judged)
            continue;
        if (e.process->watchable()) {
            if (!e.process->HasEnded())
                continue;
            e.judged = true;
            if (!BookWritten(platform::GetFileInfo(e.book_path), e.project_mtime_ns))
                failures.push_back({e.index, e.failed_line});
            continue;
        }
        platform::FileInfo book = platform::GetFileInfo(e.book_path);
        int64_t now = platform::MonotonicMs();
        if (book.exists != e.last_seen.exists || book.size != e.last_seen.size ||
            book.mtime_ns != e.last_seen.mtime_ns) {
            e.last_seen = book;
            e.last_change_ms = now;
        }
        if (BookWritten(book, e.project_mtime_ns) && now - e.last_change_ms >= kSettleMs) {
            e.judged = true;
            continue;
        }
        if (now - e.started_ms > impl_->unwatchable_timeout_ms) {
            e.judged = true;
            failures.push_back({e.index, e.failed_line});
        }
    }
    return failures;
}

bool CompileWatcher::HasPending() const {
    for (const Impl::Entry& e : impl_->entries) {
        if (!e.judged)
            return true;
    }
    return false;
}

std::vector<CompileOutcome> CompileWatcher::WaitAll() {
    std::vector<CompileOutcome> failures;
    for (;;) {
        std::vector<CompileOutcome> some = Poll();
        failures.insert(failures.end(), some.begin(), some.end());
        if (!HasPending())
            return failures;
        platform::SleepMs(20);
    }
}
