// Measures the Convert & Generate run (pages and project files; the compiler is a stand-in
// that exits at once) over single GBK sources of several sizes, next to `cp -r` of the same
// folder, and prints processor time, the ratio and peak memory. Each run happens in a child
// process of its own, so that its peak memory is its own.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "builder/convert_run.h"
#include "builder/platform.h"
#include "tests/builder/test_support.h"

#ifdef _WIN32
#include <windows.h>

#include <psapi.h>
#undef Yield
#else
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

constexpr char kUsage[] =
    "usage: builder_bench [--folder PARENT] [--sizes MB,MB,...] [--repeat N] [--corpus novel|mixed|both]\n"
    "       builder_bench --write-corpus novel|mixed MB FILE\n"
    "  Makes one GBK text of each size (default 10,100,400 MB) in a folder under PARENT (default\n"
    "  /dev/shm where it exists, else the temporary folder), copies the folder with cp -r and runs\n"
    "  the conversion over the copy in a child process, N times (default 3), and prints the least\n"
    "  processor time of each, their ratio and the run's peak memory next to the source's size.\n"
    "  The texts: 'novel' reads like the novels readers convert; 'mixed' is a stress test, with\n"
    "  ASCII and markup characters in every line and many lines that start like headings.\n"
    "  --write-corpus only writes such a text, for measuring other programs on it.\n";

// A stress test: Chinese with ASCII mixed in, markup characters in most lines, lines of varying
// length, a fifth of them starting like a heading (第一次, Chapters), and a chapter heading every
// 3,000 lines or so (a 400 MB text then has a few thousand).
std::string MakeMixedFile(size_t bytes, unsigned seed) {
    const std::string words[] = {Gbk("春眠不觉晓，"),    Gbk("处处闻啼鸟。"),
                                 Gbk("夜来风雨声，"),    Gbk("花落知多少。"),
                                 "The quick brown fox ", "jumps over <the> lazy dog & cat. ",
                                 Gbk("第一次"),          "Chapters ",
                                 Gbk("《书名》"),        "1234567890 "};
    std::string text;
    text.reserve(bytes + 256);
    unsigned state = seed * 2654435761u + 1;
    size_t line_length = 0;
    size_t lines = 0;
    while (text.size() < bytes) {
        state = state * 1103515245u + 12345u;
        if (line_length == 0 && lines % 3000 == 0)
            text += Gbk("第" + std::to_string(lines / 3000 + 1) + "章 风雨\r\n");
        text += words[(state >> 16) % 10];
        line_length += 1;
        if (line_length > 4 + (state >> 8) % 12) {
            text += "\r\n";
            line_length = 0;
            ++lines;
        }
    }
    return text;
}

// A novel as readers have them: indented paragraphs of Chinese prose with its punctuation and
// dialogue, a chapter heading every 200 paragraphs, and now and then a paragraph that starts like
// one (第二天, 后来) or holds a number.
std::string MakeNovelFile(size_t bytes, unsigned seed) {
    const char* const words[] = {"他",   "她",   "我们", "说道", "看着", "心里", "忽然", "已经", "不知道", "怎么",
                                 "时候", "一个", "自己", "没有", "起来", "知道", "这样", "天下", "江湖",   "剑",
                                 "门外", "月光", "山上", "师父", "弟子", "回头", "笑了", "一声", "手中",   "缓缓",
                                 "落下", "远处", "传来", "脚步", "风",   "雪",   "城中", "客栈", "掌柜",   "酒",
                                 "茶",   "马车", "黄昏", "夜色", "灯火", "沉默", "片刻", "点头"};
    const char* const marks[] = {"，", "，", "，", "。", "。", "！", "？", "……", "——", "、", "；", "："};
    const char* const openers[] = {"第二天", "后来", "第一次", "前面", "引得", "序"};
    std::string utf8;
    utf8.reserve(bytes * 3 / 2 + 1024);
    unsigned state = seed * 2654435761u + 1;
    auto next = [&state](unsigned n) {
        state = state * 1103515245u + 12345u;
        return (state >> 8) % n;
    };
    const size_t target_chars = bytes / 2;
    size_t chars = 0;
    for (size_t paragraph = 0; chars < target_chars; ++paragraph) {
        std::string line = "\u3000\u3000";
        if (paragraph % 200 == 0)
            line = "第" + std::to_string(paragraph / 200 + 1) + "章 " + words[next(48)] + words[next(48)];
        else {
            if (next(40) == 0)
                line += openers[next(6)];
            const bool dialogue = next(3) == 0;
            if (dialogue)
                line += std::string(words[next(48)]) + "说：“";
            const size_t length = 10 + next(60);
            for (size_t w = 0; w < length; ++w) {
                line += words[next(48)];
                if (next(4) == 0)
                    line += marks[next(12)];
                if (next(200) == 0)
                    line += std::to_string(next(2000)) + "年";
            }
            line += dialogue ? "。”" : "。";
        }
        chars += line.size() / 3;
        utf8 += line + "\r\n";
    }
    return Gbk(utf8);
}

