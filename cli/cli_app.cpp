#include "cli/cli_app.h"

#include <cstdio>

#include "builder/compile_book.h"
#include "builder/convert_run.h"
#include "builder/folder_file_list.h"
#include "builder/platform.h"
#include "builder/unicode_text.h"

namespace {

constexpr char kUsage[] = "usage: folvane-cli [--compiler PATH|builtin] [--compile-timeout SECONDS] FOLDER";

// Every line goes out through PrintableText: names come from the file system and may hold
// anything.
class SafeOutput {
  public:
    explicit SafeOutput(CliOutput& out) : out_(out) {}
    void Out(const std::string& line) { out_.Out(PrintableText(line)); }
    void Err(const std::string& line) { out_.Err(PrintableText(line)); }
    bool ErrIsTerminal() const { return out_.ErrIsTerminal(); }
    bool OutLost() const { return out_.OutLost(); }

  private:
    CliOutput& out_;
};

// Prints every line as the run writes it and keeps them for the final report.
class PrintingResultList : public ResultList {
  public:
    explicit PrintingResultList(SafeOutput& out) : out_(out) {}
    void SetEntry(int index, const std::string& line) override {
        if (index < 0 || index > ListCount())
            return;
        if (index == ListCount())
            lines_.push_back(line);
        else
            lines_[static_cast<size_t>(index)] = line;
        out_.Out(line);
    }
    int ListCount() const override { return static_cast<int>(lines_.size()); }
    // A later change of a line (a compile ended); the final lines are printed at the end.
    void Replace(int index, const std::string& line) { lines_[static_cast<size_t>(index)] = line; }
    const std::vector<std::string>& lines() const { return lines_; }

  private:
    SafeOutput& out_;
    std::vector<std::string> lines_;
};

class CliControls : public RunControls {
  public:
    CliControls(SafeOutput& out, CompileQueue& queue) : out_(out), queue_(queue), list1_(out) {}
    FileList& File1() override { return file1_; }
    FileList& File2() override { return file2_; }
    ResultList& List1() override { return list1_; }
    void SetStatusText(const std::string& text) override { status_ = text; }
    void SetCountText(const std::string& text) override { count_ = text; }
    std::string PageHead() override { return ""; }
    std::string PageTail() override { return ""; }
    void ShowMessage(const std::string& text, const std::string& title) override {
        out_.Err(title + " " + text);
        message_shown_ = true;
    }
    // Compiles that end during the run make room for waiting ones.
    bool Yield() override {
        for (const BookReport& report : queue_.Poll())
            Apply(report);
        return true;
    }
    void OnSourceFile(int index, int count, const std::string& name) override {
        if (!out_.ErrIsTerminal())
            return;
        std::string line = "[";
        line += std::to_string(index + 1);
        line += '/';
        line += std::to_string(count);
        line += "] ";
        line += name;
        out_.Err(line);
    }
    void OnBookReport(const BookReport& report) override {
        if (report.outcome == BookOutcome::kNoBook) {
            out_.Err(report.source + ": " + report.reason);
            return;
        }
        if (!report.encoding.empty()) {
            std::string note = report.source + ": " + report.encoding;
            if (EndsWithIgnoringAsciiCase(report.source, ".txt"))
                note += ", " + std::to_string(report.chapters) + " chapters";
            out_.Err(note);
        }
        Apply(report);
    }
    // Keeps the latest report of every line.
    void Apply(const BookReport& report) {
        if (report.index < 0)
            return;
        if (static_cast<size_t>(report.index) >= reports_.size())
            reports_.resize(static_cast<size_t>(report.index) + 1);
        reports_[static_cast<size_t>(report.index)] = report;
        compiles_queued_ = compiles_queued_ || report.outcome == BookOutcome::kStarted;
        if (report.index < list1_.ListCount())
            list1_.Replace(report.index, report.line);
    }

    const std::vector<BookReport>& reports() const { return reports_; }
    // Whether the run handed a compile over; the final lines are worth printing then.
    bool compiles_queued() const { return compiles_queued_; }
    PrintingResultList& results() { return list1_; }
    const std::string& status() const { return status_; }
    const std::string& count() const { return count_; }
    bool message_shown() const { return message_shown_; }

  private:
    SafeOutput& out_;
    CompileQueue& queue_;
    std::vector<BookReport> reports_;
    bool compiles_queued_ = false;
    FolderFileList file1_;
    FolderFileList file2_;
    PrintingResultList list1_;
    std::string status_;
    std::string count_;
    bool message_shown_ = false;
};

struct CliArgs {
    std::string compiler;
    std::string folder;
    int64_t timeout_ms = RunOptions().compile_timeout_ms;
};

bool ParseSeconds(const std::string& text, int64_t& ms) {
    if (text.empty() || text.size() > 9)
        return false;
    int64_t seconds = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
        seconds = seconds * 10 + (c - '0');
    }
    ms = seconds * 1000;
    return seconds > 0;
}

