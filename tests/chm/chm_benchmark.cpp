// Not a test: prints, for the same generated projects, the size of the book and the processor
// time of the library's compile next to chmcmd's (run as a child; its time from the children's
// resource usage). Run with --help for the options.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "builder/platform.h"
#include "tests/builder/test_support.h"
#include "tests/chm/chm_test_support.h"

namespace {

struct Options {
    std::string folder;
    std::string chmcmd = "chmcmd";
    int repeat = 3;
    int window_bits = 16;
    int reset_frames = 2;
};

void PrintUsage() {
    std::printf(
        "usage: chm_benchmark [--folder DIR] [--chmcmd PATH|none] [--repeat N]\n"
        "                     [--window-bits 16..21] [--reset-frames N]\n"
        "Generates book projects (a novel cut into long pages, a thousand short pages) as the\n"
        "builder writes them, compiles each with the library and with chmcmd, and prints book\n"
        "sizes and processor times (the best of N runs). --window-bits and --reset-frames set the\n"
        "library's LZX window and reset interval; chmcmd always uses its own (64 KB, 2 frames).\n");
}

double CpuSeconds(const rusage& usage) {
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double SelfCpu() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return CpuSeconds(usage);
}

double ChildrenCpu() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return CpuSeconds(usage);
}

// Chinese prose from a fixed seed: common characters in sentences of varying length, with the
// phrase repetition a novel has.
std::string Prose(size_t bytes, uint32_t seed) {
    static const char* kCharacters[] = {
        "的", "一", "是", "了", "我", "不", "人", "在", "他", "有", "这", "个", "上", "们", "来", "到", "时", "大",
        "地", "为", "子", "中", "你", "说", "生", "国", "年", "着", "就", "那", "和", "要", "她", "出", "也", "得",
        "里", "后", "自", "以", "会", "家", "可", "下", "而", "过", "天", "去", "能", "对", "小", "多", "然", "于",
        "心", "学", "么", "之", "都", "好", "看", "起", "发", "当", "没", "成", "只", "如", "事", "把", "还", "用",
        "第", "样", "道", "想", "作", "种", "开", "美", "总", "从", "无", "情", "己", "面", "最", "女", "但", "现",
        "前", "些", "所", "同", "日", "手", "又", "行", "意", "动", "方", "期", "它", "头", "经", "长", "儿", "回",
        "位", "分", "爱", "老", "因", "很", "给", "名", "法", "间", "斯", "知", "世", "什", "两", "次", "使", "身",
        "者", "被", "高", "已", "亲", "其", "进", "此", "话", "常", "与", "活", "正", "感", "见", "明", "问", "力",
        "理", "尔", "点", "文", "几", "定", "本", "公", "特", "做", "外", "孩", "相", "西", "果", "走", "将", "月",
        "十", "实", "向", "声", "车", "全", "信", "重", "三", "机", "工", "物", "气", "每", "并", "别", "真", "打",
        "太", "新", "比", "才", "便", "夫", "再", "书", "部", "水", "像", "眼", "等", "体", "却", "加", "电", "主"};
    static const char* kPunctuation[] = {"，", "，", "，", "。", "。", "！", "？", "；", "：“", "”"};
    const size_t character_count = sizeof(kCharacters) / sizeof(kCharacters[0]);
    std::vector<std::string> phrases;
    uint32_t state = seed;
    auto next = [&state]() {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    };
    for (int i = 0; i < 400; ++i) {
        std::string phrase;
        const uint32_t length = 2 + next() % 4;
        for (uint32_t c = 0; c < length; ++c)
            phrase += kCharacters[next() % character_count];
        phrases.push_back(phrase);
    }
    std::string text;
    while (text.size() < bytes) {
        const uint32_t sentence = 3 + next() % 9;
        for (uint32_t w = 0; w < sentence; ++w)
            text += next() % 3 ? phrases[next() % phrases.size()] : kCharacters[next() % character_count];
        text += kPunctuation[next() % 10];
        if (next() % 6 == 0)
            text += "<br>\r\n";
    }
    return text;
}

struct Project {
    std::string name;
    chm_test::TestBook book;
    uint64_t input_bytes = 0;
};

