// The compile queue: at most a fixed number of compiles at once, each judged by how its
// compiler ended and by the book it left.
#include <algorithm>
#include <deque>
#include <thread>

#include "builder/builtin_compile.h"
#include "builder/compile_book.h"
#include "builder/run_texts.h"
#include "chm/chm_compiler.h"

namespace {

// A book written by a program that cannot be watched counts once it has not changed for this long,
// and fails when none has appeared after the second figure.
constexpr int64_t kSettleMs = 1000;
constexpr int64_t kUnwatchableLimitMs = 120000;
// A compile past its time limit is ended only when its book has not grown for this long either
// (or for the whole limit, when that is shorter).
constexpr int64_t kQuietMs = 120000;
constexpr int kWaitStepMs = 20;

// "" when the file a compiler left is a whole book, judged by its header, else why not.
std::string CheckBookFile(const std::string& path) {
    std::string head;
    uint64_t size = 0;
    if (!platform::ReadFileHead(path, chm::kBookHeaderBytes, head, &size))
        return "编译器没有写出书 " + path;
    return chm::CheckBookHeader(head, size);
}

std::unique_ptr<CompileTask> StartTask(const CompileRequest& request, std::string& failure) {
    if (request.compiler == kBuiltinCompiler)
        return StartBuiltinCompile(request.folder, request.produced);
    return StartProgramCompile(request.compiler, request.folder, failure);
}

}  // namespace

struct CompileQueue::Impl {
    struct Job {
        CompileRequest request;
        std::unique_ptr<CompileTask> task;
        int64_t started_ms = 0;
        int64_t last_change_ms = 0;
        platform::FileInfo last_seen;
        uint64_t last_progress = 0;
        std::string timed_out;  // why it was ended, once it ran past its limit
    };
    int max_running = 1;
    int runs = 0;  // runs that handed compiles over, for the reports' run numbers
    std::deque<Job> waiting;
    std::vector<Job> running;
    std::vector<BookReport> ended;  // final reports not yet handed out by Poll

    void StartWaiting();
    // True when the job has ended; its report is then final.
    bool Check(Job& job, int64_t now);
    void End(Job& job, std::string failure);
};

CompileQueue::CompileQueue(int max_running) : impl_(std::make_unique<Impl>()) {
    if (max_running <= 0)
        max_running = static_cast<int>(std::thread::hardware_concurrency());
    impl_->max_running = std::max(max_running, 1);
}

CompileQueue::~CompileQueue() = default;

int CompileQueue::Running() const {
    return static_cast<int>(impl_->running.size());
}

int CompileQueue::BeginRun() {
    return ++impl_->runs;
}

int CompileQueue::LatestRun() const {
    return impl_->runs;
}

int CompileQueue::MaxRunning() const {
    return impl_->max_running;
}

bool CompileQueue::HasPending() const {
    return !impl_->waiting.empty() || !impl_->running.empty() || !impl_->ended.empty();
}

void CompileQueue::Impl::StartWaiting() {
    while (!waiting.empty() && static_cast<int>(running.size()) < max_running) {
        Job job = std::move(waiting.front());
        waiting.pop_front();
        std::string failure;
        job.task = StartTask(job.request, failure);
        if (!job.task) {
            End(job, failure);
            continue;
        }
        job.started_ms = job.last_change_ms = platform::MonotonicMs();
        running.push_back(std::move(job));
    }
}

bool CompileQueue::Impl::Check(Job& job, int64_t now) {
    const CompileRequest& request = job.request;
    const platform::FileInfo book = platform::GetFileInfo(request.produced);
    const uint64_t progress = job.task->Progress();
    if (book.exists != job.last_seen.exists || book.size != job.last_seen.size ||
        book.mtime_ns != job.last_seen.mtime_ns || progress != job.last_progress) {
        job.last_seen = book;
        job.last_progress = progress;
        job.last_change_ms = now;
    }
    if (job.task->HasEnded())
        return true;
    if (!job.task->Watchable()) {
        return (book.exists && book.size > 0 && now - job.last_change_ms >= kSettleMs) ||
               now - job.started_ms > kUnwatchableLimitMs;
    }
    const int64_t quiet = std::min(request.timeout_ms, kQuietMs);
    if (job.timed_out.empty() && now - job.started_ms >= request.timeout_ms && now - job.last_change_ms >= quiet) {
        // Judged at a later call, once it has really ended.
        job.task->Stop();
        job.timed_out = "编译器运行超过 " + std::to_string(request.timeout_ms / 1000) + " 秒仍未完成，已被终止";
    }
    return false;
}

void CompileQueue::Impl::End(Job& job, std::string failure) {
    CompileRequest& request = job.request;
    BookReport& report = request.report;
    if (!job.timed_out.empty())
        failure = job.timed_out;
    std::string book_problem = CheckBookFile(request.produced);
    if (failure.empty() && !book_problem.empty())
        failure = book_problem;
    // A file that is not a whole book must not look like one; a sound book that its compiler
    // disowned is left for the user to look at.
    if (!book_problem.empty())
        platform::DeleteFileAt(request.produced);
    if (failure.empty() && request.produced != report.book && !platform::RenameFile(request.produced, report.book)) {
        failure = "无法把编译好的书改名为 " + report.book;
    }
    report.compiled = failure.empty();
    if (!report.compiled) {
        const std::string base = report.line.substr(0, report.line.size() - std::string(kSucceededSuffix).size());
        report.outcome = BookOutcome::kFailed;
        report.line = base + kFailedSuffix;
        report.reason = failure;
    }
    if (request.hold)
        request.hold->CompileEnded(report.compiled);
    ended.push_back(report);
}

std::vector<BookReport> CompileQueue::Poll() {
    const int64_t now = platform::MonotonicMs();
    for (size_t i = 0; i < impl_->running.size();) {
        Impl::Job& job = impl_->running[i];
        if (!impl_->Check(job, now)) {
            ++i;
            continue;
        }
        std::string failure = job.task->Failure();
        if (!job.task->Watchable() && !(job.last_seen.exists && job.last_seen.size > 0))
            failure = "编译器在 " + std::to_string(kUnwatchableLimitMs / 1000) + " 秒内没有写出书";
        impl_->End(job, failure);
        impl_->running.erase(impl_->running.begin() + static_cast<std::ptrdiff_t>(i));
    }
    impl_->StartWaiting();
    std::vector<BookReport> ended;
    ended.swap(impl_->ended);
    return ended;
}

std::vector<BookReport> CompileQueue::WaitAll() {
    std::vector<BookReport> ended;
    for (;;) {
        std::vector<BookReport> some = Poll();
        ended.insert(ended.end(), some.begin(), some.end());
        if (!HasPending())
            return ended;
        platform::SleepMs(kWaitStepMs);
    }
}

BookReport QueueCompile(CompileQueue& queue, CompileRequest request) {
    CompileQueue::Impl& impl = queue.impl();
    CompileQueue::Impl::Job job;
    job.request = std::move(request);
    impl.waiting.push_back(std::move(job));
    const size_t ended_before = impl.ended.size();
    impl.StartWaiting();
    // A compile that could not even start has its final report at once.
    if (impl.ended.size() > ended_before) {
        BookReport report = std::move(impl.ended.back());
        impl.ended.pop_back();
        return report;
    }
    const CompileQueue::Impl::Job& queued = impl.waiting.empty() ? impl.running.back() : impl.waiting.back();
    return queued.request.report;
}
