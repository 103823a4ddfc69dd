// Turning piece files into pages, and reading a page's title.
#pragma once

#include <map>
#include <string>
#include <string_view>

#include "builder/run_controls.h"

// A line equal to this marks a file that is a page already.
inline constexpr std::string_view kPageMarker = "<!123456-->";

enum class StepStatus { kDone, kFailed, kStopped };

struct PageStyle {
    // The pieces come from a .txt source: pages escape "&", "<" and ">", end each line with
    // "<br>" and carry an HTML head and tail of their own.
    bool text_source = false;
    // Numeric character references (&#NNNN;) in a text source stand for characters that code
    // page 936 cannot hold; they are kept instead of escaped.
    bool keep_char_refs = false;
};

// Page titles by the name a page has after RenamePages. WrapPages holds every page in memory
// once, so it can note the titles there and spare the project writers reading each page again.
using PageTitles = std::map<std::string, std::string>;

// Rewrites every file that controls.File2() lists as page head, CR LF, the file's lines each
// preceded by CR LF, CR LF, page tail and CR LF. A file holding the marker line is left as it is.
StepStatus WrapPages(RunControls& controls, const PageStyle& style, PageTitles* titles = nullptr);
// The name RenamePages gives an entry.
std::string PageNameAfterRename(const std::string& name);
// Renames every entry of File2 whose name ends in "txt" (exact letters) to end in "htm".
StepStatus RenamePages(RunControls& controls);
// The text between "<title>" and "</title>" (found ignoring letter case, the title keeps its
// letters) on the first line that holds "<title>"; "" when there is none or the file cannot
// be read. Sets *stopped when the front-end asked the run to stop.
std::string ReadPageTitle(const std::string& path, RunControls& controls, bool* stopped = nullptr);
// The title as ReadPageTitle finds it, from a page's bytes, without yielding.
std::string PageTitleOf(std::string_view page);
// The text after the first occurrence of `first`, cut before the next occurrence of `first`
// or of `second`. "" when `first` does not occur.
std::string ExtractBetween(std::string_view text,
                           std::string_view first,
                           std::string_view second,
                           bool ignore_case = false);
