#include "builder/pages.h"

#include <bit>
#include <cstdint>
#include <cstring>
#include <type_traits>

#include "builder/byte_blocks.h"
#include "builder/platform.h"
#include "builder/text_bytes.h"
#include "builder/unicode_text.h"

namespace {

constexpr std::string_view kTextPageHead =
    "<!123456-->\r\n"
    "<html>\r\n"
    "<head>\r\n"
    "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\">\r\n"
    "</head>\r\n"
    "<body>";
constexpr std::string_view kTextPageTail = "</body>\r\n</html>";

bool IsCharReferenceAt(std::string_view text, size_t pos, size_t* length) {
    // "&#" digits ";"
    size_t i = pos + 2;
    if (text.substr(pos, 2) != "&#")
        return false;
    size_t digits = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9' && digits < 8) {
        ++i;
        ++digits;
    }
    if (digits == 0 || i >= text.size() || text[i] != ';')
        return false;
    *length = i + 1 - pos;
    return true;
}

enum class WrapResult { kWrapped, kAlreadyPage, kFailed, kStopped };

// Copies `n` bytes to `out` and moves `out` past them.
inline void Put(char*& out, const char* data, size_t n) {
    std::memcpy(out, data, n);
    out += n;
}

// The same for the runs of text between the bytes that PutLines stops at, which are mostly
// short: when 32 bytes can be read from `data` (before `data_end`) they are copied whole, as
// two fixed-size moves rather than a library call, and `out` is only moved by `n`. The page
// buffer keeps room for the bytes written past the end.
inline void PutRun(char*& out, const char* data, size_t n, const char* data_end) {
    if (n <= 32 && data_end - data >= 32)
        std::memcpy(out, data, 32);
    else
        std::memcpy(out, data, n);
    out += n;
}

// What PutRun may write past the end of a page.
constexpr size_t kRunSlack = 32;

// Writes the lines of `bytes` from `out` on, each preceded by CR LF; a text page's lines have
// "&", "<" and ">" escaped and end with "<br>". One pass finds the line ends and the bytes to
// escape together; those bytes are below 0x40, so they never occur inside a code page 936
// character, and everything between them is copied as it is. `out` must have room for
// 6 bytes per byte of `bytes`, plus 6: no byte turns into more than "&amp;", and every line
// end into more than "<br>", CR and LF.
template <bool kTextPage>
WrapResult PutLines(std::string_view bytes, RunControls& controls, bool keep_char_refs, char*& out) {
    using Stops = std::conditional_t<kTextPage, ByteSet<'\r', '\n', '&', '<', '>'>, ByteSet<'\r', '\n'>>;
    const char* const text = bytes.data();
    const size_t size = bytes.size();
    size_t pos = 0;         // where the next line or the rest of this one starts
    size_t line_start = 0;  // the line being written
    size_t copied = 0;      // bytes of the line before this are in the page already

    // Ends the line at `end` (a line end, or the end of the text); false at the marker line.
    auto end_line = [&](size_t end) {
        if (end - line_start == kPageMarker.size() && bytes.substr(line_start, end - line_start) == kPageMarker)
            return false;
        PutRun(out, text + copied, end - copied, text + size);
        if (kTextPage)
            Put(out, "<br>", 4);
        return true;
    };

    // Yield before each line and before finding that there is none left.
    if (!controls.Yield())
        return WrapResult::kStopped;
    if (size == 0)
        return WrapResult::kWrapped;
    Put(out, "\r\n", 2);
    for (size_t base = 0; base < size; base += kBlockBytes) {
        const auto* block = reinterpret_cast<const unsigned char*>(text + base);
        uint64_t stops = size - base >= kBlockBytes ? Stops::Match(block) : Stops::MatchPartial(block, size - base);
        for (; stops != 0; stops &= stops - 1) {
            const size_t at = base + static_cast<size_t>(std::countr_zero(stops));
            if (at < pos)
                continue;  // the LF of a CR LF, or inside a kept character reference
            const char c = text[at];
            if (!kTextPage || c == '\r' || c == '\n') {
                if (!end_line(at))
                    return WrapResult::kAlreadyPage;
                pos = at + 1;
                if (c == '\r' && pos < size && text[pos] == '\n')
                    ++pos;
                if (!controls.Yield())
                    return WrapResult::kStopped;
                if (pos >= size)
                    return WrapResult::kWrapped;
                line_start = copied = pos;
                Put(out, "\r\n", 2);
                continue;
            }
            size_t ref_length = 0;
            if (c == '&' && keep_char_refs && IsCharReferenceAt(bytes, at, &ref_length)) {
                pos = at + ref_length;
                continue;
            }
            PutRun(out, text + copied, at - copied, text + size);
            if (c == '&')
                Put(out, "&amp;", 5);
            else
                Put(out, c == '<' ? "&lt;" : "&gt;", 4);
            pos = copied = at + 1;
        }
    }
    // The last line has no line end.
    if (!end_line(size))
        return WrapResult::kAlreadyPage;
    return controls.Yield() ? WrapResult::kWrapped : WrapResult::kStopped;
}

