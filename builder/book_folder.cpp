#include "builder/book_folder.h"

#include <cstring>
#include <optional>
#include <vector>

namespace {

constexpr char kMarkerText[] = "Folvane 正在生成这本书；书编译完成后这个文件就会删除。\r\n";
constexpr size_t kRandomDigits = 16;
constexpr int64_t kLeftoverAgeNs = 10'000'000'000;

bool IsWorkFolderName(const std::string& name) {
    const size_t prefix = std::strlen(kWorkFolderPrefix);
    if (name.size() != prefix + kRandomDigits || name.compare(0, prefix, kWorkFolderPrefix) != 0)
        return false;
    for (size_t i = prefix; i < name.size(); ++i) {
        if (!std::strchr("0123456789abcdef", name[i]))
            return false;
    }
    return true;
}

// The marker in `folder`, when it is there as a regular file of its own (not a link).
std::optional<platform::FileInfo> MarkerOf(const std::string& folder) {
    const platform::FileInfo marker = platform::GetEntryInfo(platform::JoinPath(folder, kBookMarkerName));
    if (!marker.exists || marker.is_folder || marker.is_link)
        return std::nullopt;
    return marker;
}

class MarkerHold : public CompileHold {
  public:
    MarkerHold(std::string marker, std::unique_ptr<platform::HeldFile> held)
        : marker_(std::move(marker)), held_(std::move(held)) {}
    void CompileEnded(bool compiled) override {
        held_.reset();
        if (compiled)
            platform::DeleteFileAt(marker_);
    }

  private:
    std::string marker_;
    std::unique_ptr<platform::HeldFile> held_;
};

}  // namespace

BookFolderState InspectBookFolder(const std::string& folder) {
    const platform::FileInfo entry = platform::GetEntryInfo(folder);
    if (!entry.exists)
        return BookFolderState::kNone;
    if (!entry.is_folder || entry.is_link)
        return BookFolderState::kNotAFolder;
    if (!MarkerOf(folder))
        return BookFolderState::kComplete;
    return platform::IsFileHeld(platform::JoinPath(folder, kBookMarkerName)) ? BookFolderState::kBusy
                                                                             : BookFolderState::kUnfinished;
}

WorkFolder::WorkFolder(std::string path, std::unique_ptr<platform::HeldFile> marker)
    : path_(std::move(path)), marker_(std::move(marker)) {}

std::unique_ptr<WorkFolder> WorkFolder::Create(const std::string& parent, std::string& reason) {
    const std::string name = platform::CreateUniqueFolder(parent, kWorkFolderPrefix, "");
    if (name.empty()) {
        reason = "无法在 " + parent + " 里创建文件夹：" + platform::LastErrorText();
        return nullptr;
    }
    const std::string path = platform::JoinPath(parent, name);
    auto marker = platform::CreateHeldFile(platform::JoinPath(path, kBookMarkerName), kMarkerText);
    if (!marker) {
        reason = "无法在 " + path + " 里写入文件：" + platform::LastErrorText();
        platform::RemoveFlatFolder(path);
        return nullptr;
    }
    return std::unique_ptr<WorkFolder>(new WorkFolder(path, std::move(marker)));
}

WorkFolder::~WorkFolder() {
    if (moved_)
        return;
    marker_.reset();
    platform::RemoveFlatFolder(path_);
}

bool WorkFolder::MoveTo(const std::string& book_folder, bool& exists, std::string& reason) {
    exists = false;
    // Windows does not rename a folder while a file in it is open: there the marker is let go
    // for the moment of the rename and taken again after. Elsewhere it stays held throughout.
    const bool let_go = platform::PathSeparator() == '\\';
    if (let_go)
        marker_.reset();
    const bool renamed = platform::RenameFolder(path_, book_folder);
    const std::string why = renamed ? "" : platform::LastErrorText();
    if (renamed) {
        moved_ = true;
        path_ = book_folder;
    }
    if (let_go)
        marker_ = platform::HoldExistingFile(platform::JoinPath(path_, kBookMarkerName));
    if (renamed)
        return true;
    exists = platform::GetEntryInfo(book_folder).exists;
    if (!exists)
        reason = "无法把文件夹改名为 " + book_folder + "：" + why;
    return false;
}

std::unique_ptr<CompileHold> WorkFolder::TakeHold() {
    return std::make_unique<MarkerHold>(platform::JoinPath(path_, kBookMarkerName), std::move(marker_));
}

int RemoveLeftoverWorkFolders(const std::string& parent) {
    std::vector<platform::FolderEntry> entries;
    if (!platform::ListFolder(parent, entries))
        return 0;
    int removed = 0;
    for (const platform::FolderEntry& e : entries) {
        if (!e.is_folder || !IsWorkFolderName(e.name))
            continue;
        const std::string folder = platform::JoinPath(parent, e.name);
        if (platform::GetEntryInfo(folder).is_link)
            continue;
        // A run lets its marker go for an instant when it renames its folder (on Windows): only
        // folders left for a while are taken for leftovers.
        const std::optional<platform::FileInfo> marker = MarkerOf(folder);
        if (!marker || platform::NowNs() - marker->mtime_ns < kLeftoverAgeNs)
            continue;
        // A run that is still making this book holds its marker.
        auto held = platform::HoldExistingFile(platform::JoinPath(folder, kBookMarkerName));
        if (!held)
            continue;
        held.reset();
        removed += platform::RemoveFlatFolder(folder) ? 1 : 0;
    }
    return removed;
}