std::vector<Project> Projects() {
    std::vector<Project> projects(2);
    projects[0].name = "novel (40 pages of 100 KB)";
    projects[0].book.name = "novel";
    for (int i = 1; i <= 40; ++i)
        projects[0].book.pages.push_back({"novel_" + std::to_string(i) + ".htm", "第" + std::to_string(i) + "章",
                                          "<html><body>" + Prose(100000, static_cast<uint32_t>(i)) + "</body></html>"});
    projects[1].name = "1000 pages of 2 KB";
    projects[1].book.name = "pages";
    for (int i = 1; i <= 1000; ++i)
        projects[1].book.pages.push_back({"pages_" + std::to_string(i) + ".htm", "第" + std::to_string(i) + "页",
                                          "<html><body>" + Prose(2000, 1000u + i) + "</body></html>"});
    for (Project& project : projects) {
        for (const chm_test::TestPage& page : project.book.pages)
            project.input_bytes += chm_test::PageBytes(page).size();
    }
    return projects;
}

// Runs chmcmd on folder/chm_hhp.hhp in that folder; the book's size, or 0 when it made none.
uint64_t RunChmcmd(const std::string& chmcmd, const std::string& folder, const std::string& book_file) {
    platform::DeleteFileAt(platform::JoinPath(folder, book_file));
    const pid_t child = fork();
    if (child == 0) {
        if (chdir(folder.c_str()) != 0)
            _exit(127);
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        dup2(null, 2);
        execlp(chmcmd.c_str(), chmcmd.c_str(), "chm_hhp.hhp", static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return platform::GetFileInfo(platform::JoinPath(folder, book_file)).size;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool has_value = i + 1 < argc;
        if (arg == "--help" || arg == "-h") {
            PrintUsage();
            return 0;
        } else if (arg == "--folder" && has_value) {
            options.folder = argv[++i];
        } else if (arg == "--chmcmd" && has_value) {
            options.chmcmd = argv[++i];
        } else if (arg == "--repeat" && has_value) {
            options.repeat = std::max(1, std::atoi(argv[++i]));
        } else if (arg == "--window-bits" && has_value) {
            options.window_bits = std::atoi(argv[++i]);
        } else if (arg == "--reset-frames" && has_value) {
            options.reset_frames = std::atoi(argv[++i]);
        } else {
            PrintUsage();
            return 2;
        }
    }
    TempFolder temp(options.folder);
    chm::CompileSettings settings;
    settings.window_bits = options.window_bits;
    settings.frames_per_reset = options.reset_frames;

    std::printf("%-28s %10s | %10s %8s | %10s %8s | %6s\n", "project", "pages KB", "ours KB", "ours s", "chmcmd KB",
                "chmcmd s", "ratio");
    for (const Project& project : Projects()) {
        const std::string folder = temp.Join(project.book.name);
        if (!chm_test::WriteTestBook(folder, project.book)) {
            std::fprintf(stderr, "cannot write %s\n", folder.c_str());
            return 1;
        }
        const std::string book_file = project.book.name + ".chm";
        double ours_best = 1e9;
        uint64_t ours_size = 0;
        for (int run = 0; run < options.repeat; ++run) {
            const double before = SelfCpu();
            const chm::CompileResult result = chm_test::CompileFolder(folder, "ours.chm", settings);
            ours_best = std::min(ours_best, SelfCpu() - before);
            if (!result.ok) {
                std::fprintf(stderr, "%s: %s\n", project.name.c_str(), result.reason.c_str());
                return 1;
            }
            ours_size = platform::GetFileInfo(platform::JoinPath(folder, "ours.chm")).size;
        }
        double theirs_best = 0;
        uint64_t theirs_size = 0;
        if (options.chmcmd != "none") {
            theirs_best = 1e9;
            for (int run = 0; run < options.repeat; ++run) {
                const double before = ChildrenCpu();
                theirs_size = RunChmcmd(options.chmcmd, folder, book_file);
                theirs_best = std::min(theirs_best, ChildrenCpu() - before);
            }
        }
        std::printf("%-28s %10.1f | %10.1f %8.3f | %10.1f %8.3f | %6.2f\n", project.name.c_str(),
                    project.input_bytes / 1024.0, ours_size / 1024.0, ours_best, theirs_size / 1024.0, theirs_best,
                    theirs_size ? static_cast<double>(ours_size) / theirs_size : 0.0);
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("window 2^%d bytes, reset every %d frames; peak memory of this process %.1f MB\n", options.window_bits,
                options.reset_frames, usage.ru_maxrss / 1024.0);
    return 0;
}