bool ParseArgs(const std::vector<std::string>& args, CliArgs& parsed, std::string& error) {
    bool have_folder = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](const std::string& option, std::string& out) {
            if (a == option) {
                if (i + 1 >= args.size() || args[i + 1].empty())
                    return false;
                out = args[++i];
                return true;
            }
            out = a.substr(option.size() + 1);
            return !out.empty();
        };
        std::string text;
        if (a == "--compiler" || a.rfind("--compiler=", 0) == 0) {
            if (!value("--compiler", parsed.compiler)) {
                error = "--compiler needs a path";
                return false;
            }
        } else if (a == "--compile-timeout" || a.rfind("--compile-timeout=", 0) == 0) {
            if (!value("--compile-timeout", text) || !ParseSeconds(text, parsed.timeout_ms)) {
                error = "--compile-timeout needs a number of seconds";
                return false;
            }
        } else if (a.size() > 1 && a[0] == '-' && a != "--") {
            error = "unknown option " + a;
            return false;
        } else {
            if (a == "--") {
                if (i + 1 >= args.size())
                    break;
                ++i;
            }
            if (have_folder) {
                error = "only one FOLDER is allowed";
                return false;
            }
            parsed.folder = args[i];
            have_folder = true;
        }
    }
    if (!have_folder || parsed.folder.empty()) {
        error = "FOLDER is missing";
        return false;
    }
    return true;
}

bool HasSeparator(const std::string& path) {
    return path.find('/') != std::string::npos || path.find('\\') != std::string::npos;
}

// An explicit compiler made absolute: the compiler runs in each book's folder, where a path
// relative to ours would not lead to it. A bare name is looked for on PATH as a shell would.
std::string ResolveCompiler(const std::string& compiler) {
    if (compiler == kBuiltinCompiler)
        return compiler;
    if (!HasSeparator(compiler) && !platform::GetFileInfo(compiler).exists) {
        const std::string suffix = platform::PathSeparator() == '\\' ? ".exe" : "";
        for (const std::string& folder : platform::PathFolders()) {
            for (const std::string& name : {compiler, compiler + suffix}) {
                const std::string candidate = platform::JoinPath(folder, name);
                if (platform::IsExecutable(candidate))
                    return platform::AbsolutePath(candidate);
            }
        }
    }
    return platform::AbsolutePath(compiler);
}

// Why an explicit compiler cannot be started, or "".
std::string CompilerProblem(const std::string& compiler) {
    if (compiler == kBuiltinCompiler)
        return "";
    const platform::FileInfo info = platform::GetFileInfo(compiler);
    if (!info.exists)
        return "the help compiler " + compiler + " does not exist";
    if (info.is_folder)
        return "the help compiler " + compiler + " is a folder, not a program";
    if (!platform::IsExecutable(compiler))
        return "the help compiler " + compiler + " is not executable (chmod +x " + compiler + ")";
    return "";
}

}  // namespace

std::string PrintableText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t pos = 0; pos < text.size();) {
        size_t length = 0;
        const char32_t c = NextCodePoint(text, pos, &length);
        if (c < 0x20 || c == 0x7F || (c >= 0x80 && c < 0xA0)) {
            static const char kHex[] = "0123456789ABCDEF";
            switch (c) {
                case '\n':
                    out += "\\n";
                    break;
                case '\r':
                    out += "\\r";
                    break;
                case '\t':
                    out += "\\t";
                    break;
                default:
                    out += "\\x";
                    out += kHex[(c >> 4) & 15];
                    out += kHex[c & 15];
            }
        } else {
            AppendUtf8(out, c);
        }
        pos += length;
    }
    return out;
}

int RunFolvaneCli(const std::vector<std::string>& args, CliOutput& raw_out) {
    SafeOutput out(raw_out);
    CliArgs parsed;
    std::string error;
    if (!ParseArgs(args, parsed, error)) {
        out.Err("folvane-cli: " + error);
        out.Err(kUsage);
        return kCliUsage;
    }
    // The run hands the folder to compilers that start elsewhere: everything absolute.
    parsed.folder = platform::AbsolutePath(parsed.folder);
    std::vector<platform::FolderEntry> entries;
    platform::FileInfo folder = platform::GetFileInfo(parsed.folder);
    if (!folder.exists || !folder.is_folder || !platform::ListFolder(parsed.folder, entries)) {
        out.Err("folvane-cli: cannot read the folder " + parsed.folder);
        return kCliUsage;
    }
    if (!parsed.compiler.empty()) {
        parsed.compiler = ResolveCompiler(parsed.compiler);
        const std::string problem = CompilerProblem(parsed.compiler);
        if (!problem.empty()) {
            out.Err("folvane-cli: " + problem);
            return kCliUsage;
        }
    }

    CompileQueue queue;
    CliControls controls(out, queue);
    controls.File1().SetPath(parsed.folder);
    if (controls.File1().ListCount() == 0) {
        out.Err("folvane-cli: no .txt, .htm or .html file in " + parsed.folder);
        return kCliOk;
    }
    RunOptions options;
    options.compiler = parsed.compiler;
    options.compile_timeout_ms = parsed.timeout_ms;
    ConvertAndGenerate(controls, queue, options);
    out.Out(controls.status());
    if (!controls.count().empty())
        out.Out(controls.count());

    for (const BookReport& report : queue.WaitAll())
        controls.Apply(report);
    if (controls.compiles_queued()) {
        for (const std::string& line : controls.results().lines())
            out.Out(line);
    }

    // The exit status comes from the results, not from the text of the lines.
    bool failed = controls.message_shown();
    for (const BookReport& report : controls.reports()) {
        if (report.outcome != BookOutcome::kFailed)
            continue;
        failed = true;
        out.Err(report.source + ": " + report.reason);
    }
    if (out.OutLost())
        return kCliOutputLost;
    return failed ? kCliBookFailed : kCliOk;
}
