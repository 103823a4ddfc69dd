#include "tests/lzx/gbk_corpus.h"

#include <algorithm>
#include <cmath>

namespace lzx_test {
namespace {

class Random {
  public:
    explicit Random(uint64_t seed) : state_(seed) {}
    uint64_t Next() {
        uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    size_t Below(size_t n) { return static_cast<size_t>(Next() % n); }

  private:
    uint64_t state_;
};

// Picks ranks 0..n-1 with weight 1/(rank+1)^s.
class Zipf {
  public:
    Zipf(size_t n, double s) : cumulative_(n) {
        double sum = 0;
        for (size_t i = 0; i < n; ++i) {
            sum += 1.0 / std::pow(static_cast<double>(i + 1), s);
            cumulative_[i] = sum;
        }
    }
    size_t Pick(Random& random) const {
        const double target = static_cast<double>(random.Next() >> 11) / 9007199254740992.0 * cumulative_.back();
        return static_cast<size_t>(std::lower_bound(cumulative_.begin(), cumulative_.end(), target) -
                                   cumulative_.begin());
    }

  private:
    std::vector<double> cumulative_;
};

constexpr const char* kComma = "\xA3\xAC";
constexpr const char* kEnds[] = {"\xA1\xA3", "\xA1\xA3", "\xA1\xA3", "\xA3\xA1", "\xA3\xBF"};
constexpr const char* kOpenQuote = "\xA1\xB0";
constexpr const char* kCloseQuote = "\xA1\xB1";
constexpr const char* kColon = "\xA3\xBA";
constexpr const char* kIndent = "\xA1\xA1\xA1\xA1";

class Writer {
  public:
    explicit Writer(uint64_t seed) : random_(seed), chars_(3755, 1.0), words_(6000, 1.1) {
        // GB2312 level one: rows 0xB0..0xD7, columns 0xA1..0xFE (the last row ends at 0xF9).
        std::vector<uint16_t> all;
        for (int row = 0xB0; row <= 0xD7; ++row) {
            for (int col = 0xA1; col <= (row == 0xD7 ? 0xF9 : 0xFE); ++col) {
                all.push_back(static_cast<uint16_t>(row << 8 | col));
            }
        }
        for (size_t i = all.size() - 1; i > 0; --i) {
            std::swap(all[i], all[random_.Below(i + 1)]);
        }
        for (size_t w = 0; w < 6000; ++w) {
            const size_t roll = random_.Below(100);
            const size_t length = roll < 30 ? 1 : roll < 80 ? 2 : roll < 92 ? 3 : 4;
            std::string word;
            for (size_t c = 0; c < length; ++c) {
                const uint16_t code = all[chars_.Pick(random_)];
                word.push_back(static_cast<char>(code >> 8));
                word.push_back(static_cast<char>(code & 0xFF));
            }
            vocabulary_.push_back(word);
        }
    }

    void Sentence(std::string& out) {
        const bool spoken = random_.Below(5) == 0;
        if (spoken) {
            out += vocabulary_[words_.Pick(random_)];
            out += kColon;
            out += kOpenQuote;
        }
        const size_t clauses = 1 + random_.Below(3);
        for (size_t c = 0; c < clauses; ++c) {
            const size_t count = 2 + random_.Below(7);
            for (size_t w = 0; w < count; ++w) {
                out += vocabulary_[words_.Pick(random_)];
            }
            out += c + 1 < clauses ? kComma : kEnds[random_.Below(5)];
        }
        if (spoken) {
            out += kCloseQuote;
        }
    }

    std::string Page(size_t bytes, size_t number) {
        std::string page =
            "<html>\r\n<head>\r\n<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\">\r\n"
            "<title>\xB5\xDA" +
            std::to_string(number) + "\xD5\xC2</title>\r\n</head>\r\n<body>\r\n";
        while (page.size() < bytes) {
            page += kIndent;
            const size_t sentences = 1 + random_.Below(6);
            for (size_t s = 0; s < sentences; ++s) {
                Sentence(page);
            }
            page += "<br>\r\n<br>\r\n";
        }
        page += "</body>\r\n</html>\r\n";
        return page;
    }

  private:
    Random random_;
    Zipf chars_;
    Zipf words_;
    std::vector<std::string> vocabulary_;
};

}  // namespace

std::vector<std::string> GbkPages(size_t total_bytes, size_t page_bytes, uint64_t seed) {
    Writer writer(seed);
    std::vector<std::string> pages;
    size_t made = 0;
    while (made < total_bytes) {
        pages.push_back(writer.Page(std::min(page_bytes, total_bytes - made), pages.size() + 1));
        made += pages.back().size();
    }
    return pages;
}

std::string GbkCorpus(size_t total_bytes, uint64_t seed) {
    std::string all;
    for (const std::string& page : GbkPages(total_bytes, 100 * 1024, seed)) {
        all += page;
    }
    return all;
}

}  // namespace lzx_test