// On success `title` holds the title of what the file holds afterwards.
WrapResult WrapOnePage(const std::string& path,
                       RunControls& controls,
                       const PageStyle& style,
                       std::string& bytes,
                       std::string& page_buffer,
                       std::string& title) {
    if (!platform::ReadFileBytes(path, bytes))
        return WrapResult::kFailed;
    std::string head = platform::EncodeCp936(controls.PageHead());
    std::string tail = platform::EncodeCp936(controls.PageTail());
    if (style.text_source) {
        head = head.empty() ? std::string(kTextPageHead) : std::string(kTextPageHead) + "\r\n" + head;
        tail = tail.empty() ? std::string(kTextPageTail) : tail + "\r\n" + std::string(kTextPageTail);
    }
    // The buffer serves every page of a book and never shrinks, so after the first page nothing
    // is cleared or moved again.
    const size_t most = head.size() + tail.size() + 6 * bytes.size() + 16 + kRunSlack;
    if (page_buffer.size() < most)
        page_buffer.resize(most);
    char* const start = page_buffer.data();
    char* out = start;
    Put(out, head.data(), head.size());
    Put(out, "\r\n", 2);
    WrapResult appended = style.text_source ? PutLines<true>(bytes, controls, style.keep_char_refs, out)
                                            : PutLines<false>(bytes, controls, false, out);
    switch (appended) {
        case WrapResult::kAlreadyPage:
            title = PageTitleOf(bytes);
            return WrapResult::kAlreadyPage;
        case WrapResult::kStopped:
            return WrapResult::kStopped;
        default:
            break;
    }
    Put(out, "\r\n", 2);
    Put(out, tail.data(), tail.size());
    Put(out, "\r\n", 2);
    const std::string_view page(start, static_cast<size_t>(out - start));
    if (!platform::WriteFileBytes(path, page))
        return WrapResult::kFailed;
    // Every "<" of a text page's lines is escaped (the "<br>" ends cannot read "<title>"), so
    // only its head and tail, which stand on lines of their own, can hold a title.
    if (style.text_source) {
        title = PageTitleOf(head);
        if (title.empty())
            title = PageTitleOf(tail);
    } else {
        title = PageTitleOf(page);
    }
    return WrapResult::kWrapped;
}

}  // namespace

StepStatus WrapPages(RunControls& controls, const PageStyle& style, PageTitles* titles) {
    FileList& pages = controls.File2();
    const std::string folder = pages.Path();
    const int count = pages.ListCount();
    // One pair of buffers for the whole book: pages are about the same size.
    std::string bytes;
    std::string page;
    std::string title;
    for (int j = 0; j < count; ++j) {
        const std::string name = pages.List(j);
        std::string path = platform::JoinPath(folder, name);
        switch (WrapOnePage(path, controls, style, bytes, page, title)) {
            case WrapResult::kStopped:
                return StepStatus::kStopped;
            case WrapResult::kFailed:
                return StepStatus::kFailed;
            case WrapResult::kWrapped:
            case WrapResult::kAlreadyPage:
                if (titles)
                    (*titles)[PageNameAfterRename(name)] = title;
                break;
        }
    }
    return StepStatus::kDone;
}

std::string PageNameAfterRename(const std::string& name) {
    if (name.size() < 3 || name.compare(name.size() - 3, 3, "txt") != 0)
        return name;
    return name.substr(0, name.size() - 3) + "htm";
}

StepStatus RenamePages(RunControls& controls) {
    FileList& pages = controls.File2();
    const std::string folder = pages.Path();
    const int count = pages.ListCount();
    for (int j = 0; j < count; ++j) {
        if (!controls.Yield())
            return StepStatus::kStopped;
        std::string name = pages.List(j);
        std::string new_name = PageNameAfterRename(name);
        if (new_name == name)
            continue;
        if (!platform::RenameFile(platform::JoinPath(folder, name), platform::JoinPath(folder, new_name)))
            return StepStatus::kFailed;
    }
    return StepStatus::kDone;
}

std::string ReadPageTitle(const std::string& path, RunControls& controls, bool* stopped) {
    if (stopped)
        *stopped = false;
    std::string bytes;
    if (!platform::ReadFileBytes(path, bytes))
        return "";
    LineReader lines(bytes);
    std::string_view line;
    while (lines.Next(line)) {
        if (FindIgnoringAsciiCase(line, "<title>") != std::string_view::npos)
            return platform::DecodeCp936(ExtractBetween(line, "<title>", "</title>", true));
        if (!controls.Yield()) {
            if (stopped)
                *stopped = true;
            return "";
        }
    }
    return "";
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
    return platform::DecodeCp936(ExtractBetween(line, "<title>", "</title>", true));
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