class BenchControls : public TestControls {
  public:
    bool Yield() override { return true; }
};

struct Usage {
    double cpu_seconds = 0;
    double peak_mb = 0;
    bool ok = false;
};

#ifndef _WIN32
double Seconds(const timeval& t) {
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
}

// Runs a program and returns its processor time and peak resident memory.
Usage RunChild(const std::vector<std::string>& args) {
    Usage usage;
    pid_t pid = fork();
    if (pid == 0) {
        std::vector<char*> argv;
        for (const std::string& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    rusage child = {};
    if (pid < 0 || wait4(pid, &status, 0, &child) != pid)
        return usage;
    usage.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    usage.cpu_seconds = Seconds(child.ru_utime) + Seconds(child.ru_stime);
    usage.peak_mb = static_cast<double>(child.ru_maxrss) / 1024.0;
    return usage;
}
#endif

// The child's work: one run over `folder`.
int RunOnce(const std::string& folder) {
    BenchControls controls;
    controls.file1.SetPath(folder);
    CompileQueue queue;
    RunOptions options;
#ifdef _WIN32
    options.compiler = FakeCompilerPath("silent");
#else
    options.compiler = "/bin/true";
#endif
    const bool completed = ConvertAndGenerate(controls, queue, options);
    queue.WaitAll();
#ifdef _WIN32
    PROCESS_MEMORY_COUNTERS counters = {};
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
    std::printf("peak working set: %.1f MB\n", static_cast<double>(counters.PeakWorkingSetSize) / 1048576.0);
#endif
    return completed && controls.list1.ListCount() == 1 ? 0 : 1;
}

std::vector<size_t> ParseSizes(const char* text) {
    std::vector<size_t> sizes;
    for (const char* p = text; *p;) {
        sizes.push_back(static_cast<size_t>(std::max(1, std::atoi(p))));
        p = std::strchr(p, ',');
        if (!p)
            break;
        ++p;
    }
    return sizes;
}

std::string MakeCorpus(const std::string& kind, size_t megabytes) {
    return kind == "novel" ? MakeNovelFile(megabytes << 20, 7) : MakeMixedFile(megabytes << 20, 7);
}

// A folder "corpus" in `temp` that holds the text as book.txt; returns its path.
std::string WriteCorpusFolder(TempFolder& temp, const std::string& kind, size_t megabytes) {
    const std::string corpus = temp.Join("corpus");
    platform::CreateFolder(corpus);
    WriteTestFile(platform::JoinPath(corpus, "book.txt"), MakeCorpus(kind, megabytes));
    return corpus;
}

}  // namespace

int main(int argc, char** argv) {
    std::string parent;
    std::vector<size_t> sizes = {10, 100, 400};
    std::vector<std::string> kinds = {"novel", "mixed"};
    int repeat = 3;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (arg == "--run-once" && i + 1 < argc)
            return RunOnce(argv[i + 1]);
        if (arg == "--write-corpus" && i + 3 < argc) {
            const std::string kind = argv[i + 1];
            if (kind != "novel" && kind != "mixed")
                break;
            WriteTestFile(argv[i + 3], MakeCorpus(kind, static_cast<size_t>(std::max(1, std::atoi(argv[i + 2])))));
            return 0;
        }
        if (i + 1 >= argc) {
            std::fputs(kUsage, stderr);
            return 2;
        }
        if (arg == "--folder") {
            parent = argv[++i];
        } else if (arg == "--sizes") {
            sizes = ParseSizes(argv[++i]);
        } else if (arg == "--repeat") {
            repeat = std::max(1, std::atoi(argv[++i]));
        } else if (arg == "--corpus" && (std::string(argv[i + 1]) == "novel" || std::string(argv[i + 1]) == "mixed")) {
            kinds = {argv[++i]};
        } else if (arg == "--corpus" && std::string(argv[i + 1]) == "both") {
            ++i;
        } else {
            std::fputs(kUsage, stderr);
            return 2;
        }
    }
#ifdef _WIN32
    // Under Windows each size runs in this process: the peak working set is then the largest so far.
    bool all_ok = true;
    for (const std::string& kind : kinds) {
        for (size_t megabytes : sizes) {
            TempFolder temp(parent);
            const std::string corpus = WriteCorpusFolder(temp, kind, megabytes);
            for (int r = 0; r < repeat; ++r) {
                const auto start = std::chrono::steady_clock::now();
                all_ok = RunOnce(corpus) == 0 && all_ok;
                std::printf("%s %zu MB: %.3f s\n", kind.c_str(), megabytes,
                            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
                std::filesystem::remove_all(std::filesystem::u8path(platform::JoinPath(corpus, "book")));
            }
        }
    }
    return all_ok ? 0 : 1;
#else
    if (parent.empty() && platform::GetFileInfo("/dev/shm").is_folder)
        parent = "/dev/shm";
    const std::string self = platform::AbsolutePath(argv[0]);
    std::printf("%6s %8s %10s %10s %7s %11s %11s\n", "text", "source", "run cpu", "cp -r cpu", "ratio", "peak",
                "peak-source");
    bool all_ok = true;
    for (const std::string& kind : kinds) {
        for (size_t megabytes : sizes) {
            TempFolder temp(parent);
            const std::string corpus = WriteCorpusFolder(temp, kind, megabytes);
            Usage best_run, best_copy;
            best_run.cpu_seconds = best_copy.cpu_seconds = 1e9;
            for (int r = 0; r < repeat; ++r) {
                const std::string copy = temp.Join("copy" + std::to_string(r));
                const Usage copied = RunChild({"/bin/cp", "-r", corpus, copy});
                const Usage run = RunChild({self, "--run-once", copy});
                all_ok = all_ok && copied.ok && run.ok;
                best_copy.cpu_seconds = std::min(best_copy.cpu_seconds, copied.cpu_seconds);
                best_run.cpu_seconds = std::min(best_run.cpu_seconds, run.cpu_seconds);
                best_run.peak_mb = std::max(best_run.peak_mb, run.peak_mb);
                std::filesystem::remove_all(copy);
            }
            std::printf("%6s %5zu MB %9.3fs %9.3fs %6.2fx %8.1f MB %8.1f MB\n", kind.c_str(), megabytes,
                        best_run.cpu_seconds, best_copy.cpu_seconds,
                        best_run.cpu_seconds / std::max(best_copy.cpu_seconds, 1e-3), best_run.peak_mb,
                        best_run.peak_mb - static_cast<double>(megabytes));
            std::fflush(stdout);
        }
    }
    std::printf("goals: ratio at most 3 (100 MB); peak at most the source + 20 MB\n");
    return all_ok ? 0 : 1;
#endif
}
