// Chapter and volume headings: the forms that count, the sentences that only look like them,
// and whole generated novels scanned line by line.
#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

#include "builder/chapters.h"
#include "builder/unicode_text.h"

namespace {

struct Expected {
    const char* line;
    HeadingKind kind;
    const char* label;
    const char* title;
    long number;  // -1: none
};

constexpr HeadingKind kV = HeadingKind::kVolume;
constexpr HeadingKind kC = HeadingKind::kChapter;

void ExpectHeadings(const std::vector<Expected>& cases) {
    for (const Expected& e : cases) {
        std::optional<Heading> h = DetectHeading(e.line);
        ASSERT_TRUE(h) << e.line;
        EXPECT_EQ(h->kind, e.kind) << e.line;
        EXPECT_EQ(h->label, e.label) << e.line;
        EXPECT_EQ(h->title, e.title) << e.line;
        std::optional<long> number = HeadingNumber(*h);
        EXPECT_EQ(number.value_or(-1), e.number) << e.line;
    }
}

TEST(HeadingDetection, OrdinalsWithChineseAndArabicNumbers) {
    ExpectHeadings({
        {"第一章", kC, "第一章", "", 1},
        {"第十一章 重逢", kC, "第十一章", "重逢", 11},
        {"第二十回：风起", kC, "第二十回", "风起", 20},
        {"第一百零三章、归来", kC, "第一百零三章", "归来", 103},
        {"第两百章　雪", kC, "第两百章", "雪", 200},
        {"第一千二百三十四节.夜", kC, "第一千二百三十四节", "夜", 1234},
        {"第一〇三章", kC, "第一〇三章", "", 103},
        {"第12回", kC, "第12回", "", 12},
        {"第１２章 全角", kC, "第１２章", "全角", 12},
        {"第 7 章 空格", kC, "第 7 章", "空格", 7},
        {"第三章风起云涌", kC, "第三章", "风起云涌", 3},
        {"第一卷 潜龙", kV, "第一卷", "潜龙", 1},
        {"第二部分", kV, "第二部分", "", 2},
        {"第三集", kV, "第三集", "", 3},
        {"第四篇 终局", kC, "第四篇", "终局", 4},
        {"第伍拾節 壹", kC, "第伍拾節", "壹", 50},
        {"卷十二 风雪", kV, "卷十二", "风雪", 12},
        {"第一卷 第一章 开端", kV, "第一卷", "第一章 开端", 1},
        {"第一卷第二章", kV, "第一卷", "第二章", 1},
        {"第一回　宴桃园豪杰三结义", kC, "第一回", "宴桃园豪杰三结义", 1},
        // A malformed number still marks a heading, but has no value.
        {"第一二三四五六七八九十百千万章", kC, "第一二三四五六七八九十百千万章", "", -1},
    });
}

TEST(HeadingDetection, NamedSectionsEnglishAndDecorations) {
    ExpectHeadings({
        {"序", kC, "序", "", -1},
        {"序 一个人的旅程", kC, "序", "一个人的旅程", -1},
        {"序章：开端", kC, "序章", "开端", -1},
        {"楔子", kC, "楔子", "", -1},
        {"後記", kC, "後記", "", -1},
        {"尾聲 天涯", kC, "尾聲", "天涯", -1},
        {"番外一 小明的日记", kC, "番外一", "小明的日记", 1},
        {"番外篇", kC, "番外篇", "", -1},
        {"Chapter 12", kC, "Chapter 12", "", 12},
        {"CHAPTER XII", kC, "CHAPTER XII", "", 12},
        {"chapter mcmxcix", kC, "chapter mcmxcix", "", 1999},
        {"Chapter Twelve", kC, "Chapter Twelve", "", 12},
        {"Chapter Twenty-One. Home", kC, "Chapter Twenty-One", "Home", 21},
        {"Chapter 3: The Storm", kC, "Chapter 3", "The Storm", 3},
        {"Chapter 4: the storm", kC, "Chapter 4", "the storm", 4},
        {"Epilogue", kC, "Epilogue", "", -1},
        {"【第一章】", kC, "第一章", "", 1},
        {"【第一章】风起", kC, "第一章", "风起", 1},
        {"【第一章 风起】", kC, "第一章", "风起", 1},
        {"☆第二章☆", kC, "第二章", "", 2},
        {"===第三章 雨===", kC, "第三章", "雨", 3},
        {"第四章——别离", kC, "第四章", "别离", 4},
        {"第五章 等待……", kC, "第五章", "等待……", 5},
        {"Chapter 5: Wait...", kC, "Chapter 5", "Wait...", 5},
        {"第六章 [上]", kC, "第六章", "[上]", 6},
    });
}

TEST(HeadingNumber, ChineseNumeralsReadAsWrittenAndMalformedOnesHaveNone) {
    const std::pair<const char*, long> cases[] = {
        {"第九十九章", 99},  {"第一千零一十章", 1010}, {"第一万零一章", 10001}, {"第十万章", 100000},
        {"第一百三章", 130}, {"第两万五章", 25000},    {"第〇章", 0},           {"第0章", 0},
        {"第百章", -1},      {"第一二十章", -1},       {"第十十章", -1},        {"第一万二万章", -1},
        {"第零十章", -1},    {"第一千万章", 10000000}, {"第万章", -1},
    };
    for (const auto& [line, number] : cases) {
        std::optional<Heading> h = DetectHeading(line);
        ASSERT_TRUE(h) << line;
        EXPECT_EQ(HeadingNumber(*h).value_or(-1), number) << line;
    }
}

TEST(HeadingDetection, TextIsTheLineTrimmedOfBlanks) {
    std::optional<Heading> h = DetectHeading("\xEF\xBB\xBF　　 \t第十章 归途\xC2\xA0 \r");
    ASSERT_TRUE(h);
    EXPECT_EQ(h->text, "第十章 归途");
    h = DetectHeading(" 【第一章】 ");
    ASSERT_TRUE(h);
    EXPECT_EQ(h->text, "【第一章】");
}

TEST(HeadingDetection, SentencesThatOnlyMentionAHeadingAreNot) {
    const char* decoys[] = {
        "他翻到第一章，开始读了起来。",
        "第三章的故事发生在一个遥远的小山村里，那里住着一位很老很老的老人和他的孙子。",
        "第三章讲的是他。",
        "第三章的故事很好",
        "第一次见面的时候……",
        "第十名",
        "第二天早上他起床",
        "序幕拉开了，人们……",
        "序一个人",
        "前面的人停了下来",
        "后记得",
        "Chapters of my life were...",
        "Chapter and verse",
        "Chapter 3 was the best part of the book.",
        "Chapter IIII",
        "第一章节的内容",
        "第一回合他就输了",
        "第一回来到北京",
        "第二集团军",
        "第一部手机",
        "第一集中",
        "第一卷的故事",
        "Chapter Mix",
        "Chapter I was born",
        "第三章，他说",
        "第三章 他回过头来，",
        "Chapter 3: He left.",
        "第章",
        "第",
        "卷起袖子",
        "卷一风起",
        "第一卷 完",
        "第二卷（完）",
        "第123456789012章",
        "【】",
        "",
        "　　",
        "\xE7\xAC",  // 第 cut short
        "\xFF\xFE第一章",
    };
    for (const char* line : decoys)
        EXPECT_FALSE(DetectHeading(line)) << line;
}

TEST(HeadingDetection, TitleAndLineLengthLimits) {
    std::string thirty;
    for (int i = 0; i < 30; ++i)
        thirty += "字";
    EXPECT_TRUE(DetectHeading("第一章 " + thirty));
    EXPECT_FALSE(DetectHeading("第一章 " + thirty + "字"));
    EXPECT_TRUE(DetectHeading("Chapter 1 " + std::string(60, 'A')));
    EXPECT_FALSE(DetectHeading("Chapter 1 " + std::string(61, 'A')));
    // The longest usual heading, indented and bracketed, fits the byte bound callers use.
    std::string longest = "　　　　【第一千二百三十四章】 " + thirty + "　　";
    ASSERT_LE(longest.size(), kMaxHeadingBytes);
    EXPECT_TRUE(DetectHeading(longest));
    EXPECT_FALSE(DetectHeading(std::string(kMaxHeadingBytes, ' ') + "第一章"));
}

// The Chinese numeral for 1..99999 as a careful writer spells it: 十一, 一百零三, 一千零一十.
std::string Chinese(long n) {
    static const char* digits[] = {"零", "一", "二", "三", "四", "五", "六", "七", "八", "九"};
    static const char* units[] = {"", "十", "百", "千", "万"};
    std::string out;
    bool zero = false;
    for (int place = 4; place >= 0; --place) {
        long step = 1;
        for (int i = 0; i < place; ++i)
            step *= 10;
        long d = n / step % 10;
        if (d == 0) {
            zero = !out.empty();
            continue;
        }
        if (zero)
            out += "零";
        zero = false;
        if (!(d == 1 && place == 1 && out.empty()))
            out += digits[d];
        out += units[place];
    }
    return out;
}

std::string FullWidth(long n) {
    std::string out;
    for (char c : std::to_string(n))
        out += std::string("０１２３４５６７８９").substr((c - '0') * 3, 3);
    return out;
}

struct Found {
    std::string text;
    HeadingKind kind;
    long number;
    bool operator==(const Found&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Found& f) {
    return out << f.text << (f.kind == kV ? " (volume) " : " ") << f.number;
}

TEST(HeadingDetection, GeneratedNovelYieldsExactlyItsHeadingsInOrder) {
    const char* indents[] = {"", "　　", "  ", "\t"};
    const char* decoys[] = {
        "　　他翻到第一章，开始读了起来。",
        "第一次见面的时候……",
        "　　第二天早上他起床，窗外下着雨，院子里的桃花落了一地，他站了很久才回屋。",
        "序幕拉开了，人们纷纷走进了大厅，坐在自己的位置上。",
        "第十名",
        "　　“第三章写得真好。”她说。",
        "Chapters of my life were written in ink.",
        "第二卷 完",
        "",
    };
    std::vector<std::string> lines = {"书名：测试", "", "楔子", "　　很久以前。"};
    std::vector<Found> expected = {{"楔子", kC, -1}};
    unsigned state = 7;
    for (long n = 1; n <= 240; ++n) {
        if (n % 40 == 1) {
            long volume = n / 40 + 1;
            std::string text = volume % 2 ? "第" + Chinese(volume) + "卷 卷名" : "卷" + Chinese(volume);
            lines.push_back(indents[volume % 4] + text);
            expected.push_back({text, kV, volume});
        }
        std::string text;
        switch (n % 7) {
            case 0:
                text = "第" + Chinese(n) + "章 标题" + std::to_string(n);
                break;
            case 1:
                text = "第" + std::to_string(n) + "章：标题";
                break;
            case 2:
                text = "第" + FullWidth(n) + "回";
                break;
            case 3:
                text = "【第" + Chinese(n) + "章】";
                break;
            case 4:
                text = "第" + Chinese(n) + "章风起";
                break;
            case 5:
                text = "Chapter " + std::to_string(n) + ": The Storm";
                break;
            default:
                text = "☆第" + Chinese(n) + "节☆";
                break;
        }
        lines.push_back(indents[n % 4] + text + (n % 3 ? "" : "　"));
        expected.push_back({text, kC, n});
        for (int k = 0; k < 4; ++k) {
            state = state * 1103515245u + 12345u;
            lines.push_back(decoys[(state >> 16) % std::size(decoys)]);
        }
    }
    lines.insert(lines.end(), {"尾声 天涯", "　　全文完。", "番外一 小明的日记", "　　那一年。"});
    expected.insert(expected.end(), {{"尾声 天涯", kC, -1}, {"番外一 小明的日记", kC, 1}});

    std::vector<Found> found;
    for (const std::string& line : lines) {
        if (line.size() > kMaxHeadingBytes)
            continue;
        if (std::optional<Heading> h = DetectHeading(line))
            found.push_back({h->text, h->kind, HeadingNumber(*h).value_or(-1)});
    }
    EXPECT_EQ(found, expected);
}

}  // namespace

namespace {

TEST(HeadingPlace, EpiloguesAndAfterwordsStandAfterTheVolumes) {
    for (const char* line : {"尾声", "后记 写在最后", "番外一 春游", "後記", "Epilogue"})
        EXPECT_TRUE(StandsAfterVolumes(*DetectHeading(line))) << line;
    for (const char* line : {"第十二章 尾声", "序章", "楔子", "第三卷 后记", "终章"})
        EXPECT_FALSE(StandsAfterVolumes(*DetectHeading(line))) << line;
}

}  // namespace

namespace {

// The start MayBeHeadingStart is asked about: up to and including the first character that a
// heading's start cannot hold.
std::string_view StartOf(std::string_view line) {
    size_t length = 0;
    for (size_t pos = 0; pos < line.size(); pos += length) {
        if (!MayBeInHeadingStart(NextCodePoint(line, pos, &length)))
            return line.substr(0, pos + length);
    }
    return line;
}

TEST(HeadingStart, ALineItsStartRulesOutIsNeverAHeading) {
    // Lines made of what headings are made of, and of what ends their starts.
    const char* pieces[] = {"第", "一", "十", "二", "章", "回", "部", "分", "卷", "次", "的", "，", "序", "幕", "番",
                            "外", "篇", "1",  "2",  "C",  "h",  "a",  "p",  "t",  "e",  "r",  "s",  "X",  "I",  "V",
                            " ",  "　", "【", "】", "☆",  "=",  "-",  ":",  "风", "起", "。", "T",  "w",  "o",  "n"};
    unsigned state = 12;
    size_t ruled_out = 0;
    for (int round = 0; round < 40000; ++round) {
        std::string line;
        const int length = 1 + round % 14;
        for (int i = 0; i < length; ++i) {
            state = state * 1103515245u + 12345u;
            line += pieces[(state >> 16) % std::size(pieces)];
        }
        if (MayBeHeadingStart(StartOf(line)))
            continue;
        ++ruled_out;
        EXPECT_FALSE(DetectHeading(line)) << line;
    }
    EXPECT_GT(ruled_out, 10000u);

    for (const char* heading : {"第十一章 重逢", "【第一章】", "☆第一章☆", "===第一章===", "Chapter Twenty-One: X",
                                "CHAPTER XII", "番外篇 春", "第一部分 起", "卷一 风起", "　　第 12 回 风"}) {
        ASSERT_TRUE(DetectHeading(heading)) << heading;
        EXPECT_TRUE(MayBeHeadingStart(StartOf(heading))) << heading;
    }
}

}  // namespace
