// The contents, index and project files that the help compiler reads, written beside the
// pages in the folder that controls.File2() lists.
#pragma once

#include <string>
#include <vector>

#include "builder/pages.h"
#include "builder/run_controls.h"

inline constexpr char kContentsFileName[] = "chm_hhc.hhc";
inline constexpr char kIndexFileName[] = "chm_hhk.hhk";
inline constexpr char kProjectFileName[] = "chm_hhp.hhp";

// The book name: the base name, or "chm文件" when the base name is empty.
std::string BookName(const std::string& base_name);

// The entry names of the pages, in the order of File2. The contents writer fills it and the
// index writer, called right after it on the same pages, reuses it instead of reading every
// page a second time.
using PageNames = std::vector<std::string>;

// The lines of each file (UTF-8), as they are joined with CR LF and written. Exposed for tests.
// `known`: titles noted while wrapping; pages not in it are read.
std::vector<std::string> ContentsLines(RunControls& controls,
                                       bool* stopped,
                                       PageNames* names = nullptr,
                                       const PageTitles* known = nullptr);
std::vector<std::string> IndexLines(RunControls& controls, bool* stopped, const PageNames* names = nullptr);
std::vector<std::string> ProjectLines(RunControls& controls, const std::string& base_name);

StepStatus WriteContentsFile(RunControls& controls, PageNames* names = nullptr, const PageTitles* known = nullptr);
StepStatus WriteIndexFile(RunControls& controls, const PageNames* names = nullptr);
StepStatus WriteProjectFile(RunControls& controls, const std::string& base_name);
