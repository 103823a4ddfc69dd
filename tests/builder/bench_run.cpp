// Times the Convert & Generate run over a 100 MB corpus (20 files of 5 MB in code page 936)
// next to a plain copy of the same bytes, and prints throughput, the ratio and peak memory.
// The compiler is a stand-in that exits at once, so compiling is not measured.
//
//   builder_bench [--compiler PATH] [--files N] [--megabytes M] [--repeat R] [--folder PARENT]
//
// PARENT is where the temporary corpus folder goes (default: the system's temporary folder).
// The plain copy reads each file whole into one buffer and writes it to a new file, as a
// user copying the folder would. After the turns, the split, wrap and rename steps are timed
// on their own, to show where the run's time goes.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "builder/convert_run.h"
#include "builder/pages.h"
#include "builder/platform.h"
#include "builder/run_texts.h"
#include "builder/source_split.h"
#include "tests/builder/test_support.h"

#ifdef _WIN32
#include <windows.h>

#include <psapi.h>
// winbase.h defines Yield() away, which would break the override below.
#undef Yield
#else
#include <sys/resource.h>
#endif

namespace {

double PeakMemoryMb() {
#ifdef _WIN32
    PROCESS_MEMORY_COUNTERS counters = {};
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
    return static_cast<double>(counters.PeakWorkingSetSize) / (1024.0 * 1024.0);
#else
    rusage usage = {};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;  // kilobytes on Linux
#endif
}

// Chinese prose with ASCII mixed in, some markup characters, lines of varying length.
std::string MakeCorpusFile(size_t bytes, unsigned seed) {
    const std::string words[] = {Gbk("春眠不觉晓，"), Gbk("处处闻啼鸟。"),    Gbk("夜来风雨声，"),
                                 Gbk("花落知多少。"), "The quick brown fox ", "jumps over <the> lazy dog & cat. ",
                                 Gbk("第一章 "),      "Chapter 12 ",          Gbk("《书名》"),
                                 "1234567890 "};
    std::string text;
    text.reserve(bytes + 256);
    unsigned state = seed * 2654435761u + 1;
    size_t line_length = 0;
    while (text.size() < bytes) {
        state = state * 1103515245u + 12345u;
        text += words[(state >> 16) % 10];
        line_length += 1;
        if (line_length > 4 + (state >> 8) % 12) {
            text += "\r\n";
            line_length = 0;
        }
    }
    return text;
}

class BenchControls : public TestControls {
  public:
    bool Yield() override { return true; }
};

// Processor time (user + system) of this process so far, to tell waiting from working.
double CpuSeconds() {
#ifdef _WIN32
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto ticks = [](const FILETIME& t) {
        return static_cast<double>((static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime);
    };
    return (ticks(kernel) + ticks(user)) / 1e7;
#else
    rusage usage = {};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
#endif
}

double Seconds(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

struct Timing {
    double wall = 0;
    double processor = 0;
};

Timing Median(std::vector<Timing> timings) {
    std::sort(timings.begin(), timings.end(), [](const Timing& a, const Timing& b) { return a.wall < b.wall; });
    return timings[timings.size() / 2];
}

template <typename Work>
Timing Measure(Work work) {
    const double cpu_start = CpuSeconds();
    auto start = std::chrono::steady_clock::now();
    work();
    return {Seconds(std::chrono::steady_clock::now() - start), CpuSeconds() - cpu_start};
}

void RemoveFolder(const std::string& folder) {
    std::error_code ec;
    std::filesystem::remove_all(std::filesystem::path(std::u8string(folder.begin(), folder.end())), ec);
}

// The three steps that touch every byte, timed one by one over the whole corpus (the rest
// of the run is folders, listings, project files and starting the compiler).
struct StepTimes {
    double split = 0;
    double wrap = 0;
    double rename = 0;
};

StepTimes TimeSteps(const std::string& sources, const std::vector<std::string>& names) {
    StepTimes times;
    BenchControls controls;
    std::string source_buffer;
    for (const std::string& name : names) {
        const std::string base = name.substr(0, name.find('.'));
        const std::string folder = platform::JoinPath(sources, base);
        platform::CreateFolder(folder);
        times.split +=
            Measure([&] {
                SplitSourceFile(platform::JoinPath(sources, name), base, folder, kPieceUnits, controls, source_buffer);
            }).wall;
        controls.file2.SetPath(folder);
        PageStyle style;
        style.text_source = true;
        times.wrap += Measure([&] { WrapPages(controls, style); }).wall;
        times.rename += Measure([&] { RenamePages(controls); }).wall;
    }
    for (const std::string& name : names)
        RemoveFolder(platform::JoinPath(sources, name.substr(0, name.find('.'))));
    return times;
}

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
    std::string compiler = FakeCompilerPath("silent");
#else
    std::string compiler = "/bin/true";
#endif
    int files = 20;
    size_t megabytes = 5;
    int repeat = 5;
    std::string parent;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--compiler") == 0)
            compiler = argv[i + 1];
        else if (std::strcmp(argv[i], "--files") == 0)
            files = std::max(1, std::atoi(argv[i + 1]));
        else if (std::strcmp(argv[i], "--megabytes") == 0)
            megabytes = static_cast<size_t>(std::max(1, std::atoi(argv[i + 1])));
        else if (std::strcmp(argv[i], "--repeat") == 0)
            repeat = std::max(1, std::atoi(argv[i + 1]));
        else if (std::strcmp(argv[i], "--folder") == 0)
            parent = argv[i + 1];
    }
    const size_t file_bytes = megabytes << 20;

    TempFolder temp(parent);
    std::string sources = temp.Join("corpus");
    platform::CreateFolder(sources);
    size_t total = 0;
    for (int i = 0; i < files; ++i) {
        std::string text = MakeCorpusFile(file_bytes, static_cast<unsigned>(i));
        total += text.size();
        char name[32];
        std::snprintf(name, sizeof(name), "book%02d.txt", i);
        WriteTestFile(platform::JoinPath(sources, name), text);
    }
    const std::vector<std::string> names = ListSourceFolder(sources);
    const double corpus_mb = static_cast<double>(total) / (1024.0 * 1024.0);
    const double memory_after_corpus = PeakMemoryMb();

    // Copy and run take turns, so that both meet the same state of the machine; each run
    // starts from the bare corpus again.
    std::vector<Timing> copies;
    std::vector<Timing> runs;
    bool completed = true;
    int books = 0;
    for (int r = 0; r < repeat; ++r) {
        std::string copy_folder = temp.Join("copy");
        platform::CreateFolder(copy_folder);
        copies.push_back(Measure([&] {
            std::string bytes;
            for (const std::string& name : names) {
                platform::ReadFileBytes(platform::JoinPath(sources, name), bytes);
                platform::WriteFileBytes(platform::JoinPath(copy_folder, name), bytes);
            }
        }));
        RemoveFolder(copy_folder);

        BenchControls controls;
        controls.file1.SetPath(sources);
        CompileQueue queue;
        RunOptions options;
        options.compiler = compiler;
        runs.push_back(Measure([&] { completed = ConvertAndGenerate(controls, queue, options) && completed; }));
        queue.WaitAll();
        books = 0;
        for (const std::string& line : controls.list1.lines)
            books += line.size() > 7 && line.compare(line.size() - 7, 7, "_成功") == 0 ? 1 : 0;
        for (const std::string& name : names)
            RemoveFolder(platform::JoinPath(sources, name.substr(0, name.find('.'))));
    }

    std::vector<StepTimes> steps;
    for (int r = 0; r < repeat; ++r)
        steps.push_back(TimeSteps(sources, names));
    std::sort(steps.begin(), steps.end(),
              [](const StepTimes& a, const StepTimes& b) { return a.split + a.wrap < b.split + b.wrap; });
    const StepTimes step = steps[steps.size() / 2];

    const Timing copy = Median(copies);
    const Timing run = Median(runs);
    const double peak = PeakMemoryMb();
    const double limit = 3.0 * static_cast<double>(file_bytes) / (1024.0 * 1024.0) + 20.0;
    std::printf("corpus:      %d files, %.1f MB (code page 936) in %s\n", files, corpus_mb, temp.path().c_str());
    std::printf("medians of %d turns:\n", repeat);
    std::printf("plain copy:  %.3f s, %.1f MB/s (processor %.3f s)\n", copy.wall, corpus_mb / copy.wall,
                copy.processor);
    std::printf("run:         %.3f s, %.1f MB/s (processor %.3f s), %d books started, %s\n", run.wall,
                corpus_mb / run.wall, run.processor, books, completed ? "completed" : "stopped");
    std::printf("ratio:       %.2f x the plain copy (processor time: %.2f x; goal: at most 3)\n", run.wall / copy.wall,
                run.processor / copy.processor);
    std::printf("steps alone: split %.3f s, wrap %.3f s, rename %.3f s (%.1f, %.1f and %.1f x the plain copy)\n",
                step.split, step.wrap, step.rename, step.split / copy.wall, step.wrap / copy.wall,
                step.rename / copy.wall);
    std::printf("peak memory: %.1f MB (after making the corpus %.1f MB; goal: under %.0f MB)\n", peak,
                memory_after_corpus, limit);
    return completed && books == files ? 0 : 1;
}
