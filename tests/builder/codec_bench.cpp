// Times the text codecs and the character stepping, and prints the figures. Not a test.
//
//   codec_bench [--megabytes M] [--repeat R]
//
// Encoding to code page 936: 2 MB of Chinese and 2 MB of Korean UTF-8 (every Korean character
// becomes a character reference). Then, over M MB (default 20) of a Chinese story in each source
// encoding: detection, stepping by characters (whole text, and in pieces of 51,200 characters as
// the run cuts them), decoding to UTF-8, and the check for bytes writable as they are. Each
// figure is the best of R turns (default 3).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>

#include "builder/codepages.h"
#include "builder/source_chars.h"
#include "builder/source_encoding.h"
#include "tests/builder/encoding_samples.h"
#include "tests/builder/encoding_test_support.h"

namespace {

constexpr size_t kPieceChars = 100 * 512;

double Seconds(const std::function<void()>& work, int repeat) {
    double best = 1e30;
    for (int i = 0; i < repeat; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        best = std::min(best, took.count());
    }
    return best;
}

std::string Repeated(std::string_view text, size_t bytes) {
    std::string out;
    out.reserve(bytes + text.size());
    while (out.size() < bytes)
        out += text;
    return out;
}

// Korean prose: syllables in words of two to four, blanks and punctuation between them.
std::string KoreanUtf8(size_t bytes) {
    std::string text;
    unsigned state = 12345;
    while (text.size() < bytes) {
        const unsigned syllables = 2 + (state >> 16) % 3;
        for (unsigned i = 0; i < syllables; ++i) {
            state = state * 1103515245u + 12345u;
            const unsigned c = 0xAC00 + (state >> 8) % 11172;
            text += static_cast<char>(0xE0 | (c >> 12));
            text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            text += static_cast<char>(0x80 | (c & 0x3F));
        }
        text += (state >> 20) % 9 == 0 ? ".\r\n" : " ";
    }
    return text;
}

void PrintRate(const char* what, size_t bytes, double seconds) {
    std::printf("  %-44s %8.1f ms  %8.1f MB/s\n", what, seconds * 1000.0, static_cast<double>(bytes) / 1e6 / seconds);
}

}  // namespace

