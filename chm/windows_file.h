// #WINDOWS: the project's window types as the viewer's HH_WINTYPE records, their texts as
// offsets into #STRINGS.
#pragma once

#include <string>
#include <vector>

#include "chm/project_file.h"
#include "chm/strings_table.h"

namespace chm {

inline constexpr size_t kWindowRecordBytes = 0xC4;

// The texts of `windows` are stored as they are: the caller has put them into the book's code page.
std::string BuildWindowsFile(const std::vector<WindowDefinition>& windows, StringsTable& strings);

}  // namespace chm
