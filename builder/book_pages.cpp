#include "builder/book_pages.h"

#include <algorithm>

#include "builder/pages.h"
#include "builder/platform.h"
#include "builder/source_chars.h"
#include "builder/source_text.h"

namespace {

constexpr size_t kRestOfLineBytes = 256;

bool EndsWithLineEnd(std::string_view bytes, SourceEncoding encoding) {
    if (bytes.empty())
        return true;
    switch (encoding) {
        case SourceEncoding::kUtf16Le:
            return bytes.size() >= 2 && (bytes.substr(bytes.size() - 2) == std::string_view("\n\0", 2) ||
                                         bytes.substr(bytes.size() - 2) == std::string_view("\r\0", 2));
        case SourceEncoding::kUtf16Be:
            return bytes.size() >= 2 && (bytes.substr(bytes.size() - 2) == std::string_view("\0\n", 2) ||
                                         bytes.substr(bytes.size() - 2) == std::string_view("\0\r", 2));
        default:
            return bytes.back() == '\n' || bytes.back() == '\r';
    }
}

// How the line that a piece ends inside goes on in the next one, up to its end (UTF-8).
std::string RestOfLine(std::string_view after, SourceEncoding encoding) {
    size_t passed = 0;
    const size_t end = AdvanceSourceChars(after, 0, kRestOfLineBytes / 4, encoding, &passed);
    std::string text;
    DecodeSourceText(after.substr(0, end), encoding, text);
    return text.substr(0, text.find_first_of("\r\n"));
}

}  // namespace

std::string PageFileName(const std::string& base, size_t k, size_t n) {
    std::string number = std::to_string(k);
    const size_t digits = std::to_string(n).size();
    if (number.size() < digits)
        number.insert(0, digits - number.size(), '0');
    return base + "_" + number + ".htm";
}

namespace {

// The page count that names are numbered for before the real one is known: what the rest of the
// source gives at the first piece's bytes per piece.
size_t PredictPageCount(uint64_t source_bytes, size_t first_piece_bytes) {
    if (first_piece_bytes == 0 || source_bytes <= first_piece_bytes)
        return 1;
    return static_cast<size_t>(1 + (source_bytes - first_piece_bytes + first_piece_bytes - 1) / first_piece_bytes);
}

// Gives pages 1..n the names their real count calls for, when the predicted one had other digits.
StepResult RenumberPages(const std::string& folder,
                         const std::string& base,
                         size_t predicted,
                         const std::vector<size_t>& chapter_pages,
                         BookPages& book) {
    const size_t n = book.pages.size();
    if (PageFileName(base, n, predicted) == PageFileName(base, n, n))
        return {};
    for (size_t k = 1; k <= n; ++k) {
        const std::string name = PageFileName(base, k, n);
        if (!platform::RenameFile(platform::JoinPath(folder, book.pages[k - 1].file), platform::JoinPath(folder, name)))
            return {StepResult::kFailed, "无法写入页面 " + name + "：" + platform::LastErrorText()};
        book.pages[k - 1].file = name;
    }
    for (size_t i = 0; i < book.chapters.size(); ++i)
        book.chapters[i].file = book.pages[chapter_pages[i] - 1].file;
    return {};
}

}  // namespace

StepResult WriteBookPages(const PageSource& source,
                          size_t piece_chars,
                          const std::string& folder,
                          RunControls& controls,
                          BookPages& book) {
    SourceText& text = *source.text;
    const uint64_t source_bytes = std::max<uint64_t>(text.size_hint(), source.begin) - source.begin;
    // A piece holds at most four bytes a character, mostly two at most, and the line its end cuts
    // is read on.
    const size_t lookahead = kRestOfLineBytes + 4;
    const size_t usual_want = 2 * piece_chars + lookahead;
    const size_t most_want = 4 * piece_chars + lookahead;

    PageRequest request;
    request.text_source = source.text_source;
    request.head = source.head;
    request.tail = source.tail;
    request.book_name = source.book_name;
    Page page;
    std::string scratch;
    std::string decoded;
    std::string rest;
    std::string reason;
    std::vector<size_t> chapter_pages;  // the page of each chapter
    size_t predicted = 1;
    uint64_t begin = source.begin;
    bool starts_mid_line = false;
    for (size_t k = 1;; ++k) {
        if (!controls.Yield())
            return {StepResult::kStopped, ""};
        std::string_view window;
        size_t end = 0;
        bool writable = false;
        for (size_t want = usual_want;; want = most_want) {
            if (!text.View(begin, want, &window, reason))
                return {StepResult::kFailed, reason};
            size_t passed = 0;
            end = AdvanceWritableChars(window, piece_chars, source.encoding, &passed, &writable);
            if (window.size() < want || end + lookahead <= window.size() || want == most_want)
                break;
        }
        const bool last = end >= window.size();
        const std::string_view piece = window.substr(0, end);
        if (k == 1)
            predicted = last ? 1 : PredictPageCount(source_bytes, end);
        // GBK text is written as it is; anything else is decoded and written again.
        request.utf8 = !writable;
        if (request.utf8) {
            if (source.encoding == SourceEncoding::kGb18030 && !book.four_byte_chars)
                book.four_byte_chars = HasGb18030FourByteChars(piece);
            decoded.clear();
            DecodeSourceText(piece, source.encoding, decoded);
            request.piece = decoded;
        } else {
            request.piece = piece;
        }
        request.page_number = static_cast<int>(k);
        request.first_page = k == 1;
        request.starts_mid_line = starts_mid_line;
        rest = source.text_source && !last ? RestOfLine(window.substr(end), source.encoding) : "";
        request.cut_line_rest = rest;
        request.first_anchor = static_cast<int>(book.chapters.size()) + 1;
        MakePage(request, page, scratch);

        const std::string name = PageFileName(source.page_base, k, predicted);
        if (!platform::WriteNewFile(platform::JoinPath(folder, name), page.Parts()))
            return {StepResult::kFailed, "无法写入页面 " + name + "：" + platform::LastErrorText()};
        if (book.chapters.empty() && page.text_before_headings)
            book.text_before_first_chapter = true;
        for (const PageHeading& heading : page.headings) {
            book.chapters.push_back({heading.kind, heading.after_volumes, heading.text, name, heading.anchor});
            chapter_pages.push_back(k);
        }
        book.pages.push_back({name, page.title});
        begin += end;
        const uint64_t done = begin - source.begin;
        controls.OnFileProgress(
            last ? 100 : static_cast<int>(std::min<uint64_t>(99, done * 100 / std::max<uint64_t>(source_bytes, 1))));
        starts_mid_line = !EndsWithLineEnd(piece, source.encoding);
        if (last)
            break;
    }
    return RenumberPages(folder, source.page_base, predicted, chapter_pages, book);
}
