#include "builder/pages.h"

#include <cstdint>
#include <cstring>

#include "builder/platform.h"
#include "builder/text_bytes.h"
#include "builder/unicode_text.h"

namespace {

constexpr std::string_view kCrLf = "\r\n";

constexpr std::string_view kTextPageHead =
    "<!123456-->\r\n"
    "<html>\r\n"
    "<head>\r\n"
    "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\">\r\n"
    "</head>\r\n"
    "<body>";
constexpr std::string_view kTextPageTail = "</body>\r\n</html>";

bool IsCharReferenceAt(std::string_view line, size_t pos, size_t* length) {
    // "&#" digits ";"
    size_t i = pos + 2;
    if (line.substr(pos, 2) != "&#")
        return false;
    size_t digits = 0;
    while (i < line.size() && line[i] >= '0' && line[i] <= '9' && digits < 8) {
        ++i;
        ++digits;
    }
    if (digits == 0 || i >= line.size() || line[i] != ';')
        return false;
    *length = i + 1 - pos;
    return true;
}

// "&", "<" and ">" are below 0x40, so they are never part of a double-byte character and can
// be replaced byte by byte.
void AppendEscaped(std::string& out, std::string_view line, bool keep_char_refs) {
    constexpr uint64_t kOnes = 0x0101010101010101ull;
    constexpr uint64_t kHighBits = 0x8080808080808080ull;
    auto has_byte = [](uint64_t word, unsigned char c) {
        uint64_t v = word ^ (kOnes * c);
        return ((v - kOnes) & ~v & kHighBits) != 0;
    };
    size_t run_start = 0;
    const size_t size = line.size();
    size_t i = 0;
    while (i < size) {
        // Skip eight bytes at a time while none of them needs escaping.
        if (i + 8 <= size) {
            uint64_t word;
            std::memcpy(&word, line.data() + i, 8);
            if (!has_byte(word, '&') && !has_byte(word, '<') && !has_byte(word, '>')) {
                i += 8;
                continue;
            }
        }
        char c = line[i];
        if (c != '&' && c != '<' && c != '>') {
            ++i;
            continue;
        }
        size_t ref_length = 0;
        if (c == '&' && keep_char_refs && IsCharReferenceAt(line, i, &ref_length)) {
            i += ref_length;
            continue;
        }
        out.append(line.data() + run_start, i - run_start);
        out += c == '&' ? "&amp;" : c == '<' ? "&lt;" : "&gt;";
        run_start = ++i;
    }
    out.append(line.data() + run_start, size - run_start);
}

enum class WrapResult { kWrapped, kAlreadyPage, kFailed, kStopped };

// On success `title` holds the title of what the file holds afterwards.
WrapResult WrapOnePage(const std::string& path,
                       RunControls& controls,
                       const PageStyle& style,
                       std::string& bytes,
                       std::string& page,
                       std::string& title) {
    if (!platform::ReadFileBytes(path, bytes))
        return WrapResult::kFailed;
    std::string head = platform::EncodeCp936(controls.PageHead());
    std::string tail = platform::EncodeCp936(controls.PageTail());
    if (style.text_source) {
        head = head.empty() ? std::string(kTextPageHead) : std::string(kTextPageHead) + "\r\n" + head;
        tail = tail.empty() ? std::string(kTextPageTail) : tail + "\r\n" + std::string(kTextPageTail);
    }
    page.clear();
    page.reserve(bytes.size() + bytes.size() / 8 + head.size() + tail.size() + 64);
    page += head;
    page += kCrLf;
    LineReader lines(bytes);
    std::string_view line;
    for (;;) {
        if (!controls.Yield())
            return WrapResult::kStopped;
        if (!lines.Next(line))
            break;
        if (line == kPageMarker) {
            title = PageTitleOf(bytes);
            return WrapResult::kAlreadyPage;
        }
        page += kCrLf;
        if (style.text_source) {
            AppendEscaped(page, line, style.keep_char_refs);
            page += "<br>";
        } else {
            page += line;
        }
    }
    page += kCrLf;
    page += tail;
    page += kCrLf;
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
