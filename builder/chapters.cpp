#include "builder/chapters.h"

#include <algorithm>
#include <array>
#include <bitset>

#include "builder/unicode_text.h"

namespace {

// In half-width units: 30 Chinese characters, or 60 ASCII ones for an English title.
constexpr size_t kMaxTitleWidth = 60;
constexpr size_t kMaxNumeralChars = 16;
// Nine digits still fit a 32-bit long.
constexpr size_t kMaxArabicDigits = 9;

enum class NumberForm { kNone, kChinese, kArabic, kRoman, kWords };

struct Parts {
    HeadingKind kind = HeadingKind::kChapter;
    size_t label_begin = 0;
    size_t label_end = 0;
    size_t number_begin = 0;
    size_t number_end = 0;
    NumberForm form = NumberForm::kNone;
    // Whether a title may follow with nothing between: "序幕拉开了" or "Chapters" are no headings.
    bool direct_title = false;
    bool english = false;
    size_t title_begin = 0;
    size_t title_end = 0;
};

char32_t At(std::string_view s, size_t pos, size_t* length) {
    if (pos >= s.size()) {
        *length = 0;
        return 0;
    }
    return NextCodePoint(s, pos, length);
}

// The code point that ends at `end`; a broken sequence reads as one U+FFFD byte.
char32_t Before(std::string_view s, size_t end, size_t* start) {
    size_t pos = end - 1;
    while (pos > 0 && end - pos < 4 && (static_cast<unsigned char>(s[pos]) & 0xC0) == 0x80)
        --pos;
    size_t length = 0;
    char32_t c = NextCodePoint(s, pos, &length);
    if (pos + length != end) {
        *start = end - 1;
        return 0xFFFD;
    }
    *start = pos;
    return c;
}

// A byte-order mark left on a file's first line counts as a blank, and so does a stray CR.
constexpr std::u32string_view kBlanks = U" \t\r\u3000\u00A0\uFEFF";

bool IsBlank(char32_t c) {
    return kBlanks.find(c) != kBlanks.npos;
}

bool In(std::u32string_view set, char32_t c) {
    return set.find(c) != set.npos;
}

// Brackets and decorations that some sites put around headings: "【第一章】", "☆第一章☆".
constexpr std::u32string_view kOpeners = U"【〖[［〔";
constexpr std::u32string_view kClosers = U"】〗]］〕";
constexpr std::u32string_view kDecorations = U"☆★◆◇○●■□※*＊=＝~～#＃-－—";

// Every character a heading can start with, sorted for a binary search: the one test most lines fail.
constexpr auto kFirstCharacters = [] {
    constexpr std::u32string_view kLabelStarts = U"第卷序楔引前尾后後番终終CcPpEe";
    std::array<char32_t, kLabelStarts.size() + kOpeners.size() + kDecorations.size()> all{};
    auto end = std::copy(kLabelStarts.begin(), kLabelStarts.end(), all.begin());
    end = std::copy(kOpeners.begin(), kOpeners.end(), end);
    std::copy(kDecorations.begin(), kDecorations.end(), end);
    std::sort(all.begin(), all.end());
    return all;
}();

bool IsSeparator(char32_t c) {
    return IsBlank(c) || In(U"：:、.．·", c);
}

bool IsAsciiLetter(char32_t c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsArabicDigit(char32_t c) {
    return (c >= '0' && c <= '9') || (c >= U'０' && c <= U'９');
}

constexpr std::array<std::u32string_view, 10> kDigits = {U"零〇", U"一壹",   U"二两兩贰貳", U"三叁參", U"四肆",
                                                         U"五伍", U"六陆陸", U"七柒",       U"八捌",   U"九玖"};
constexpr std::array<std::u32string_view, 4> kUnits = {U"十拾", U"百佰", U"千仟", U"万萬"};

int ChineseDigit(char32_t c) {
    for (size_t d = 0; d < kDigits.size(); ++d) {
        if (In(kDigits[d], c))
            return static_cast<int>(d);
    }
    return -1;
}

long ChineseUnit(char32_t c) {
    long unit = 10;
    for (std::u32string_view forms : kUnits) {
        if (In(forms, c))
            return unit;
        unit *= 10;
    }
    return 0;
}

bool IsChineseNumeral(char32_t c) {
    static const std::bitset<0x10000> kNumerals = [] {
        std::bitset<0x10000> numerals;
        for (std::u32string_view forms : kDigits) {
            for (char32_t form : forms)
                numerals[form] = true;
        }
        for (std::u32string_view forms : kUnits) {
            for (char32_t form : forms)
                numerals[form] = true;
        }
        return numerals;
    }();
    return c < 0x10000 && kNumerals[c];
}

// Skips a number of Chinese numerals or of half- and full-width digits at `pos`.
size_t SkipNumber(std::string_view s, size_t pos, NumberForm* form) {
    size_t length = 0;
    size_t count = 0;
    size_t end = pos;
    char32_t c = At(s, pos, &length);
    if (IsArabicDigit(c)) {
        while (IsArabicDigit(At(s, end, &length)))
            end += length, ++count;
        *form = NumberForm::kArabic;
        return count <= kMaxArabicDigits ? end : pos;
    }
    while (IsChineseNumeral(c = At(s, end, &length)))
        end += length, ++count;
    *form = NumberForm::kChinese;
    return count <= kMaxNumeralChars ? end : pos;
}

size_t SkipBlanks(std::string_view s, size_t pos) {
    size_t length = 0;
    while (pos < s.size() && IsBlank(At(s, pos, &length)))
        pos += length;
    return pos;
}

bool StartsWithIgnoringAsciiCase(std::string_view s, size_t pos, std::string_view word) {
    return s.size() - pos >= word.size() && CompareIgnoringAsciiCase(s.substr(pos, word.size()), word) == 0;
}

// Running text goes on from a heading word: 第三章的, 第三章，, 第一章节.
bool GoesOnAsText(char32_t next) {
    return In(U"的，,。节節", next);
}

// 第 [blanks] number [blanks] 章/回/节/集/卷/部/篇, or 第N部分.
bool ParseOrdinal(std::string_view s, size_t pos, Parts& parts) {
    size_t length = 0;
    At(s, pos, &length);  // 第
    size_t number_begin = SkipBlanks(s, pos + length);
    size_t number_end = SkipNumber(s, number_begin, &parts.form);
    if (number_end == number_begin)
        return false;
    size_t word = SkipBlanks(s, number_end);
    char32_t c = At(s, word, &length);
    if (In(U"卷部集", c))
        parts.kind = HeadingKind::kVolume;
    else if (!In(U"章回节節篇", c))
        return false;
    size_t end = word + length;
    char32_t next = At(s, end, &length);
    if (c == U'部' && next == U'分')
        end += length;
    // As measure words 部, 集, 篇, 回 and 节 go on into running text ("第一部手机", "第一回来"), so only
    // 章 and 卷 take a title without a separator.
    parts.direct_title = (c == U'章' || c == U'卷') && !GoesOnAsText(next);
    parts.number_begin = number_begin;
    parts.number_end = number_end;
    parts.label_end = end;
    return true;
}

// 序, 楔子, 番外 and the like, with an optional number ("番外二") and 篇 ("番外篇").
bool ParseNamed(std::string_view s, size_t pos, Parts& parts) {
    // Longer words before their prefixes.
    static constexpr std::array<std::string_view, 16> kWords = {"序章", "序言", "序幕", "序曲", "序",   "楔子",
                                                                "引子", "引言", "前言", "尾声", "尾聲", "后记",
                                                                "後記", "番外", "终章", "終章"};
    for (std::string_view word : kWords) {
        if (s.substr(pos, word.size()) != word)
            continue;
        size_t end = pos + word.size();
        size_t number_end = SkipNumber(s, end, &parts.form);
        if (number_end != end) {
            parts.number_begin = end;
            parts.number_end = number_end;
            end = number_end;
        }
        size_t length = 0;
        if (At(s, end, &length) == U'篇')
            end += length;
        parts.kind = HeadingKind::kChapter;
        parts.label_end = end;
        return true;
    }
    return false;
}

// 卷 + number: "卷一", "卷十二 风起".
bool ParseVolumeFirst(std::string_view s, size_t pos, Parts& parts) {
    size_t length = 0;
    At(s, pos, &length);
    size_t number_end = SkipNumber(s, pos + length, &parts.form);
    if (number_end == pos + length)
        return false;
    parts.kind = HeadingKind::kVolume;
    parts.number_begin = pos + length;
    parts.number_end = number_end;
    parts.label_end = number_end;
    return true;
}

constexpr std::array<std::string_view, 20> kOnes = {
    "zero", "one",    "two",    "three",    "four",     "five",    "six",     "seven",     "eight",    "nine",
    "ten",  "eleven", "twelve", "thirteen", "fourteen", "fifteen", "sixteen", "seventeen", "eighteen", "nineteen"};
constexpr std::array<std::string_view, 8> kTens = {"twenty", "thirty",  "forty",  "fifty",
                                                   "sixty",  "seventy", "eighty", "ninety"};

size_t SkipLetters(std::string_view s, size_t pos) {
    while (pos < s.size() && IsAsciiLetter(static_cast<unsigned char>(s[pos])))
        ++pos;
    return pos;
}

template <size_t N>
int FindWord(const std::array<std::string_view, N>& words, std::string_view word) {
    for (size_t i = 0; i < N; ++i) {
        if (words[i].size() == word.size() && CompareIgnoringAsciiCase(words[i], word) == 0)
            return static_cast<int>(i);
    }
    return -1;
}

// Reads a number in words at `pos` ("Twelve", "twenty-one", "Twenty One"); returns where it ends, or `pos`.
size_t ReadWords(std::string_view s, size_t pos, long* value) {
    size_t end = SkipLetters(s, pos);
    if (int one = FindWord(kOnes, s.substr(pos, end - pos)); one >= 0) {
        *value = one;
        return end;
    }
    int ten = FindWord(kTens, s.substr(pos, end - pos));
    if (ten < 0)
        return pos;
    *value = 20 + 10 * ten;
    if (end < s.size() && (s[end] == '-' || s[end] == ' ')) {
        size_t unit_end = SkipLetters(s, end + 1);
        int one = FindWord(kOnes, s.substr(end + 1, unit_end - end - 1));
        if (one >= 1 && one <= 9) {
            *value += one;
            return unit_end;
        }
    }
    return end;
}

std::optional<long> WordsValue(std::string_view text) {
    long value = 0;
    return ReadWords(text, 0, &value) == text.size() ? std::optional<long>(value) : std::nullopt;
}

std::optional<long> RomanValue(std::string_view text) {
    auto digit = [](char c) -> long {
        static constexpr long kValues[] = {1, 5, 10, 50, 100, 500, 1000};
        size_t at = std::string_view("ivxlcdm").find(static_cast<char>(c | 0x20));
        return at == std::string_view::npos ? 0 : kValues[at];
    };
    long value = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        long v = digit(text[i]);
        if (v == 0)
            return std::nullopt;
        value += i + 1 < text.size() && digit(text[i + 1]) > v ? -v : v;
    }
    if (value <= 0 || value >= 4000)
        return std::nullopt;
    // Only the canonical spelling counts, so "IIII" or "VX" is no number.
    static constexpr long kSteps[] = {1000, 900, 500, 400, 100, 90, 50, 40, 10, 9, 5, 4, 1};
    static constexpr std::string_view kLetters[] = {"M",  "CM", "D",  "CD", "C",  "XC", "L",
                                                    "XL", "X",  "IX", "V",  "IV", "I"};
    std::string canonical;
    long rest = value;
    for (size_t i = 0; i < std::size(kSteps); ++i) {
        for (; rest >= kSteps[i]; rest -= kSteps[i])
            canonical += kLetters[i];
    }
    if (CompareIgnoringAsciiCase(canonical, text) != 0)
        return std::nullopt;
    return value;
}

// "Chapter 12", "CHAPTER XII", "Chapter Twenty-One"; "Prologue", "Epilogue".
bool ParseEnglish(std::string_view s, size_t pos, Parts& parts) {
    parts.english = true;
    for (std::string_view word : {std::string_view("prologue"), std::string_view("epilogue")}) {
        if (StartsWithIgnoringAsciiCase(s, pos, word) && SkipLetters(s, pos) == pos + word.size()) {
            parts.label_end = pos + word.size();
            return true;
        }
    }
    if (!StartsWithIgnoringAsciiCase(s, pos, "chapter"))
        return false;
    size_t number_begin = SkipBlanks(s, pos + 7);
    if (number_begin == pos + 7)
        return false;
    size_t length = 0;
    size_t number_end = SkipNumber(s, number_begin, &parts.form);
    if (number_end == number_begin || parts.form != NumberForm::kArabic) {
        long unused = 0;
        number_end = ReadWords(s, number_begin, &unused);
        parts.form = NumberForm::kWords;
        if (number_end == number_begin) {
            number_end = SkipLetters(s, number_begin);
            parts.form = NumberForm::kRoman;
            // "XII" or "xii", but "Mix" is a word.
            std::string_view roman = s.substr(number_begin, number_end - number_begin);
            if (!RomanValue(roman) || roman.find_first_not_of(roman[0] & 0x20 ? "ivxlcdm" : "IVXLCDM") != roman.npos)
                return false;
        }
    }
    char32_t next = At(s, number_end, &length);
    if (IsAsciiLetter(next) || IsArabicDigit(next))
        return false;
    parts.number_begin = number_begin;
    parts.number_end = number_end;
    parts.label_end = number_end;
    return true;
}

bool ParseLabel(std::string_view s, size_t pos, char32_t first, Parts& parts) {
    parts.label_begin = pos;
    if (first == U'第')
        return ParseOrdinal(s, pos, parts);
    if (first == U'卷')
        return ParseVolumeFirst(s, pos, parts);
    if (In(U"序楔引前尾后後番终終", first))
        return ParseNamed(s, pos, parts);
    if (In(U"CcPpEe", first))
        return ParseEnglish(s, pos, parts);
    return false;
}

std::string_view StripRoundBrackets(std::string_view title) {
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 2> kPairs = {{{"（", "）"}, {"(", ")"}}};
    for (auto [open, close] : kPairs) {
        if (title.size() > open.size() + close.size() && title.substr(0, open.size()) == open &&
            title.substr(title.size() - close.size()) == close)
            return title.substr(open.size(), title.size() - open.size() - close.size());
    }
    return title;
}

// Lines such as "第一卷 完" close a volume rather than open one.
bool IsEndMark(std::string_view title) {
    static constexpr std::array<std::string_view, 8> kMarks = {"完",   "终",   "終",   "完结",
                                                               "完結", "结束", "結束", "全文完"};
    return std::find(kMarks.begin(), kMarks.end(), StripRoundBrackets(title)) != kMarks.end();
}

// A title is short and reads like a title, not like a sentence of running text.
bool IsTitle(std::string_view title) {
    size_t width = 0;
    size_t length = 0;
    for (size_t pos = 0; pos < title.size(); pos += length) {
        char32_t c = NextCodePoint(title, pos, &length);
        if (c == U'。')
            return false;
        width += c < 0x80 ? 1 : 2;
    }
    if (width > kMaxTitleWidth || IsEndMark(title))
        return false;
    if (title.empty())
        return true;
    size_t start = 0;
    char32_t last = Before(title, title.size(), &start);
    if (last == U'，' || last == U',' || last == U'；' || last == U';')
        return false;
    // One full stop ends an English sentence; "..." is an ellipsis.
    return last != '.' || (start > 0 && title[start - 1] == '.');
}

// The brackets, decorations and blanks a heading may start with, then its label.
bool ParseStart(std::string_view s, Parts& parts, bool* bracketed) {
    size_t length = 0;
    size_t pos = 0;
    char32_t c;
    for (;; pos += length) {
        c = At(s, pos, &length);
        if (In(kOpeners, c))
            *bracketed = true;
        else if (!In(kDecorations, c) && !IsBlank(c))
            break;
    }
    return ParseLabel(s, pos, c, parts);
}

}  // namespace

