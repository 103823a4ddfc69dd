#include "builder/convert_run.h"

#include <cstring>
#include <new>
#include <stdexcept>

#include "builder/book_folder.h"
#include "builder/book_pages.h"
#include "builder/compile_book.h"
#include "builder/platform.h"
#include "builder/project_files.h"
#include "builder/run_texts.h"
#include "builder/source_encoding.h"
#include "builder/source_text.h"
#include "builder/unicode_text.h"

namespace {

constexpr size_t kCharsPerUnit = 512;
// The name pages and book are given where a compiler cannot take the real one.
constexpr char kStandInName[] = "book";

enum class BookResult {
    kLine,      // the report holds the book's result line
    kExisting,  // a book of that name exists; the file was skipped
    kNoLine,    // the source was empty
    kStopped,
};

// What every book of a run shares.
struct RunContext {
    RunControls& controls;
    CompileQueue& queue;
    const RunOptions& options;
    std::string compiler;  // a program, or kBuiltinCompiler
};

// Whether pages can be named after the book: viewers find pages with other names only in some
// places (xchm opens none of them, and a book's default topic is stored in code page 936), and
// "#", "%" or "?" in a page's name read as parts of an address.
bool PageNamesCanFollow(const std::string& name) {
    for (char c : name) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                           std::strchr(" -_.,()", c) != nullptr;
        if (!plain)
            return false;
    }
    return true;
}

