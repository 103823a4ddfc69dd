#include "builder/pages.h"

#include <algorithm>
#include <array>
#include <bit>
#include <bitset>
#include <cstdint>
#include <cstring>
#include <type_traits>

#include "builder/byte_blocks.h"
#include "builder/platform.h"
#include "builder/text_bytes.h"
#include "builder/unicode_text.h"
#include "chm/text_refs.h"

namespace {

// Declared on every page as GBK: viewers that read "gb2312" strictly blank out the rest of a
// page at the first character outside GB2312.
constexpr std::string_view kCharsetMeta = "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gbk\">";
constexpr std::string_view kCharsetName = "gbk";
constexpr std::string_view kTextPageStyle =
    "<style type=\"text/css\">body{line-height:1.75}h2,h3{margin:1.2em 0 0.6em 0}</style>";
constexpr std::string_view kTextPageTail = "</body>\r\n</html>";

// Copies `n` bytes to `out` and moves `out` past them.
inline void Put(char*& out, const char* data, size_t n) {
    std::memcpy(out, data, n);
    out += n;
}
inline void Put(char*& out, std::string_view text) {
    Put(out, text.data(), text.size());
}

// The same for the runs of text between the bytes that PutLines stops at, which are mostly
// short: where the bytes after the run can be read (before `data_end`), it is copied in moves of
// 32 bytes rather than by a library call, and `out` is only moved by `n`. The page buffer keeps
// room for the bytes written past the end.
inline void PutRun(char*& out, const char* data, size_t n, const char* data_end) {
    if (static_cast<size_t>(data_end - data) >= n + 32) {
        for (size_t i = 0; i < n; i += 32)
            std::memcpy(out + i, data + i, 32);
    } else {
        std::memcpy(out, data, n);
    }
    out += n;
}

constexpr size_t kRunSlack = 32;
// What a heading line adds around its text at most: the anchor and the heading element.
constexpr size_t kHeadingMarkup = 96;

// The end of the blanks a line starts with: ASCII ones, U+3000 (and in UTF-8 also U+00A0 and a
// byte-order mark), in code page 936 or UTF-8 bytes.
size_t BlanksAt(std::string_view line, bool utf8) {
    size_t i = 0;
    while (i < line.size()) {
        const std::string_view rest = line.substr(i);
        if (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')
            ++i;
        else if (utf8 && (rest.starts_with("\xE3\x80\x80") || rest.starts_with("\xEF\xBB\xBF")))
            i += 3;
        else if (utf8 && rest.starts_with("\xC2\xA0"))
            i += 2;
        else if (!utf8 && rest.starts_with("\xA1\xA1"))
            i += 2;
        else
            break;
    }
    return i;
}

// Whether a line could be a heading, judged cheaply on its bytes: short, and its first
// character after blanks one that headings start with. Only such lines are decoded and looked
// at closely; in a novel that is a few lines in a hundred.
class HeadingPrefilter {
  public:
    static const HeadingPrefilter& Get() {
        static const HeadingPrefilter instance;
        return instance;
    }
    bool MayBeHeading(std::string_view line, bool utf8) const {
        if (line.size() > kMaxHeadingBytes)
            return false;
        const size_t i = BlanksAt(line, utf8);
        if (i >= line.size())
            return false;
        const unsigned char c = static_cast<unsigned char>(line[i]);
        if (c < 0x80)
            return (ascii_[c] & kFirst) != 0;
        if (utf8) {
            size_t length = 0;
            const char32_t first = NextCodePoint(line, i, &length);
            return HeadingFirstCharacters().find(first) != std::u32string_view::npos;
        }
        return i + 1 < line.size() && first_pairs_[c << 8 | static_cast<unsigned char>(line[i + 1])];
    }

    // The bytes of a code page 936 line up to and including the first character that a heading's
    // start cannot hold (see MayBeHeadingStart); the whole line when there is none.
    size_t HeadingStartBytes(std::string_view line) const {
        const unsigned char* p = reinterpret_cast<const unsigned char*>(line.data());
        const size_t size = line.size();
        for (size_t i = 0; i < size;) {
            if (p[i] < 0x80) {
                if (!(ascii_[p[i]] & kInStart))
                    return i + 1;
                ++i;
            } else if (CodePageCharLength(p, i, size, CodePage::kCp936) == 2) {
                if (!start_pairs_[p[i] << 8 | p[i + 1]])
                    return i + 2;
                i += 2;
            } else {
                return i + 1;
            }
        }
        return size;
    }

  private:
    static constexpr unsigned char kFirst = 1;    // a heading can start with it
    static constexpr unsigned char kInStart = 2;  // a heading's start can hold it

    HeadingPrefilter() {
        for (char32_t c : HeadingFirstCharacters()) {
            if (c < 0x80) {
                ascii_[c] |= kFirst;
                continue;
            }
            std::string utf8;
            AppendUtf8(utf8, c);
            const std::string bytes = platform::EncodeCp936(utf8);
            if (bytes.size() == 2)
                first_pairs_.set(static_cast<unsigned char>(bytes[0]) << 8 | static_cast<unsigned char>(bytes[1]));
        }
        for (char32_t c = 0; c < 0x80; ++c)
            ascii_[c] |= MayBeInHeadingStart(c) ? kInStart : 0;
        const CodePageTable& table = GetCodePageTable(CodePage::kCp936);
        for (unsigned first = 0x81; first <= 0xFE; ++first) {
            for (unsigned second = 0x40; second <= 0xFE; ++second) {
                const char32_t c = table.pairs[CodePageTable::PairIndex(first, second)];
                if (c != 0 && MayBeInHeadingStart(c))
                    start_pairs_.set(first << 8 | second);
            }
        }
    }
    unsigned char ascii_[128] = {};
    std::bitset<65536> first_pairs_;  // by the character's two bytes
    std::bitset<65536> start_pairs_;
};

// The starts of lines (code page 936 bytes, as HeadingStartBytes cuts them) that rule out a
// heading: a novel begins many lines alike (后来, 第二天), and each start is decided once a page.
class RuledOutStarts {
  public:
    bool Contains(std::string_view start) const {
        const Slot& slot = slots_[SlotOf(start)];
        return slot.used && slot.bytes == start;
    }
    void Add(std::string_view start) {
        Slot& slot = slots_[SlotOf(start)];
        slot.used = true;
        slot.bytes.assign(start);
    }

  private:
    struct Slot {
        bool used = false;
        std::string bytes;
    };
    // The first bytes and the length tell most starts apart; a slot that two share holds the last.
    static size_t SlotOf(std::string_view start) {
        uint64_t head = 0;
        std::memcpy(&head, start.data(), std::min<size_t>(start.size(), sizeof(head)));
        return static_cast<size_t>(((head ^ start.size()) * 0x9E3779B97F4A7C15ull) >> 58);
    }
    static constexpr size_t kSlots = 64;
    std::array<Slot, kSlots> slots_;
};

struct TextLines {
    const PageRequest& request;
    Page& page;
    int next_anchor;
    bool first_line = true;
    std::string candidate;  // a line that may be a heading, in UTF-8
    RuledOutStarts ruled_out;

    // Called with each line (and the page position its written text starts at) after the line
    // was written; turns a heading line into a heading. Returns the new end of the page.
    char* EndLine(std::string_view line, bool cut_at_end, char* written, char* out) {
        const bool continues_earlier_line = first_line && request.starts_mid_line;
        first_line = false;
        if (!continues_earlier_line && HeadingPrefilter::Get().MayBeHeading(line, request.utf8)) {
            if (std::optional<Heading> heading = FindHeading(line, cut_at_end))
                return MakeHeading(*heading, written, out);
        }
        if (!page.text_before_headings && page.headings.empty() && BlanksAt(line, request.utf8) < line.size())
            page.text_before_headings = true;
        Put(out, "<br>", 4);
        return out;
    }

    // The heading a line that may be one is.
    [[gnu::noinline]] std::optional<Heading> FindHeading(std::string_view line, bool cut_at_end) {
        candidate.clear();
        if (request.utf8) {
            candidate = line;
        } else {
            // Most such lines are told apart by their first characters; the rest is decoded only
            // for those that may be headings.
            const size_t start = HeadingPrefilter::Get().HeadingStartBytes(line);
            const std::string_view start_bytes = line.substr(0, start);
            if (start < line.size() && ruled_out.Contains(start_bytes))
                return std::nullopt;
            AppendCodePageText(start_bytes, CodePage::kCp936, candidate);
            if (start < line.size()) {
                if (!MayBeHeadingStart(candidate)) {
                    ruled_out.Add(start_bytes);
                    return std::nullopt;
                }
                AppendCodePageText(line.substr(start), CodePage::kCp936, candidate);
            }
        }
        if (cut_at_end)
            candidate += request.cut_line_rest;
        return DetectHeading(candidate);
    }

    // Turns the line written from `written` to `out` into the heading.
    [[gnu::noinline]] char* MakeHeading(const Heading& heading, char* written, char* out) {
        // Volumes a size above chapters.
        const char* element = heading.kind == HeadingKind::kVolume ? "h2" : "h3";
        std::string anchor = "c";
        anchor += std::to_string(next_anchor++);
        std::string open = "<";
        open += element;
        open += " id=\"";
        open += anchor;
        open += "\"><a name=\"";
        open += anchor;
        open += "\"></a>";
        std::memmove(written + open.size(), written, static_cast<size_t>(out - written));
        std::memcpy(written, open.data(), open.size());
        out += open.size();
        Put(out, "</", 2);
        Put(out, element, 2);
        Put(out, ">", 1);
        page.headings.push_back({heading.kind, StandsAfterVolumes(heading), heading.text, anchor});
        return out;
    }
};

// Writes the lines of `bytes` from `out` on, each preceded by CR LF; a text page's lines have
// "&", "<" and ">" escaped and end with "<br>" or are made headings. One pass finds the line
// ends and the bytes to escape together; those bytes are below 0x40, so they never occur inside
// a code page 936 or UTF-8 character, and everything between them is copied as it is. `out`
// must have room for 6 bytes per byte of `bytes`, plus kHeadingMarkup per line, plus slack.
// Returns false at a line equal to the page marker.
template <bool kTextPage>
bool PutLines(std::string_view bytes, TextLines* text, char*& out) {
    using Stops = std::conditional_t<kTextPage, ByteSet<'\r', '\n', '&', '<', '>'>, ByteSet<'\r', '\n'>>;
    const char* const data = bytes.data();
    const size_t size = bytes.size();
    size_t pos = 0;           // where the next line or the rest of this one starts
    size_t line_start = 0;    // the line being written
    size_t copied = 0;        // bytes of the line before this are in the page already
    char* written = out + 2;  // where the line's text starts in the page

    auto end_line = [&](size_t end, bool cut_at_end) {
        const std::string_view line = bytes.substr(line_start, end - line_start);
        if (line == kPageMarker)
            return false;
        PutRun(out, data + copied, end - copied, data + size);
        if constexpr (kTextPage)
            out = text->EndLine(line, cut_at_end, written, out);
        return true;
    };

    if (size == 0)
        return true;
    Put(out, "\r\n", 2);
    for (size_t base = 0; base < size; base += kBlockBytes) {
        const auto* block = reinterpret_cast<const unsigned char*>(data + base);
        uint64_t stops = size - base >= kBlockBytes ? Stops::Match(block) : Stops::MatchPartial(block, size - base);
        for (; stops != 0; stops &= stops - 1) {
            const size_t at = base + static_cast<size_t>(std::countr_zero(stops));
            if (at < pos)
                continue;  // the LF of a CR LF
            const char c = data[at];
            if (!kTextPage || c == '\r' || c == '\n') {
                if (!end_line(at, false))
                    return false;
                pos = at + 1;
                if (c == '\r' && pos < size && data[pos] == '\n')
                    ++pos;
                if (pos >= size)
                    return true;
                line_start = copied = pos;
                Put(out, "\r\n", 2);
                written = out;
                continue;
            }
            PutRun(out, data + copied, at - copied, data + size);
            if (c == '&')
                Put(out, "&amp;", 5);
            else
                Put(out, c == '<' ? "&lt;" : "&gt;", 4);
            pos = copied = at + 1;
        }
    }
    // The last line has no line end: the piece was cut inside it, or the source ends there.
    return end_line(size, true);
}

// Replaces the value after `name` "=" (quoted or not) inside text[begin, end) by kCharsetName.
bool RewriteValue(std::string& text, size_t begin, size_t end, std::string_view name) {
    // The tag is short: look for the attribute in a lower-cased copy of it.
    const size_t at = AsciiLower(std::string_view(text).substr(begin, end - begin)).find(name);
    if (at == std::string::npos)
        return false;
    size_t i = begin + at + name.size();
    while (i < end && text[i] == ' ')
        ++i;
    if (i >= end || text[i] != '=')
        return false;
    ++i;
    while (i < end && text[i] == ' ')
        ++i;
    if (i < end && (text[i] == '"' || text[i] == '\''))
        ++i;
    size_t value_end = i;
    while (value_end < end && std::strchr("\"'; >/\r\n\t", text[value_end]) == nullptr)
        ++value_end;
    text.replace(i, value_end - i, kCharsetName);
    return true;
}

// Makes every charset declaration of an HTML text from `from` on (meta http-equiv content, meta
// charset, the XML declaration's encoding) name the code page the page is written in. True when
// it had one.
bool RewriteCharsetDeclarations(std::string& html, size_t from) {
    bool found = false;
    for (const auto& [tag, attribute] : {std::pair<std::string_view, std::string_view>{"<meta", "charset"},
                                         std::pair<std::string_view, std::string_view>{"<?xml", "encoding"}}) {
        size_t at = from;
        while ((at = FindIgnoringAsciiCase(html, tag, at)) != std::string::npos) {
            size_t end = html.find('>', at);
            if (end == std::string::npos)
                end = html.size();
            const size_t before = html.size();
            found = RewriteValue(html, at, end, attribute) || found;
            at = end + (html.size() - before);
        }
    }
    return found;
}

std::string TextPageHead(std::string_view title) {
    std::string head = "<!123456-->\r\n<html>\r\n<head>\r\n";
    head += kCharsetMeta;
    head += "\r\n<title>";
    head += EscapeHtml(title);
    head += "</title>\r\n";
    head += kTextPageStyle;
    head += "\r\n</head>\r\n<body>";
    return head;
}

}  // namespace

void MakePage(const PageRequest& request, Page& page, std::string& scratch) {
    page.headings.clear();
    page.title.clear();
    page.text_before_headings = false;
    const std::string_view piece = request.piece;
    // A file of nothing but one-character heading lines grows about twenty times.
    const size_t most = 24 * piece.size() + kHeadingMarkup + 64 + kRunSlack;
    if (scratch.size() < most)
        scratch.resize(most);
    char* const start = scratch.data();
    char* out = start;
    bool wrapped = true;
    if (request.text_source) {
        TextLines lines{request, page, request.first_anchor, true, {}, {}};
        wrapped = PutLines<true>(piece, &lines, out);
    } else {
        wrapped = PutLines<false>(piece, nullptr, out);
    }
    const std::string_view body(start, static_cast<size_t>(out - start));

    // Assembled in the piece's own encoding, then written in code page 936.
    auto in_piece_encoding = [&](std::string_view utf8) {
        return request.utf8 ? std::string(utf8) : platform::EncodeCp936(utf8);
    };
    // A text page of code page 936 keeps its lines where they were made, between a head and a tail
    // of its own; every other page is put together whole in `head`, in the piece's encoding, and
    // converted at the end.
    std::string& head = page.head;
    std::string& tail = page.tail;
    head.clear();
    tail.clear();
    page.body = {};
    if (!request.text_source) {
        // The characters are written in code page 936 whatever the source was: a declaration of
        // another charset would make viewers show garbage. Every page after the first starts
        // with one of ours, and so does a first page that has none.
        head += kCharsetMeta;
        head += "\r\n";
    }
    if (!wrapped) {
        head += piece;
        head += "\r\n";
    } else if (request.text_source) {
        page.title =
            std::string(request.book_name) + " - " +
            (page.headings.empty() ? "第" + std::to_string(request.page_number) + "页" : page.headings.front().text);
        head += in_piece_encoding(TextPageHead(page.title));
        if (!request.head.empty())
            head += "\r\n" + in_piece_encoding(request.head);
        head += "\r\n";
        tail += "\r\n";
        if (!request.tail.empty())
            tail += in_piece_encoding(request.tail) + "\r\n";
        tail += kTextPageTail;
        tail += "\r\n";
        if (!request.utf8) {
            page.body = body;
            return;
        }
        head += body;
        head += tail;
        tail.clear();
    } else {
        head += in_piece_encoding(request.head);
        head += "\r\n";
        head += body;
        head += "\r\n";
        head += in_piece_encoding(request.tail);
        head += "\r\n";
    }
    if (!request.text_source && RewriteCharsetDeclarations(head, kCharsetMeta.size() + 2) && request.first_page)
        head.erase(0, kCharsetMeta.size() + 2);
    if (request.utf8)
        head = platform::EncodeCp936(head);
    if (!request.text_source || !wrapped)
        page.title = PageTitleOf(head);
}

std::string PageTitleOf(std::string_view page) {
    // The first "<title>" of the text lies on the first line that holds one.
    size_t hit = FindIgnoringAsciiCase(page, "<title>");
    if (hit == std::string_view::npos)
        return "";
    size_t start = page.find_last_of("\r\n", hit);
    start = start == std::string_view::npos ? 0 : start + 1;
    size_t end = page.find_first_of("\r\n", hit);
    std::string_view line = page.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
    return chm::DecodeHtmlText(platform::DecodeCp936(ExtractBetween(line, "<title>", "</title>", true)));
}

std::string ExtractBetween(std::string_view text, std::string_view first, std::string_view second, bool ignore_case) {
    auto find = [&](std::string_view where, std::string_view what, size_t from) {
        return ignore_case ? FindIgnoringAsciiCase(where, what, from) : where.find(what, from);
    };
    size_t start = find(text, first, 0);
    if (start == std::string_view::npos)
        return "";
    start += first.size();
    std::string_view part = text.substr(start);
    size_t next_first = first.empty() ? std::string_view::npos : find(part, first, 0);
    if (next_first != std::string_view::npos)
        part = part.substr(0, next_first);
    size_t cut = second.empty() ? std::string_view::npos : find(part, second, 0);
    if (cut != std::string_view::npos)
        part = part.substr(0, cut);
    return std::string(part);
}

std::string EscapeHtml(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += c;
        }
    }
    return out;
}