// Every character that ParseStart steps over: from the start of a line, it reads nothing beyond
// the first character that is not one of these. Keep in step with the parsers above.
bool MayBeInHeadingStart(char32_t c) {
    static const std::bitset<0x10000> kInStart = [] {
        constexpr std::u32string_view kLabelCharacters = U"第卷章回节節篇部集分序言幕曲楔子引前尾声聲后记後記番外终終";
        constexpr std::u32string_view kAsciiInStart = U"-*=~#[";
        std::u32string all;
        for (std::u32string_view set : {kBlanks, kOpeners, kDecorations, kLabelCharacters, kAsciiInStart})
            all += set;
        for (std::u32string_view forms : kDigits)
            all += forms;
        for (std::u32string_view forms : kUnits)
            all += forms;
        for (char32_t c = 0; c < 10; ++c)
            all += {U'0' + c, U'０' + c};
        for (char32_t c = 0; c < 26; ++c)
            all += {U'a' + c, U'A' + c};
        std::bitset<0x10000> in;
        for (char32_t c : all)
            in[c] = true;
        return in;
    }();
    return c < 0x10000 && kInStart[c];
}

namespace {

std::optional<Parts> Parse(std::string_view s) {
    Parts parts;
    bool bracketed = false;
    if (!ParseStart(s, parts, &bracketed))
        return std::nullopt;
    size_t length = 0;
    size_t pos = 0;
    char32_t c;
    auto is_trim = [bracketed](char32_t c) {
        return IsBlank(c) || In(kDecorations, c) || (bracketed && In(kClosers, c));
    };
    size_t end = s.size();
    while (end > parts.label_end) {
        size_t start = 0;
        if (!is_trim(Before(s, end, &start)))
            break;
        end = start;
    }
    pos = parts.label_end;
    bool only_blanks = true;
    while (pos < end && (is_trim(c = At(s, pos, &length)) || IsSeparator(c))) {
        only_blanks = only_blanks && IsBlank(c);
        pos += length;
    }
    if (pos == parts.label_end && pos < end && !parts.direct_title)
        return std::nullopt;
    // "Chapter 3 was the best": an English title starts with a capital or follows a colon.
    if (parts.english && only_blanks && pos < end && s[pos] >= 'a' && s[pos] <= 'z')
        return std::nullopt;
    parts.title_begin = pos;
    parts.title_end = end;
    if (!IsTitle(s.substr(pos, end - pos)))
        return std::nullopt;
    return parts;
}

std::string_view TrimBlanks(std::string_view s) {
    size_t begin = SkipBlanks(s, 0);
    size_t end = s.size();
    while (end > begin) {
        size_t start = 0;
        if (!IsBlank(Before(s, end, &start)))
            break;
        end = start;
    }
    return s.substr(begin, end - begin);
}

std::optional<long> ChineseValue(std::string_view text) {
    bool positional = true;
    size_t length = 0;
    for (size_t pos = 0; pos < text.size(); pos += length)
        positional = positional && ChineseUnit(NextCodePoint(text, pos, &length)) == 0;
    long value = 0;
    if (positional) {
        // 一〇三: digit by digit.
        size_t count = 0;
        for (size_t pos = 0; pos < text.size(); pos += length, ++count)
            value = value * 10 + ChineseDigit(NextCodePoint(text, pos, &length));
        return count <= kMaxArabicDigits ? std::optional<long>(value) : std::nullopt;
    }
    long section = 0;
    int digit = -1;      // waiting for its unit
    long last_unit = 0;  // the unit before, which the next one must be smaller than
    bool zero = false;   // a 零 since that unit
    bool seen_wan = false;
    for (size_t pos = 0; pos < text.size(); pos += length) {
        char32_t c = NextCodePoint(text, pos, &length);
        int d = ChineseDigit(c);
        if (d == 0) {
            if (digit >= 0 || last_unit == 0)
                return std::nullopt;
            zero = true;
        } else if (d > 0) {
            if (digit >= 0)
                return std::nullopt;
            digit = d;
        } else if (long unit = ChineseUnit(c); unit == 10000) {
            long part = section + (digit >= 0 ? digit : 0);
            if (seen_wan || part == 0)
                return std::nullopt;
            value = part * 10000;
            section = 0, digit = -1, last_unit = unit, zero = false, seen_wan = true;
        } else {
            if (last_unit != 0 && unit >= last_unit)
                return std::nullopt;
            // 十一 is ten and one; 百 alone is no number.
            if (digit < 0 && unit != 10)
                return std::nullopt;
            section += (digit >= 0 ? digit : 1) * unit;
            digit = -1, last_unit = unit, zero = false;
        }
    }
    if (digit >= 0)
        // 一百三 is 130 and 两万五 25000, but 一百零三 is 103.
        section += !zero && last_unit >= 100 ? digit * (last_unit / 10) : digit;
    return value + section;
}

std::optional<long> ArabicValue(std::string_view text) {
    long value = 0;
    size_t length = 0;
    for (size_t pos = 0; pos < text.size(); pos += length) {
        char32_t c = NextCodePoint(text, pos, &length);
        value = value * 10 + static_cast<long>(c >= U'０' ? c - U'０' : c - '0');
    }
    return value;
}

}  // namespace

