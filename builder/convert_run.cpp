#include "builder/convert_run.h"

#include <new>
#include <stdexcept>

#include "builder/compile_book.h"
#include "builder/pages.h"
#include "builder/platform.h"
#include "builder/project_files.h"
#include "builder/run_texts.h"
#include "builder/source_split.h"
#include "builder/unicode_text.h"

namespace {

enum class BookResult {
    kLine,      // `line` holds the book's result line
    kExisting,  // `line` tells that the output folder exists; the file was skipped
    kNoLine,    // the source was empty or unreadable
    kNoPages,   // nothing to compile: the run shows its message and ends
    kStopped,
};

// A folder that exists and holds anything at all is taken as the result of an earlier run.
// A folder that exists but cannot be listed counts as holding entries: what it holds is
// unknown, so it is never written into.
bool FolderHasEntries(const std::string& folder) {
    std::vector<platform::FolderEntry> entries;
    if (platform::ListFolder(folder, entries))
        return !entries.empty();
    const platform::FileInfo info = platform::GetFileInfo(folder);
    return info.exists && info.is_folder;
}

BookResult BuildBook(RunControls& controls,
                     CompileQueue& queue,
                     const RunOptions& options,
                     const std::string& compiler,
                     const std::string& file_name,
                     std::string& source_buffer,
                     BookReport& report) {
    std::string& line = report.line;
    FileList& sources = controls.File1();
    const std::string base_name = file_name.substr(0, file_name.find('.'));
    const std::string output_folder = platform::JoinPath(sources.Path(), base_name);
    const std::string source_path = platform::JoinPath(sources.Path(), file_name);
    const std::string failed = base_name + kFailedSuffix;

    // An empty base name would make the output folder the source folder itself; that folder
    // always holds the source, so it is reported as existing and never written into.
    report.folder = output_folder;
    if (base_name.empty() || FolderHasEntries(output_folder)) {
        line = base_name + kExistsSuffix;
        return BookResult::kExisting;
    }
    platform::FileInfo existing = platform::GetFileInfo(output_folder);
    if (!(existing.exists && existing.is_folder) && !platform::CreateFolder(output_folder)) {
        line = failed;
        report.reason = "无法创建文件夹 " + output_folder;
        return BookResult::kLine;
    }

    SplitOutcome split = SplitSourceFile(source_path, base_name, output_folder, kPieceUnits, controls, source_buffer);
    switch (split.status) {
        case SplitStatus::kStopped:
            return BookResult::kStopped;
        case SplitStatus::kEmpty:
            return BookResult::kNoLine;
        case SplitStatus::kWriteFailed:
            line = failed;
            report.reason = "无法写入分页文件";
            return BookResult::kLine;
        case SplitStatus::kSucceeded:
            break;
    }

    FileList& pages = controls.File2();
    pages.SetPath(output_folder);
    pages.Refresh();
    PageStyle style;
    style.text_source = EndsWithIgnoringAsciiCase(file_name, ".txt");
    style.keep_char_refs = split.unicode_source;
    PageTitles titles;
    StepStatus status = WrapPages(controls, style, &titles);
    if (status == StepStatus::kDone)
        status = RenamePages(controls);
    if (status == StepStatus::kStopped)
        return BookResult::kStopped;
    if (status == StepStatus::kFailed) {
        line = failed;
        report.reason = "无法写入页面";
        return BookResult::kLine;
    }
    pages.Refresh();
    if (pages.List(0).empty())
        return BookResult::kNoPages;

    PageNames entry_names;
    StepStatus written = WriteContentsFile(controls, &entry_names, &titles);
    if (written == StepStatus::kDone)
        written = WriteIndexFile(controls, &entry_names);
    if (written == StepStatus::kDone)
        written = WriteProjectFile(controls, base_name);
    if (written == StepStatus::kStopped)
        return BookResult::kStopped;
    if (written == StepStatus::kFailed) {
        line = failed;
        report.reason = "无法写入目录、索引或项目文件";
        return BookResult::kLine;
    }
    report.folder = pages.Path();
    report.book = platform::JoinPath(report.folder, BookName(base_name) + ".chm");
    if (compiler.empty()) {
        line = failed;
        report.reason = "没有找到 HTML Help 编译器";
        return BookResult::kLine;
    }
    line = base_name + kSucceededSuffix;
    report.outcome = BookOutcome::kStarted;
    CompileRequest request;
    request.report = report;
    request.compiler = compiler;
    request.folder = report.folder;
    request.produced = report.book;
    request.timeout_ms = options.compile_timeout_ms;
    report = QueueCompile(queue, std::move(request));
    return BookResult::kLine;
}

// A source too large for the memory the process can get (a 32-bit process reaches its limit
// with sources of about a gigabyte) fails its own book; the run goes on with the next one.
BookResult OutOfMemory(const std::string& file_name, std::string& source_buffer, BookReport& report) {
    std::string().swap(source_buffer);
    report.line = file_name.substr(0, file_name.find('.')) + kFailedSuffix;
    report.reason = "内存不足，装不下这个文件";
    return BookResult::kLine;
}

}  // namespace

bool ConvertAndGenerate(RunControls& controls, CompileQueue& queue, const RunOptions& options) {
    // The run yields to the front-end, which could start it again from inside a yield.
    static bool running = false;
    if (running)
        return true;
    FileList& sources = controls.File1();
    if (sources.List(0).empty())
        return true;
    struct RunningFlag {
        RunningFlag() { running = true; }
        ~RunningFlag() { running = false; }
    } running_flag;

    controls.SetStatusText(kWaitingText);
    const int run = queue.BeginRun();
    const std::string compiler = FindCompiler(options.compiler, DefaultCompilerSearch()).path;
    int k = 0;
    int books = 0;
    const int n = sources.ListCount();
    // Holds one source at a time; kept for the whole run so its memory is set up only once.
    std::string source_buffer;
    for (int i = 0; i < n; ++i) {
        if (!controls.Yield())
            return false;
        const std::string file_name = sources.List(i);
        controls.OnSourceFile(i, n, file_name);
        BookReport report;
        report.run = run;
        report.index = k;
        report.source = file_name;
        report.outcome = BookOutcome::kFailed;
        BookResult result;
        try {
            result = BuildBook(controls, queue, options, compiler, file_name, source_buffer, report);
        } catch (const std::bad_alloc&) {
            result = OutOfMemory(file_name, source_buffer, report);
        } catch (const std::length_error&) {
            result = OutOfMemory(file_name, source_buffer, report);
        }
        switch (result) {
            case BookResult::kStopped:
                return false;
            case BookResult::kNoPages:
                controls.ShowMessage(kNoPagesMessage, kNoPagesTitle);
                return true;
            case BookResult::kNoLine:
                report.index = -1;
                report.outcome = BookOutcome::kNoBook;
                controls.OnBookReport(report);
                break;
            case BookResult::kExisting:
                report.outcome = BookOutcome::kExists;
                controls.List1().SetEntry(k++, report.line);
                controls.OnBookReport(report);
                break;
            case BookResult::kLine:
                controls.List1().SetEntry(k++, report.line);
                controls.OnBookReport(report);
                // The books this run made or tried to make; skipped sources do not count.
                controls.SetCountText("完成" + std::to_string(++books) + "个文件");
                break;
        }
        if (!controls.Yield())
            return false;
    }
    controls.SetStatusText(kFinishedText);
    return true;
}
