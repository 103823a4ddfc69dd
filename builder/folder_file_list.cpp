#include "builder/folder_file_list.h"

#include <algorithm>

#include "builder/platform.h"
#include "builder/unicode_text.h"

bool IsSourceFileName(const std::string& name) {
    return EndsWithIgnoringAsciiCase(name, ".txt") || EndsWithIgnoringAsciiCase(name, ".htm") ||
           EndsWithIgnoringAsciiCase(name, ".html");
}

std::vector<std::string> ListSourceFolder(const std::string& folder) {
    std::vector<std::string> names;
    std::vector<platform::FolderEntry> entries;
    if (folder.empty() || !platform::ListFolder(folder, entries))
        return names;
    for (const platform::FolderEntry& e : entries) {
        if (!e.is_folder && !e.hidden_or_system && IsSourceFileName(e.name))
            names.push_back(e.name);
    }
    // Ties in letter case are ordered by bytes so that the order never depends on the listing.
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        int c = CompareIgnoringAsciiCase(a, b);
        return c != 0 ? c < 0 : a < b;
    });
    return names;
}

void FolderFileList::SetPath(const std::string& folder) {
    path_ = folder;
    Refresh();
}

void FolderFileList::Refresh() {
    names_ = ListSourceFolder(path_);
}

std::string FolderFileList::List(int index) const {
    if (index < 0 || index >= ListCount())
        return "";
    return names_[static_cast<size_t>(index)];
}