bool StandsAfterVolumes(const Heading& heading) {
    for (std::string_view word : {"尾声", "尾聲", "后记", "後記", "番外", "Epilogue", "EPILOGUE", "epilogue"}) {
        if (heading.kind == HeadingKind::kChapter && heading.label.starts_with(word))
            return true;
    }
    return false;
}

std::u32string_view HeadingFirstCharacters() {
    return std::u32string_view(kFirstCharacters.data(), kFirstCharacters.size());
}

bool MayBeHeadingStart(std::string_view start) {
    if (start.empty())
        return true;
    size_t last = 0;
    if (MayBeInHeadingStart(Before(start, start.size(), &last)))
        return true;
    // The label is decided by the characters up to this one, which the line has too.
    Parts parts;
    bool bracketed = false;
    return ParseStart(TrimBlanks(start), parts, &bracketed);
}

std::optional<Heading> DetectHeading(std::string_view line) {
    if (line.size() > kMaxHeadingBytes)
        return std::nullopt;
    size_t length = 0;
    char32_t first = At(line, SkipBlanks(line, 0), &length);
    if (!std::binary_search(kFirstCharacters.begin(), kFirstCharacters.end(), first))
        return std::nullopt;
    std::string_view text = TrimBlanks(line);
    std::optional<Parts> parts = Parse(text);
    if (!parts)
        return std::nullopt;
    Heading heading;
    heading.kind = parts->kind;
    heading.text = text;
    heading.label = text.substr(parts->label_begin, parts->label_end - parts->label_begin);
    heading.title = text.substr(parts->title_begin, parts->title_end - parts->title_begin);
    return heading;
}

std::optional<long> HeadingNumber(const Heading& heading) {
    std::string_view text = TrimBlanks(heading.text);
    std::optional<Parts> parts = Parse(text);
    if (!parts || parts->number_end == parts->number_begin)
        return std::nullopt;
    std::string_view number = text.substr(parts->number_begin, parts->number_end - parts->number_begin);
    switch (parts->form) {
        case NumberForm::kChinese:
            return ChineseValue(number);
        case NumberForm::kArabic:
            return ArabicValue(number);
        case NumberForm::kRoman:
            return RomanValue(number);
        case NumberForm::kWords:
            return WordsValue(number);
        case NumberForm::kNone:
            return std::nullopt;
    }
    return std::nullopt;
}
