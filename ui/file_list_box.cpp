#include "ui/file_list_box.h"

#include <algorithm>

#include "win/wide_text.h"

namespace {

std::vector<std::string> ListFolderFiles(const std::string& folder) {
    if (folder.empty())
        return {};
    return ListSourceFolder(folder);
}

}  // namespace

void FileListBox::Refresh() {
    names_ = ListFolderFiles(path_);
    if (!listbox_)
        return;
    SendMessageW(listbox_, WM_SETREDRAW, FALSE, 0);
    SendMessageW(listbox_, LB_RESETCONTENT, 0, 0);
    for (const std::string& name : names_) {
        const std::wstring wide = WideFromUtf8(name);
        SendMessageW(listbox_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
    }
    SendMessageW(listbox_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(listbox_, nullptr, TRUE);
}

std::string FileListBox::List(int index) const {
    if (index < 0 || index >= ListCount())
        return {};
    return names_[index];
}

FrozenFileList::FrozenFileList(const FileList& source) : path_(source.Path()) {
    for (int i = 0; i < source.ListCount(); ++i)
        names_.push_back(source.List(i));
}

void FrozenFileList::Refresh() {
    names_ = ListFolderFiles(path_);
}

std::string FrozenFileList::List(int index) const {
    if (index < 0 || index >= ListCount())
        return {};
    return names_[index];
}

void ResultListBox::SetEntry(int index, const std::string& line) {
    if (!listbox_ || index < 0)
        return;
    const std::wstring wide = WideFromUtf8(line);
    const int count = ListCount();
    if (index >= count) {
        SendMessageW(listbox_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
        ScrollToLast();
        return;
    }
    // A list box has no message that changes an entry's text: delete and insert, and put the
    // view and the selection back where the user left them.
    const LRESULT top = SendMessageW(listbox_, LB_GETTOPINDEX, 0, 0);
    const LRESULT selected = SendMessageW(listbox_, LB_GETCURSEL, 0, 0);
    SendMessageW(listbox_, WM_SETREDRAW, FALSE, 0);
    SendMessageW(listbox_, LB_DELETESTRING, index, 0);
    SendMessageW(listbox_, LB_INSERTSTRING, index, reinterpret_cast<LPARAM>(wide.c_str()));
    if (selected != LB_ERR)
        SendMessageW(listbox_, LB_SETCURSEL, selected, 0);
    SendMessageW(listbox_, LB_SETTOPINDEX, top, 0);
    SendMessageW(listbox_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(listbox_, nullptr, TRUE);
}

void ResultListBox::Clear() {
    if (listbox_)
        SendMessageW(listbox_, LB_RESETCONTENT, 0, 0);
}

void ResultListBox::ScrollToLast() {
    const LRESULT item_height = SendMessageW(listbox_, LB_GETITEMHEIGHT, 0, 0);
    RECT client{};
    GetClientRect(listbox_, &client);
    if (item_height <= 0 || item_height == LB_ERR)
        return;
    // Whole rows only: the list box has no integral height, so its last row may be cut.
    const int rows = std::max(1, static_cast<int>(client.bottom / item_height));
    SendMessageW(listbox_, LB_SETTOPINDEX, std::max(0, ListCount() - rows), 0);
}

int ResultListBox::ListCount() const {
    if (!listbox_)
        return 0;
    const LRESULT count = SendMessageW(listbox_, LB_GETCOUNT, 0, 0);
    return count == LB_ERR ? 0 : static_cast<int>(count);
}

std::string ResultListBox::Entry(int index) const {
    if (!listbox_ || index < 0 || index >= ListCount())
        return {};
    const LRESULT length = SendMessageW(listbox_, LB_GETTEXTLEN, index, 0);
    if (length == LB_ERR)
        return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT copied = SendMessageW(listbox_, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied == LB_ERR ? 0 : static_cast<size_t>(copied));
    return Utf8FromWide(text);
}