int main(int argc, char** argv) {
    size_t megabytes = 20;
    int repeat = 3;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--megabytes") == 0 && i + 1 < argc) {
            megabytes = static_cast<size_t>(std::atoi(argv[++i]));
        } else if (std::strcmp(argv[i], "--repeat") == 0 && i + 1 < argc) {
            repeat = std::atoi(argv[++i]);
        } else {
            std::printf("usage: codec_bench [--megabytes M] [--repeat R]\n");
            std::printf("Times code page 936 encoding of 2 MB of Chinese and of Korean, then detection, stepping,\n");
            std::printf("decoding and the writable check over M MB (default 20) per source encoding,\n");
            std::printf("best of R turns (default 3).\n");
            return std::strcmp(argv[i], "--help") == 0 ? 0 : 2;
        }
    }
    if (megabytes == 0 || repeat <= 0)
        return 2;

    std::printf("Loading the code page tables (first use):\n");
    for (CodePage page : {CodePage::kCp936, CodePage::kGb18030, CodePage::kBig5}) {
        const char* name = page == CodePage::kCp936 ? "936" : page == CodePage::kGb18030 ? "GB18030" : "Big5";
        const double took = Seconds([&] { GetCodePageTable(page); }, 1);
        std::printf("  %-44s %8.1f ms\n", name, took * 1000.0);
    }
    std::printf("  %-44s %8.1f ms\n", "936 codes for encoding", Seconds([] { Cp936CodeFor(0x4E2D); }, 1) * 1000.0);

    const std::string story = std::string(samples::kSimplifiedUtf8) + std::string(samples::kTraditionalUtf8);
    const size_t two_mb = 2 * 1024 * 1024;
    const std::string chinese = Repeated(story, two_mb);
    const std::string korean = KoreanUtf8(two_mb);
    size_t sink = 0;
    // Whole, and in pieces of 51,200 characters as the run converts them.
    auto encode = [&](const std::string& text, bool pieces) {
        if (!pieces) {
            sink += platform::EncodeCp936(text).size();
            return;
        }
        for (size_t pos = 0; pos < text.size();) {
            const size_t end = AdvanceSourceChars(text, pos, kPieceChars, SourceEncoding::kUtf8, nullptr);
            sink += platform::EncodeCp936(std::string_view(text).substr(pos, end - pos)).size();
            pos = end;
        }
    };
    for (bool pieces : {false, true}) {
        std::printf("EncodeCp936, 2 MB of UTF-8%s:\n", pieces ? " in pieces of 51,200 characters" : " in one call");
        const double chinese_seconds = Seconds([&] { encode(chinese, pieces); }, repeat);
        const double korean_seconds = Seconds([&] { encode(korean, pieces); }, repeat);
        PrintRate("Chinese", chinese.size(), chinese_seconds);
        PrintRate("Korean (all character references)", korean.size(), korean_seconds);
        std::printf("  Korean / Chinese time: %.2f\n", korean_seconds / chinese_seconds);
    }

    const size_t bytes = megabytes * 1024 * 1024;
    struct Corpus {
        const char* name;
        SourceEncoding encoding;
        std::string text;
    };
    const Corpus corpora[] = {
        {"GBK", SourceEncoding::kGb18030, Repeated(samples::kStoryGbk, bytes)},
        {"GB18030 (four-byte lines)", SourceEncoding::kGb18030,
         Repeated(std::string(samples::kStoryGbk) + std::string(samples::kFourByteLineGb18030), bytes)},
        {"Big5", SourceEncoding::kBig5, Repeated(samples::kTraditionalBig5, bytes)},
        {"UTF-8", SourceEncoding::kUtf8, Repeated(story, bytes)},
        {"UTF-16LE", SourceEncoding::kUtf16Le, Repeated(Utf16Of(story, false), bytes)},
    };
    for (const Corpus& corpus : corpora) {
        const std::string& text = corpus.text;
        std::printf("%s, %.1f MB:\n", corpus.name, static_cast<double>(text.size()) / (1024.0 * 1024.0));
        EncodingChoice choice;
        PrintRate("DetectSourceEncoding", text.size(), Seconds([&] { choice = DetectSourceEncoding(text); }, repeat));
        std::printf("    detected: %s\n", DescribeEncoding(choice, HasGb18030FourByteChars(text)).c_str());
        size_t chars = 0;
        PrintRate(
            "AdvanceSourceChars, whole text", text.size(),
            Seconds([&] { AdvanceSourceChars(text, 0, static_cast<size_t>(-1), corpus.encoding, &chars); }, repeat));
        PrintRate("AdvanceSourceChars, pieces of 51,200", text.size(),
                  Seconds(
                      [&] {
                          for (size_t pos = 0; pos < text.size();)
                              pos = AdvanceSourceChars(text, pos, kPieceChars, corpus.encoding, nullptr);
                      },
                      repeat));
        std::string utf8;
        PrintRate("DecodeSourceText", text.size(),
                  Seconds(
                      [&] {
                          utf8.clear();
                          DecodeSourceText(text, corpus.encoding, utf8);
                      },
                      repeat));
        bool writable = false;
        PrintRate("WritableAsCp936", text.size(),
                  Seconds([&] { writable = WritableAsCp936(text, corpus.encoding); }, repeat));
        PrintRate("EncodeCp936 of the decoded text", utf8.size(),
                  Seconds([&] { sink += platform::EncodeCp936(utf8).size(); }, repeat));
        std::printf("    %zu characters, writable as they are: %s\n", chars, writable ? "yes" : "no");
    }
    return sink == 0 ? 1 : 0;
}
