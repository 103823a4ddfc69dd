#include "chm/project_file.h"

#include <algorithm>

#include "chm/text_refs.h"

namespace chm {

namespace {

// Splits a window line at the commas that are neither inside quotes nor inside [ ].
std::vector<std::string_view> SplitFields(std::string_view line) {
    std::vector<std::string_view> fields;
    size_t start = 0;
    bool quoted = false;
    int brackets = 0;
    for (size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '"')
            quoted = !quoted;
        else if (!quoted && c == '[')
            ++brackets;
        else if (!quoted && c == ']' && brackets > 0)
            --brackets;
        else if (!quoted && brackets == 0 && c == ',') {
            fields.push_back(line.substr(start, i - start));
            start = i + 1;
        }
    }
    fields.push_back(line.substr(start));
    return fields;
}

std::string_view Unquote(std::string_view field) {
    field = TrimBlanks(field);
    if (field.size() >= 2 && field.front() == '"' && field.back() == '"')
        field = field.substr(1, field.size() - 2);
    return field;
}

// File names carry only numeric references; the caption is display text.
std::string FieldName(std::string_view field) {
    return DecodeCharRefs(Unquote(field));
}
std::string FieldText(std::string_view field) {
    return DecodeHtmlText(Unquote(field));
}

std::optional<uint32_t> FieldNumber(std::string_view field) {
    std::optional<int64_t> value = ParseProjectNumber(TrimBlanks(field));
    if (!value)
        return std::nullopt;
    return static_cast<uint32_t>(*value);
}

std::optional<std::array<int32_t, 4>> FieldRect(std::string_view field) {
    field = TrimBlanks(field);
    if (field.size() < 2 || field.front() != '[' || field.back() != ']')
        return std::nullopt;
    std::vector<std::string_view> parts = SplitFields(field.substr(1, field.size() - 2));
    if (parts.size() != 4)
        return std::nullopt;
    std::array<int32_t, 4> rect{};
    for (size_t i = 0; i < 4; ++i) {
        std::optional<int64_t> value = ParseProjectNumber(TrimBlanks(parts[i]));
        if (!value)
            return std::nullopt;
        rect[i] = static_cast<int32_t>(*value);
    }
    return rect;
}

WindowDefinition ParseWindow(std::string_view name, std::string_view value) {
    WindowDefinition window;
    window.name = DecodeCharRefs(TrimBlanks(name));
    std::vector<std::string_view> f = SplitFields(value);
    f.resize(std::max<size_t>(f.size(), 20));
    window.caption = FieldText(f[0]);
    window.contents_file = FieldName(f[1]);
    window.index_file = FieldName(f[2]);
    window.default_file = FieldName(f[3]);
    window.home_file = FieldName(f[4]);
    window.jump1_url = FieldName(f[5]);
    window.jump1_text = FieldText(f[6]);
    window.jump2_url = FieldName(f[7]);
    window.jump2_text = FieldText(f[8]);
    window.properties = FieldNumber(f[9]);
    window.nav_width = FieldNumber(f[10]);
    window.toolbar_flags = FieldNumber(f[11]);
    window.position = FieldRect(f[12]);
    window.styles = FieldNumber(f[13]);
    window.ex_styles = FieldNumber(f[14]);
    window.show_state = FieldNumber(f[15]);
    window.nav_closed = FieldNumber(f[16]);
    window.default_tab = FieldNumber(f[17]);
    window.tab_position = FieldNumber(f[18]);
    window.notify_id = FieldNumber(f[19]);
    return window;
}

}  // namespace

std::string ProjectFile::Option(std::string_view key) const {
    const std::string wanted = AsciiLower(key);
    for (const auto& [name, value] : options) {
        if (AsciiLower(name) == wanted)
            return value;
    }
    return {};
}

const WindowDefinition* ProjectFile::FindWindow(std::string_view name) const {
    const std::string wanted = AsciiLower(name);
    for (const WindowDefinition& window : windows) {
        if (AsciiLower(window.name) == wanted)
            return &window;
    }
    return nullptr;
}

ProjectFile ParseProjectFile(std::string_view utf8) {
    ProjectFile project;
    std::string section;
    size_t pos = 0;
    while (pos <= utf8.size()) {
        size_t end = utf8.find_first_of("\r\n", pos);
        if (end == std::string_view::npos)
            end = utf8.size();
        const std::string_view line = TrimBlanks(utf8.substr(pos, end - pos));
        pos = end + 1;
        if (line.empty() || line.front() == ';')
            continue;
        if (line.front() == '[' && line.back() == ']') {
            section = AsciiLower(TrimBlanks(line.substr(1, line.size() - 2)));
            if (section == "files")
                project.has_files_section = true;
            continue;
        }
        const size_t equals = line.find('=');
        if (section == "options" && equals != std::string_view::npos) {
            project.options.emplace_back(std::string(TrimBlanks(line.substr(0, equals))),
                                         std::string(TrimBlanks(line.substr(equals + 1))));
        } else if (section == "windows" && equals != std::string_view::npos) {
            project.windows.push_back(ParseWindow(line.substr(0, equals), line.substr(equals + 1)));
        } else if (section == "files") {
            project.files.push_back(DecodeCharRefs(line));
        }
    }
    return project;
}

std::optional<int64_t> ParseProjectNumber(std::string_view text) {
    bool negative = false;
    if (!text.empty() && text.front() == '-') {
        negative = true;
        text.remove_prefix(1);
    }
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty() || text.size() > 16)
        return std::nullopt;
    int64_t value = 0;
    for (char c : text) {
        const int digit = DigitValue(c, base);
        if (digit < 0)
            return std::nullopt;
        value = value * base + digit;
    }
    return negative ? -value : value;
}

uint32_t LanguageId(std::string_view language_option, uint32_t fallback) {
    language_option = TrimBlanks(language_option);
    std::optional<int64_t> value = ParseProjectNumber(language_option.substr(0, language_option.find_first_of(" \t")));
    if (!value || *value <= 0 || *value > 0xFFFF)
        return fallback;
    return static_cast<uint32_t>(*value);
}

}  // namespace chm
