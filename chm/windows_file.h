// #WINDOWS: the project's window types as the viewer's HH_WINTYPE records, their texts as
// offsets into #STRINGS.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "chm/project_file.h"
#include "chm/strings_table.h"

namespace chm {

inline constexpr size_t kWindowRecordBytes = 0xC4;

// `to_code_page` turns a UTF-8 text into the book's code page.
std::string BuildWindowsFile(const std::vector<WindowDefinition>& windows,
                             StringsTable& strings,
                             const std::function<std::string(const std::string&)>& to_code_page);

}  // namespace chm
