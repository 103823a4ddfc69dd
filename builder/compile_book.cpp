#include "builder/compile_book.h"

#include "builder/project_files.h"
#include "builder/unicode_text.h"

namespace {

constexpr char kWorkshopFolder[] = "HTML Help Workshop";
constexpr char kCompilerFileName[] = "hhc.exe";
constexpr int kStartRetries = 2;
constexpr int kStartRetryMs = 20;

bool IsFile(const std::string& path) {
    platform::FileInfo info = platform::GetFileInfo(path);
    return info.exists && !info.is_folder;
}

std::string FileNameOf(const std::string& path) {
    size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

class ProgramCompile : public CompileTask {
  public:
    ProgramCompile(std::unique_ptr<platform::Process> process, std::string compiler)
        : process_(std::move(process)), compiler_(std::move(compiler)) {}
    bool HasEnded() override { return process_->HasEnded(); }
    void Stop() override { process_->Kill(); }
    bool Watchable() const override { return process_->watchable(); }
    std::string Failure() override {
        if (!process_->watchable())
            return "";
        const platform::ProcessExit exit = process_->Exit();
        const std::string name = FileNameOf(compiler_);
        if (exit.crashed)
            return "编译器 " + name + " 异常结束（" + exit.description + "）";
        const int64_t success = IsHhcCompiler(compiler_) ? 1 : 0;
        if (exit.code != success)
            return "编译器 " + name + " 报告失败（" + exit.description + "）";
        return "";
    }

  private:
    std::unique_ptr<platform::Process> process_;
    std::string compiler_;
};

}  // namespace

CompilerSearch DefaultCompilerSearch() {
    CompilerSearch search;
    search.look_for_hhc = platform::PathSeparator() == '\\';
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
    return search;
}

CompilerChoice FindCompiler(const std::string& explicit_compiler, const CompilerSearch& search) {
    CompilerChoice choice;
    if (!explicit_compiler.empty()) {
        choice.path = explicit_compiler;
        return choice;
    }
    choice.path = kBuiltinCompiler;
    if (!search.look_for_hhc)
        return choice;
    std::vector<std::string> candidates;
    candidates.push_back(platform::JoinPath(search.program_folder, kCompilerFileName));
    for (const std::string& folder : search.program_files_folders)
        candidates.push_back(platform::JoinPath(platform::JoinPath(folder, kWorkshopFolder), kCompilerFileName));
    for (const std::string& folder : search.path_folders)
        candidates.push_back(platform::JoinPath(folder, kCompilerFileName));
    for (const std::string& candidate : candidates) {
        if (IsFile(candidate)) {
            choice.path = candidate;
            return choice;
        }
    }
    choice.looked_at = std::move(candidates);
    return choice;
}

bool IsHhcCompiler(const std::string& compiler) {
    const std::string name = AsciiLower(FileNameOf(compiler));
    return name == "hhc.exe" || name == "hhc";
}

std::unique_ptr<CompileTask> StartProgramCompile(const std::string& compiler,
                                                 const std::string& folder,
                                                 std::string& failure) {
    const std::string project = platform::JoinPath(folder, kProjectFileName);
    // Some compilers (chmcmd) write the book relative to their working folder.
    std::unique_ptr<platform::Process> process = platform::StartProcess(compiler, {project}, folder);
    // A start can fail for a moment (a scanner holding the program, a busy system): try again,
    // briefly (this is the window's thread), before giving the book up. A missing program will
    // not appear meanwhile.
    for (int retry = 0; retry < kStartRetries && !process->started() && IsFile(compiler); ++retry) {
        platform::SleepMs(kStartRetryMs);
        process = platform::StartProcess(compiler, {project}, folder);
    }
    if (!process->started()) {
        failure = "无法启动编译器 " + compiler + "：" + platform::LastErrorText();
        return nullptr;
    }
    return std::make_unique<ProgramCompile>(std::move(process), compiler);
}
