#include "ui/run_progress.h"

#include <algorithm>

#include "win/wide_text.h"

namespace {

// The status label holds one line: a long name would push the numbers out of sight.
constexpr size_t kLongestName = 16;

}  // namespace

std::wstring RunProgress::Text() const {
    if (!Active())
        return {};
    // The book is named after the file up to its first dot, as the result lines are.
    std::wstring book = WideFromUtf8(std::string_view(name).substr(0, name.find('.')));
    if (book.size() > kLongestName) {
        size_t keep = kLongestName - 1;
        if (book[keep - 1] >= 0xD800 && book[keep - 1] <= 0xDBFF)
            --keep;  // never half a surrogate pair
        book = book.substr(0, keep) + L"…";
    }
    std::wstring text = std::to_wstring(index + 1) + L"/" + std::to_wstring(count) + L" " + book;
    if (percent >= 0)
        text += L" " + std::to_wstring(std::clamp(percent, 0, 100)) + L"%";
    return text;
}

uint64_t RunProgress::Done() const {
    if (!Active())
        return 0;
    const uint64_t done = static_cast<uint64_t>(index) * 100 + static_cast<uint64_t>(std::clamp(percent, 0, 100));
    return std::min(done, Total());
}

std::wstring StatusWithProgress(std::wstring_view status, const RunProgress& progress) {
    std::wstring text(status);
    if (progress.Active())
        text += L" " + progress.Text();
    return text;
}
