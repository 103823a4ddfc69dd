#include "ui/dropped_folder.h"

#include "win/wide_text.h"

namespace {

std::wstring FolderOf(const std::wstring& file) {
    const size_t slash = file.find_last_of(L"\\/");
    if (slash == std::wstring::npos)
        return {};
    // "C:\book.txt" lies in "C:\", not in "C:".
    const bool drive_root = slash == 2 && file[1] == L':';
    return file.substr(0, drive_root ? slash + 1 : slash);
}

}  // namespace

std::string DroppedFolder(HDROP drop) {
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    std::wstring first_file;
    for (UINT i = 0; i < count; ++i) {
        const UINT length = DragQueryFileW(drop, i, nullptr, 0);
        if (length == 0)
            continue;
        std::wstring path(length + 1, L'\0');
        path.resize(DragQueryFileW(drop, i, path.data(), length + 1));
        const DWORD attributes = GetFileAttributesW(path.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES)
            continue;
        if (attributes & FILE_ATTRIBUTE_DIRECTORY)
            return Utf8FromWide(path);
        if (first_file.empty())
            first_file = path;
    }
    return Utf8FromWide(FolderOf(first_file));
}
