#include "builder/project_files.h"

#include <algorithm>
#include <optional>

#include "builder/platform.h"
#include "builder/project_strings.h"

namespace {

const std::string& S(int id) {
    return ProjectString(id);
}

// The entry name of page j: its title, or its file name when it has none. Empty when the run
// must stop.
std::optional<std::string> EntryName(RunControls& controls, int j, const PageTitles* known) {
    FileList& pages = controls.File2();
    std::string name = pages.List(j);
    std::string title;
    auto it = known ? known->find(name) : PageTitles::const_iterator();
    if (known && it != known->end()) {
        title = it->second;
    } else {
        bool stopped = false;
        title = ReadPageTitle(platform::JoinPath(pages.Path(), name), controls, &stopped);
        if (stopped)
            return std::nullopt;
    }
    return title.empty() ? name : title;
}

// Fills the four slots of page j from `first`. Returns false when the run must stop.
bool FillPageSlots(RunControls& controls,
                   int j,
                   std::vector<std::string>& lines,
                   size_t first,
                   const PageNames* known,
                   PageNames* found,
                   const PageTitles* titles) {
    std::string entry_name;
    if (known && static_cast<size_t>(j) < known->size()) {
        entry_name = (*known)[static_cast<size_t>(j)];
    } else {
        std::optional<std::string> read = EntryName(controls, j, titles);
        if (!read)
            return false;
        entry_name = *read;
    }
    if (found)
        found->push_back(entry_name);
    lines[first] = S(10);
    lines[first + 1] = S(15) + entry_name + S(16);
    lines[first + 2] = S(18) + controls.File2().List(j) + S(16);
    lines[first + 3] = S(12);
    return true;
}

StepStatus WriteLines(RunControls& controls, const char* file_name, const std::vector<std::string>& lines) {
    std::string text;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            text += "\r\n";
        text += lines[i];
    }
    text += "\r\n";
    std::string path = platform::JoinPath(controls.File2().Path(), file_name);
    return platform::WriteFileBytes(path, platform::EncodeCp936(text)) ? StepStatus::kDone : StepStatus::kFailed;
}

}  // namespace

std::string BookName(const std::string& base_name) {
    return base_name.empty() ? "chm文件" : base_name;
}

std::vector<std::string> ContentsLines(RunControls& controls,
                                       bool* stopped,
                                       PageNames* names,
                                       const PageTitles* known) {
    *stopped = false;
    const size_t n = static_cast<size_t>(std::max(controls.File2().ListCount(), 0));
    std::vector<std::string> lines(4 * n + 23);
    const int head[] = {1, 2, 3, 4, 5, 6, 7, 8, 12, 9, 10, 11, 12, 13};
    for (size_t slot = 0; slot < 14; ++slot)
        lines[slot] = S(head[slot]);
    for (size_t j = 0; j < n; ++j) {
        if (!controls.Yield() ||
            !FillPageSlots(controls, static_cast<int>(j), lines, 14 + 4 * j, nullptr, names, known)) {
            *stopped = true;
            return {};
        }
    }
    lines[4 * n + 15] = S(20);
    lines[4 * n + 16] = S(10);
    lines[4 * n + 17] = S(19);
    lines[4 * n + 19] = S(17);
    lines[4 * n + 20] = S(12);
    lines[4 * n + 21] = S(20);
    lines[4 * n + 22] = S(14);
    return lines;
}

std::vector<std::string> IndexLines(RunControls& controls, bool* stopped, const PageNames* names) {
    *stopped = false;
    const size_t n = static_cast<size_t>(std::max(controls.File2().ListCount(), 0));
    std::vector<std::string> lines(4 * n + 9);
    const int head[] = {2, 3, 4, 5, 6, 9};
    for (size_t slot = 0; slot < 6; ++slot)
        lines[slot] = S(head[slot]);
    for (size_t j = 0; j < n; ++j) {
        if (!controls.Yield() ||
            !FillPageSlots(controls, static_cast<int>(j), lines, 6 + 4 * j, names, nullptr, nullptr)) {
            *stopped = true;
            return {};
        }
    }
    lines[4 * n + 7] = S(20);
    lines[4 * n + 8] = S(14);
    return lines;
}

std::vector<std::string> ProjectLines(RunControls& controls, const std::string& base_name) {
    // [FILES] names the pages of this book: they lie beside the project file.
    FileList& pages = controls.File2();
    const size_t m = static_cast<size_t>(std::max(pages.ListCount(), 0));
    const std::string book = BookName(base_name);
    std::vector<std::string> lines(m + 15);
    lines[0] = S(22);
    lines[1] = S(23);
    lines[2] = S(24) + book + ".chm";
    lines[3] = S(25);
    lines[4] = S(26);
    lines[6] = S(28);
    lines[7] = S(29);
    lines[8] = S(30);
    lines[9] = S(31);
    lines[10] = S(35) + book + S(32);
    lines[11] = S(33);
    for (size_t i = 0; i < m; ++i)
        lines[12 + i] = pages.List(static_cast<int>(i));
    lines[m + 12] = S(34);
    return lines;
}

StepStatus WriteContentsFile(RunControls& controls, PageNames* names, const PageTitles* known) {
    bool stopped = false;
    if (names)
        names->clear();
    std::vector<std::string> lines = ContentsLines(controls, &stopped, names, known);
    return stopped ? StepStatus::kStopped : WriteLines(controls, kContentsFileName, lines);
}

StepStatus WriteIndexFile(RunControls& controls, const PageNames* names) {
    bool stopped = false;
    std::vector<std::string> lines = IndexLines(controls, &stopped, names);
    return stopped ? StepStatus::kStopped : WriteLines(controls, kIndexFileName, lines);
}

StepStatus WriteProjectFile(RunControls& controls, const std::string& base_name) {
    return WriteLines(controls, kProjectFileName, ProjectLines(controls, base_name));
}
