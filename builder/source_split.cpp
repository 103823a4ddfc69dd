#include "builder/source_split.h"

#include "builder/platform.h"
#include "builder/text_bytes.h"
#include "builder/unicode_text.h"

namespace {

constexpr size_t kCharsPerUnit = 512;

// Turns a source with a byte-order mark into UTF-8 without the mark; other sources stay as
// code page 936 bytes, which the pieces are cut from directly.
TextEncoding PrepareContent(std::string& bytes) {
    auto starts_with = [&](const char* mark, size_t length) {
        return bytes.size() >= length && bytes.compare(0, length, mark, length) == 0;
    };
    if (starts_with("\xEF\xBB\xBF", 3)) {
        bytes.erase(0, 3);
        return TextEncoding::kUtf8;
    }
    if (starts_with("\xFF\xFE", 2) || starts_with("\xFE\xFF", 2)) {
        bool big_endian = bytes[0] == '\xFE';
        std::string text = Utf16BytesToUtf8(std::string_view(bytes).substr(2), big_endian);
        bytes.swap(text);
        return TextEncoding::kUtf8;
    }
    return TextEncoding::kCp936;
}

}  // namespace

std::string PieceFileName(const std::string& base_name, size_t k, size_t n) {
    std::string number = std::to_string(k);
    size_t digits = std::to_string(n).size();
    if (number.size() < digits)
        number.insert(0, digits - number.size(), '0');
    return base_name + "_" + number + ".txt";
}

SplitOutcome SplitSourceFile(const std::string& source_path,
                             const std::string& base_name,
                             const std::string& output_folder,
                             int piece_units,
                             RunControls& controls) {
    std::string content;
    return SplitSourceFile(source_path, base_name, output_folder, piece_units, controls, content);
}

SplitOutcome SplitSourceFile(const std::string& source_path,
                             const std::string& base_name,
                             const std::string& output_folder,
                             int piece_units,
                             RunControls& controls,
                             std::string& content) {
    SplitOutcome outcome;
    if (source_path.empty())
        return outcome;
    const size_t piece_chars = static_cast<size_t>(piece_units > 0 ? piece_units : 1) * kCharsPerUnit;

    // An unreadable source is treated like an empty one: one empty piece and no book.
    if (!platform::ReadFileBytes(source_path, content))
        content.clear();
    TextEncoding encoding = PrepareContent(content);
    outcome.unicode_source = encoding == TextEncoding::kUtf8;

    // Piece boundaries first: their count fixes the width of the numbers in the names.
    std::vector<size_t> starts{0};
    size_t pos = 0;
    for (;;) {
        size_t passed = 0;
        pos = AdvanceChars(content, pos, piece_chars, encoding, &passed);
        if (pos >= content.size())
            break;
        starts.push_back(pos);
    }
    const size_t n = starts.size();
    outcome.pieces = n;

    // Code page 936 pieces are written straight from the source buffer, with CR LF standing in
    // for the two bytes after the piece while it is written: copying each piece only to add
    // its line end would cost about as much as writing it.
    const size_t size = content.size();
    content += "\r\n";
    bool write_failed = false;
    std::string piece_text;
    for (size_t k = 1; k <= n; ++k) {
        size_t begin = starts[k - 1];
        size_t end = k < n ? starts[k] : size;
        if (!controls.Yield()) {
            content.resize(size);
            outcome.status = SplitStatus::kStopped;
            return outcome;
        }
        const std::string path = platform::JoinPath(output_folder, PieceFileName(base_name, k, n));
        bool written = false;
        if (encoding == TextEncoding::kUtf8) {
            piece_text = platform::EncodeCp936(std::string_view(content).substr(begin, end - begin));
            piece_text += "\r\n";
            written = platform::WriteFileBytes(path, piece_text);
        } else {
            const char after[2] = {content[end], content[end + 1]};
            content[end] = '\r';
            content[end + 1] = '\n';
            written = platform::WriteFileBytes(path, std::string_view(content).substr(begin, end + 2 - begin));
            content[end] = after[0];
            content[end + 1] = after[1];
        }
        write_failed = write_failed || !written;
    }
    content.resize(size);
    if (content.empty())
        outcome.status = SplitStatus::kEmpty;
    else if (write_failed)
        outcome.status = SplitStatus::kWriteFailed;
    else
        outcome.status = SplitStatus::kSucceeded;
    return outcome;
}
