#include "builder/book_pages.h"

#include "builder/pages.h"
#include "builder/platform.h"

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

StepResult WriteBookPages(const PageSource& source,
                          size_t piece_chars,
                          const std::string& folder,
                          RunControls& controls,
                          BookPages& book) {
    const std::string_view bytes = source.bytes;
    // Piece boundaries first: their count fixes the width of the numbers in the names.
    std::vector<size_t> starts{0};
    for (size_t pos = 0;;) {
        size_t passed = 0;
        pos = AdvanceSourceChars(bytes, pos, piece_chars, source.encoding, &passed);
        if (pos >= bytes.size())
            break;
        starts.push_back(pos);
    }
    const size_t n = starts.size();

    PageRequest request;
    request.text_source = source.text_source;
    request.head = source.head;
    request.tail = source.tail;
    request.book_name = source.book_name;
    Page page;
    std::string scratch;
    std::string decoded;
    std::string rest;
    for (size_t k = 1; k <= n; ++k) {
        if (!controls.Yield())
            return {StepResult::kStopped, ""};
        const size_t begin = starts[k - 1];
        const size_t end = k < n ? starts[k] : bytes.size();
        const std::string_view piece = bytes.substr(begin, end - begin);
        // GBK text is written as it is; anything else is decoded and written again.
        request.utf8 = !WritableAsCp936(piece, source.encoding);
        if (request.utf8) {
            decoded.clear();
            DecodeSourceText(piece, source.encoding, decoded);
            request.piece = decoded;
        } else {
            request.piece = piece;
        }
        request.page_number = static_cast<int>(k);
        request.first_page = k == 1;
        request.starts_mid_line = k > 1 && !EndsWithLineEnd(bytes.substr(0, begin), source.encoding);
        rest = source.text_source && k < n ? RestOfLine(bytes.substr(end), source.encoding) : "";
        request.cut_line_rest = rest;
        request.first_anchor = static_cast<int>(book.chapters.size()) + 1;
        MakePage(request, page, scratch);

        const std::string name = PageFileName(source.page_base, k, n);
        if (!platform::WriteNewFile(platform::JoinPath(folder, name), page.bytes))
            return {StepResult::kFailed, "无法写入页面 " + name + "：" + platform::LastErrorText()};
        if (book.chapters.empty() && page.text_before_headings)
            book.text_before_first_chapter = true;
        for (const PageHeading& heading : page.headings)
            book.chapters.push_back({heading.kind, heading.after_volumes, heading.text, name, heading.anchor});
        book.pages.push_back({name, page.title});
        controls.OnFileProgress(static_cast<int>(end * 100 / std::max<size_t>(bytes.size(), 1)));
    }
    return {};
}
