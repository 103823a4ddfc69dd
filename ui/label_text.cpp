#include "ui/label_text.h"

#include <algorithm>

namespace {

bool IsWide(wchar_t c) {
    return c >= 0x2E80 || (c >= 0x1100 && c <= 0x115F) || (c >= 0x2000 && c <= 0x206F);
}

// Closing punctuation may not start a line.
bool IsNoStart(wchar_t c) {
    static constexpr std::wstring_view kNoStart =
        L"!),.:;?]}¨·ˇˉ―‖’”…∶、。〃々〉》」』】〕〗〞︶︺︾﹀﹄﹚﹜﹞！＂％＇），．：；？］｀｜｝～￠";
    return kNoStart.find(c) != std::wstring_view::npos;
}

// Opening punctuation may not end a line.
bool IsNoEnd(wchar_t c) {
    static constexpr std::wstring_view kNoEnd = L"([{·‘“〈《「『【〔〖〝﹙﹛﹝＄（．［｛￡￥";
    return kNoEnd.find(c) != std::wstring_view::npos;
}

int TextWidth(HDC dc, std::wstring_view text) {
    SIZE size{};
    GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &size);
    return size.cx;
}

// How many leading characters of text fit into width (at least one, so that every line
// makes progress).
size_t FittingLength(HDC dc, std::wstring_view text, int width) {
    int fit = 0;
    SIZE size{};
    if (!GetTextExtentExPointW(dc, text.data(), static_cast<int>(text.size()), width, &fit, nullptr, &size)) {
        fit = static_cast<int>(text.size());
    }
    return std::max<size_t>(1, std::min<size_t>(fit, text.size()));
}

void WrapParagraph(HDC dc, std::wstring_view text, int width, std::vector<std::wstring>& lines) {
    while (!text.empty()) {
        if (TextWidth(dc, text) <= width) {
            lines.emplace_back(text);
            return;
        }
        const size_t fit = FittingLength(dc, text, width);
        size_t cut = 0;
        // A blank right after the fitting part is a break too.
        for (size_t i = fit; i > 0; --i) {
            if (i < text.size() && (text[i] == L' ' || CanBreakBetween(text[i - 1], text[i]))) {
                cut = i;
                break;
            }
        }
        if (cut == 0)
            cut = fit;
        std::wstring_view line = text.substr(0, cut);
        while (!line.empty() && line.back() == L' ')
            line.remove_suffix(1);
        lines.emplace_back(line);
        text.remove_prefix(cut);
        while (!text.empty() && text.front() == L' ')
            text.remove_prefix(1);
    }
}

}  // namespace

bool CanBreakBetween(wchar_t before, wchar_t after) {
    if (after == L' ')
        return false;
    if (before == L' ')
        return true;
    if (!IsWide(before) && !IsWide(after))
        return false;
    return !IsNoStart(after) && !IsNoEnd(before);
}

std::vector<std::wstring> WrapLabelText(HDC dc, std::wstring_view text, int width) {
    std::vector<std::wstring> lines;
    while (true) {
        const size_t feed = text.find(L'\n');
        std::wstring_view paragraph = text.substr(0, feed);
        if (!paragraph.empty() && paragraph.back() == L'\r')
            paragraph.remove_suffix(1);
        if (paragraph.empty()) {
            if (feed != std::wstring_view::npos)
                lines.emplace_back();
        } else {
            WrapParagraph(dc, paragraph, width, lines);
        }
        if (feed == std::wstring_view::npos)
            break;
        text.remove_prefix(feed + 1);
    }
    return lines;
}

void DrawLabelText(HDC dc, const RECT& rect, std::wstring_view text, COLORREF colour) {
    if (text.empty())
        return;
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    const COLORREF old_colour = SetTextColor(dc, colour);
    const int old_mode = SetBkMode(dc, TRANSPARENT);
    int y = rect.top;
    for (const std::wstring& line : WrapLabelText(dc, text, rect.right - rect.left)) {
        if (y >= rect.bottom)
            break;
        ExtTextOutW(dc, rect.left, y, ETO_CLIPPED, &rect, line.data(), static_cast<UINT>(line.size()), nullptr);
        y += metrics.tmHeight + metrics.tmExternalLeading;
    }
    SetBkMode(dc, old_mode);
    SetTextColor(dc, old_colour);
}
