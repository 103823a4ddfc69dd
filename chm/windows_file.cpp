#include "chm/windows_file.h"

#include "chm/little_endian.h"

namespace chm {

namespace {

// Which members of the record hold a value (HHWIN_PARAM_*).
constexpr uint32_t kHasProperties = 1 << 1;
constexpr uint32_t kHasStyles = 1 << 2;
constexpr uint32_t kHasExStyles = 1 << 3;
constexpr uint32_t kHasRect = 1 << 4;
constexpr uint32_t kHasNavWidth = 1 << 5;
constexpr uint32_t kHasShowState = 1 << 6;
constexpr uint32_t kHasToolbarFlags = 1 << 8;
constexpr uint32_t kHasExpansion = 1 << 9;
constexpr uint32_t kHasTabPosition = 1 << 10;
constexpr uint32_t kHasCurrentTab = 1 << 13;

uint32_t ValidMembers(const WindowDefinition& w) {
    uint32_t bits = 0;
    bits |= w.properties ? kHasProperties : 0;
    bits |= w.styles ? kHasStyles : 0;
    bits |= w.ex_styles ? kHasExStyles : 0;
    bits |= w.position ? kHasRect : 0;
    bits |= w.nav_width ? kHasNavWidth : 0;
    bits |= w.show_state ? kHasShowState : 0;
    bits |= w.toolbar_flags ? kHasToolbarFlags : 0;
    bits |= w.nav_closed ? kHasExpansion : 0;
    bits |= w.tab_position ? kHasTabPosition : 0;
    bits |= w.default_tab ? kHasCurrentTab : 0;
    return bits;
}

}  // namespace

std::string BuildWindowsFile(const std::vector<WindowDefinition>& windows, StringsTable& strings) {
    auto text = [&](const std::string& bytes) { return strings.Add(bytes); };
    std::string out;
    Put32(out, static_cast<uint32_t>(windows.size()));
    Put32(out, kWindowRecordBytes);
    for (const WindowDefinition& w : windows) {
        const size_t start = out.size();
        Put32(out, kWindowRecordBytes);
        Put32(out, 0);  // texts are in the code page, not UTF-16
        Put32(out, text(w.name));
        Put32(out, ValidMembers(w));
        Put32(out, w.properties.value_or(0));
        Put32(out, text(w.caption));
        Put32(out, w.styles.value_or(0));
        Put32(out, w.ex_styles.value_or(0));
        const std::array<int32_t, 4> rect = w.position.value_or(std::array<int32_t, 4>{});
        for (int32_t side : rect)
            Put32(out, static_cast<uint32_t>(side));
        Put32(out, w.show_state.value_or(0));
        for (int i = 0; i < 6; ++i)
            Put32(out, 0);  // window handles and information types: filled in by the viewer
        Put32(out, w.nav_width.value_or(0));
        for (int i = 0; i < 4; ++i)
            Put32(out, 0);  // the topic pane's rectangle, computed by the viewer
        Put32(out, text(w.contents_file));
        Put32(out, text(w.index_file));
        Put32(out, text(w.default_file));
        Put32(out, text(w.home_file));
        Put32(out, w.toolbar_flags.value_or(0));
        Put32(out, w.nav_closed.value_or(0));
        Put32(out, w.default_tab.value_or(0));
        Put32(out, w.tab_position.value_or(0));
        Put32(out, w.notify_id.value_or(0));
        out.append(20, '\0');  // tab order: the viewer's default
        Put32(out, 0);         // history entries: the viewer's default
        Put32(out, text(w.jump1_text));
        Put32(out, text(w.jump2_text));
        Put32(out, text(w.jump1_url));
        Put32(out, text(w.jump2_url));
        for (int i = 0; i < 4; ++i)
            Put32(out, 0);  // no minimum size
        Put32(out, 0);      // no information types
        Put32(out, 0);      // no custom tabs
        out.resize(start + kWindowRecordBytes, '\0');
    }
    return out;
}

}  // namespace chm
