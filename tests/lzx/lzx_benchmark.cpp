// Not a test: compresses a file or a made-up GBK book and prints input size, output size, ratio and
// processor time. With --write-project it also writes the book's pages and a .hhp project, so that
// another CHM compiler can be measured on the very same pages.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

#include "chm/lzx/lzx_compressor.h"
#include "tests/lzx/gbk_corpus.h"

namespace {

constexpr const char* kUsage =
    "usage: lzx_benchmark [options] [FILE]\n"
    "Compresses FILE (or a made-up GBK book) as a CHM content section and prints the sizes and the\n"
    "processor time.\n"
    "  --corpus-mb N         size of the made-up book, in MB (default 5; pages of about 100 KB)\n"
    "  --window-bits N       15..21 (default 16)\n"
    "  --frames-per-reset N  (default 2)\n"
    "  --effort N            0..2 (default 1)\n"
    "  --store               uncompressed blocks only\n"
    "  --repeat N            compress N times and report the fastest run (default 3)\n"
    "  --write-project DIR   also write the book's pages and DIR/book.hhp (DIR must exist)\n"
    "  --help                this text\n";

double CpuSeconds() {
#ifdef _WIN32
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto seconds = [](const FILETIME& t) {
        return static_cast<double>((uint64_t{t.dwHighDateTime} << 32) | t.dwLowDateTime) / 1e7;
    };
    return seconds(kernel) + seconds(user);
#else
    return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
#endif
}

class CountingSink : public lzx::ByteSink {
  public:
    void Put(std::string_view bytes) override { count_ += bytes.size(); }
    uint64_t Count() const { return count_; }

  private:
    uint64_t count_ = 0;
};

bool WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

bool WriteProject(const std::string& dir, const std::vector<std::string>& pages) {
    std::string hhp =
        "[OPTIONS]\r\nCompatibility=1.1 or later\r\nCompiled file=book.chm\r\nDefault topic=p0001.htm\r\n"
        "Language=0x804\r\nTitle=book\r\n\r\n[FILES]\r\n";
    for (size_t i = 0; i < pages.size(); ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "p%04zu.htm", i + 1);
        if (!WriteFile(dir + "/" + name, pages[i])) {
            return false;
        }
        hhp += std::string(name) + "\r\n";
    }
    return WriteFile(dir + "/book.hhp", hhp);
}

}  // namespace

int main(int argc, char** argv) {
    lzx::LzxSettings settings;
    double corpus_mb = 5;
    int repeat = 3;
    std::string file;
    std::string project_dir;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&]() -> std::string { return i + 1 < argc ? argv[++i] : ""; };
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (arg == "--corpus-mb") {
            corpus_mb = std::atof(value().c_str());
        } else if (arg == "--window-bits") {
            settings.window_bits = std::atoi(value().c_str());
        } else if (arg == "--frames-per-reset") {
            settings.frames_per_reset = std::atoi(value().c_str());
        } else if (arg == "--effort") {
            settings.effort = std::atoi(value().c_str());
        } else if (arg == "--store") {
            settings.store_only = true;
        } else if (arg == "--repeat") {
            repeat = std::max(1, std::atoi(value().c_str()));
        } else if (arg == "--write-project") {
            project_dir = value();
        } else if (!arg.empty() && arg[0] != '-') {
            file = arg;
        } else {
            std::fprintf(stderr, "unknown option %s\n%s", arg.c_str(), kUsage);
            return 2;
        }
    }

    std::string input;
    if (!file.empty()) {
        std::ifstream in(file, std::ios::binary);
        if (!in) {
            std::fprintf(stderr, "cannot read %s\n", file.c_str());
            return 1;
        }
        input.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    } else {
        const auto bytes = static_cast<size_t>(corpus_mb * 1024 * 1024);
        const std::vector<std::string> pages = lzx_test::GbkPages(bytes, 100 * 1024, 1);
        for (const std::string& page : pages) {
            input += page;
        }
        if (!project_dir.empty() && !WriteProject(project_dir, pages)) {
            std::fprintf(stderr, "cannot write the project into %s\n", project_dir.c_str());
            return 1;
        }
    }

    double best = 1e30;
    uint64_t output = 0;
    size_t frames = 0;
    for (int run = 0; run < repeat; ++run) {
        CountingSink sink;
        const double start = CpuSeconds();
        lzx::LzxCompressor compressor(settings, sink);
        // Pieces of 64 KB, as a container streams its files in.
        for (size_t at = 0; at < input.size(); at += 65536) {
            compressor.Write(std::string_view(input).substr(at, 65536));
        }
        compressor.Finish();
        best = std::min(best, CpuSeconds() - start);
        output = sink.Count();
        frames = compressor.FrameOffsets().size();
    }
    std::printf("input bytes:  %zu\n", input.size());
    std::printf("output bytes: %llu (%zu frames)\n", static_cast<unsigned long long>(output), frames);
    std::printf("ratio:        %.4f\n", input.empty() ? 0.0 : static_cast<double>(output) / input.size());
    std::printf("cpu seconds:  %.3f (fastest of %d)\n", best, repeat);
    std::printf("speed:        %.1f MB/s\n", best > 0 ? input.size() / best / 1048576.0 : 0.0);
    return 0;
}
