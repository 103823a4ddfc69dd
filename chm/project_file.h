// The help project (.hhp): an INI-like text whose [OPTIONS] name the book's parts, whose
// [WINDOWS] define window types and whose [FILES] list the pages.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace chm {

// One [WINDOWS] line: name="caption","toc","index","default","home","jump 1 url","jump 1 text",
// "jump 2 url","jump 2 text",properties,pane width,buttons,[l,t,r,b],styles,ex styles,show state,
// pane closed,default tab,tab position,notify id. Texts are UTF-8 with character references
// decoded; an empty field is absent.
struct WindowDefinition {
    std::string name;
    std::string caption, contents_file, index_file, default_file, home_file;
    std::string jump1_url, jump1_text, jump2_url, jump2_text;
    std::optional<uint32_t> properties, nav_width, toolbar_flags;
    std::optional<std::array<int32_t, 4>> position;
    std::optional<uint32_t> styles, ex_styles, show_state, nav_closed, default_tab, tab_position, notify_id;
};

struct ProjectFile {
    // As written (UTF-8, character references left in: a name and a title decode differently).
    std::vector<std::pair<std::string, std::string>> options;
    std::vector<WindowDefinition> windows;
    std::vector<std::string> files;  // as listed, UTF-8, character references decoded
    bool has_files_section = false;

    // The value of an [OPTIONS] key (compared without case), or "".
    std::string Option(std::string_view key) const;
    const WindowDefinition* FindWindow(std::string_view name) const;
};

// `utf8` is the whole project file already converted from its code page.
ProjectFile ParseProjectFile(std::string_view utf8);

// A number as project files write them: decimal, or hexadecimal after "0x"; a leading "-".
std::optional<int64_t> ParseProjectNumber(std::string_view text);

// The locale of "Language=0x804 中文(中国)": the number before the first blank, else `fallback`.
uint32_t LanguageId(std::string_view language_option, uint32_t fallback);

}  // namespace chm
