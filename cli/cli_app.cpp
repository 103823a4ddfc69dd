#include "cli/cli_app.h"

#include "builder/compile_book.h"
#include "builder/convert_run.h"
#include "builder/folder_file_list.h"
#include "builder/platform.h"
#include "builder/run_texts.h"

namespace {

constexpr char kUsage[] = "usage: folvane-cli [--compiler PATH] FOLDER";

// Prints every line as the run writes it and keeps them for the final report.
class PrintingResultList : public ResultList {
  public:
    explicit PrintingResultList(CliOutput& out) : out_(out) {}
    void SetEntry(int index, const std::string& line) override {
        if (index < 0 || index > ListCount())
            return;
        if (index == ListCount())
            lines_.push_back(line);
        else
            lines_[static_cast<size_t>(index)] = line;
        if (printing_)
            out_.Out(line);
    }
    int ListCount() const override { return static_cast<int>(lines_.size()); }
    // A later change of a line (a compile ended); the final lines are printed at the end.
    void Replace(int index, const std::string& line) { lines_[static_cast<size_t>(index)] = line; }
    const std::vector<std::string>& lines() const { return lines_; }
    void StopPrinting() { printing_ = false; }

  private:
    CliOutput& out_;
    std::vector<std::string> lines_;
    bool printing_ = true;
};

class CliControls : public RunControls {
  public:
    CliControls(CliOutput& out, CompileQueue& queue) : out_(out), queue_(queue), list1_(out) {}
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
    void OnBookReport(const BookReport& report) override { Apply(report); }
    // Keeps the latest report of every line; the final report is printed from them.
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

    PrintingResultList& results() { return list1_; }
    const std::string& status() const { return status_; }
    const std::string& count() const { return count_; }
    bool message_shown() const { return message_shown_; }

  private:
    CliOutput& out_;
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
};

bool ParseArgs(const std::vector<std::string>& args, CliArgs& parsed, std::string& error) {
    bool have_folder = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--compiler") {
            if (i + 1 >= args.size() || args[i + 1].empty()) {
                error = "--compiler needs a path";
                return false;
            }
            parsed.compiler = args[++i];
        } else if (a.rfind("--compiler=", 0) == 0) {
            parsed.compiler = a.substr(11);
            if (parsed.compiler.empty()) {
                error = "--compiler needs a path";
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

std::string JoinPlaces(const std::vector<std::string>& places) {
    std::string text;
    for (const std::string& p : places) {
        if (!text.empty())
            text += "; ";
        text += p;
    }
    return text;
}

}  // namespace

int RunFolvaneCli(const std::vector<std::string>& args, CliOutput& out) {
    CliArgs parsed;
    std::string error;
    if (!ParseArgs(args, parsed, error)) {
        out.Err("folvane-cli: " + error);
        out.Err(kUsage);
        return kCliUsage;
    }
    std::vector<platform::FolderEntry> entries;
    platform::FileInfo folder = platform::GetFileInfo(parsed.folder);
    if (!folder.exists || !folder.is_folder || !platform::ListFolder(parsed.folder, entries)) {
        out.Err("folvane-cli: cannot read the folder " + parsed.folder);
        return kCliUsage;
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
    ConvertAndGenerate(controls, queue, options);
    out.Out(controls.status());
    if (!controls.count().empty())
        out.Out(controls.count());

    controls.results().StopPrinting();
    for (const BookReport& report : queue.WaitAll())
        controls.Apply(report);
    if (controls.compiles_queued()) {
        for (const std::string& line : controls.results().lines())
            out.Out(line);
    }

    bool failed = controls.message_shown();
    for (const BookReport& report : controls.reports()) {
        if (report.outcome != BookOutcome::kFailed)
            continue;
        failed = true;
        out.Err(report.source + ": " + report.reason);
    }
    if (failed) {
        CompilerChoice choice = FindCompiler(parsed.compiler, DefaultCompilerSearch());
        platform::FileInfo compiler = platform::GetFileInfo(choice.path);
        if (choice.path.empty())
            out.Err("folvane-cli: no help compiler found; looked for " + JoinPlaces(choice.looked_at) +
                    " (use --compiler PATH)");
        else if (!compiler.exists || compiler.is_folder)
            out.Err("folvane-cli: the help compiler " + choice.path + " does not exist");
    }
    return failed ? kCliBookFailed : kCliOk;
}