// Whether the compiler can be handed the book's file name as it is. Ours writes the book itself;
// hhc.exe reads the project in code page 936, which has to hold the name; chmcmd looks names up
// by their code page 936 bytes, which only match on disk for ASCII.
bool CompilerTakesBookName(const std::string& compiler, const std::string& name) {
    if (compiler == kBuiltinCompiler)
        return true;
    if (IsHhcCompiler(compiler) && platform::PathSeparator() == '\\')
        return platform::Cp936Holds(name);
    for (char c : name) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

BookResult Fail(BookReport& report, const std::string& base_name, std::string reason) {
    report.line = base_name + kFailedSuffix;
    report.outcome = BookOutcome::kFailed;
    report.reason = std::move(reason);
    return BookResult::kLine;
}

BookResult BuildBook(RunContext& run, const std::string& file_name, BookReport& report) {
    RunControls& controls = run.controls;
    const std::string source_folder = controls.File1().Path();
    const std::string base_name = file_name.substr(0, file_name.find('.'));
    const std::string book_name = BookName(base_name);
    report.folder = platform::JoinPath(source_folder, base_name);
    report.book = platform::JoinPath(report.folder, book_name + ".chm");

    // An empty base name would make the output folder the source folder itself; that folder
    // always holds the source, so it is reported as existing and never written into.
    const BookFolderState state = base_name.empty() ? BookFolderState::kComplete : InspectBookFolder(report.folder);
    if (state == BookFolderState::kComplete || state == BookFolderState::kBusy) {
        report.line = base_name + kExistsSuffix;
        report.outcome = BookOutcome::kExists;
        return BookResult::kExisting;
    }
    if (state == BookFolderState::kNotAFolder)
        return Fail(report, base_name, report.folder + " 已经是一个文件（或链接），不能用作书的文件夹");
    if (state == BookFolderState::kUnfinished) {
        return Fail(report, base_name,
                    "这本书上次没有完成（编译失败或被中断）。删除文件夹 " + report.folder + " 后再转换");
    }

    std::string reason;
    const std::unique_ptr<platform::SourceFile> file =
        platform::OpenSourceFile(platform::JoinPath(source_folder, file_name), reason);
    if (!file)
        return Fail(report, base_name, reason);
    SourceText text(*file);
    std::string_view start;
    if (!text.View(0, 1, &start, reason))
        return Fail(report, base_name, reason);
    if (start.empty()) {
        report.reason = "文件是空的，没有生成书";
        return BookResult::kNoLine;
    }
    EncodingChoice encoding;
    if (!DetectSourceEncoding(text, &encoding, reason))
        return Fail(report, base_name, reason);
    // What is known before the text is read; whether GB18030 text holds four-byte sequences is
    // known once its pages are written.
    report.encoding = DescribeEncoding(encoding, false);

    std::unique_ptr<WorkFolder> work = WorkFolder::Create(source_folder, reason);
    if (!work)
        return Fail(report, base_name, reason);
    const bool real_book_name = CompilerTakesBookName(run.compiler, base_name);
    PageSource source;
    source.text = &text;
    source.begin = encoding.bom_length;
    source.encoding = encoding.encoding;
    source.text_source = EndsWithIgnoringAsciiCase(file_name, ".txt");
    source.book_name = book_name;
    source.page_base = PageNamesCanFollow(base_name) ? base_name : kStandInName;
    source.head = controls.PageHead();
    source.tail = controls.PageTail();
    BookPages book;
    StepResult step = WriteBookPages(source, kPieceUnits * kCharsPerUnit, work->path(), controls, book);
    report.encoding = DescribeEncoding(encoding, book.four_byte_chars);
    if (step.status == StepResult::kStopped)
        return BookResult::kStopped;
    if (step.status == StepResult::kFailed)
        return Fail(report, base_name, step.reason);
    for (const ChapterEntry& chapter : book.chapters)
        report.chapters += chapter.kind == HeadingKind::kChapter ? 1 : 0;

    ProjectSettings project;
    project.title = book_name;
    project.compiled_file = (real_book_name ? book_name : std::string(kStandInName)) + ".chm";
    step = WriteContentsFile(work->path(), book);
    if (step.status == StepResult::kDone)
        step = WriteIndexFile(work->path(), book);
    if (step.status == StepResult::kDone)
        step = WriteProjectFile(work->path(), book, project);
    if (step.status != StepResult::kDone)
        return Fail(report, base_name, step.reason);

    bool exists = false;
    if (!work->MoveTo(report.folder, exists, reason)) {
        if (!exists)
            return Fail(report, base_name, reason);
        // Another run made this book meanwhile.
        report.line = base_name + kExistsSuffix;
        report.outcome = BookOutcome::kExists;
        return BookResult::kExisting;
    }
    controls.File2().SetPath(report.folder);

    report.line = base_name + kSucceededSuffix;
    report.outcome = BookOutcome::kStarted;
    CompileRequest request;
    request.report = report;
    request.compiler = run.compiler;
    request.folder = report.folder;
    request.produced = platform::JoinPath(report.folder, project.compiled_file);
    request.timeout_ms = run.options.compile_timeout_ms;
    request.hold = work->TakeHold();
    report = QueueCompile(run.queue, std::move(request));
    return BookResult::kLine;
}

// A book too large for the memory the process can get fails on its own; the run goes on with the
// next one.
BookResult OutOfMemory(const std::string& file_name, BookReport& report) {
    return Fail(report, file_name.substr(0, file_name.find('.')), "内存不足，装不下这个文件");
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
    RunContext run{controls, queue, options, FindCompiler(options.compiler, DefaultCompilerSearch()).path};
    RemoveLeftoverWorkFolders(sources.Path());
    const int run_number = queue.BeginRun();
    int k = 0;
    int books = 0;
    const int n = sources.ListCount();
    for (int i = 0; i < n; ++i) {
        // The front-end hears of the file first, so that the window shows it during the yield.
        const std::string file_name = sources.List(i);
        controls.OnSourceFile(i, n, file_name);
        if (!controls.Yield())
            return false;
        BookReport report;
        report.run = run_number;
        report.index = k;
        report.source = file_name;
        BookResult result;
        try {
            result = BuildBook(run, file_name, report);
        } catch (const std::bad_alloc&) {
            result = OutOfMemory(file_name, report);
        } catch (const std::length_error&) {
            result = OutOfMemory(file_name, report);
        }
        switch (result) {
            case BookResult::kStopped:
                return false;
            case BookResult::kNoLine:
                report.index = -1;
                report.outcome = BookOutcome::kNoBook;
                controls.OnBookReport(report);
                break;
            case BookResult::kExisting:
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
