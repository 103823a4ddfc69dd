#include <windows.h>

#include <algorithm>
#include <cstdlib>

#include "builder/command_line.h"
#include "builder/platform.h"
#include "builder/text_bytes.h"
#include "builder/unicode_text.h"

namespace platform {

namespace {

std::wstring Wide(std::string_view utf8) {
    std::u16string text = Utf8ToUtf16(utf8);
    return std::wstring(text.begin(), text.end());
}

std::string Narrow(const wchar_t* text, size_t length) {
    return Utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(text), length));
}

std::string Narrow(const std::wstring& text) {
    return Narrow(text.data(), text.size());
}

class HandleHolder {
  public:
    explicit HandleHolder(HANDLE h) : h_(h) {}
    ~HandleHolder() {
        if (ok())
            CloseHandle(h_);
    }
    HandleHolder(const HandleHolder&) = delete;
    HandleHolder& operator=(const HandleHolder&) = delete;
    bool ok() const { return h_ != INVALID_HANDLE_VALUE && h_ != nullptr; }
    HANDLE get() const { return h_; }

  private:
    HANDLE h_;
};

}  // namespace

bool ListFolder(const std::string& folder, std::vector<FolderEntry>& entries) {
    entries.clear();
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileExW(Wide(JoinPath(folder, "*")).c_str(), FindExInfoBasic, &data, FindExSearchNameMatch,
                                   nullptr, 0);
    if (find == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_FILE_NOT_FOUND;  // an empty drive root lists nothing
    do {
        std::string name = Narrow(std::wstring(data.cFileName));
        if (name == "." || name == "..")
            continue;
        FolderEntry entry;
        entry.name = name;
        entry.is_folder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        entry.hidden_or_system = (data.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0;
        entries.push_back(std::move(entry));
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return true;
}

FileInfo GetFileInfo(const std::string& path) {
    FileInfo info;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(Wide(path).c_str(), GetFileExInfoStandard, &data))
        return info;
    info.exists = true;
    info.is_folder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    info.size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    uint64_t ticks =
        (static_cast<uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
    info.mtime_ns = static_cast<int64_t>(ticks) * 100;
    return info;
}

bool CreateFolder(const std::string& path) {
    return CreateDirectoryW(Wide(path).c_str(), nullptr) != 0;
}

bool RenameFile(const std::string& from, const std::string& to) {
    return MoveFileExW(Wide(from).c_str(), Wide(to).c_str(), 0) != 0;
}

bool ReadFileBytes(const std::string& path, std::string& bytes) {
    HandleHolder file(CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    LARGE_INTEGER size;
    if (!file.ok() || !GetFileSizeEx(file.get(), &size) || size.QuadPart < 0 ||
        static_cast<uint64_t>(size.QuadPart) > bytes.max_size()) {
        bytes.clear();
        return false;
    }
    // Not cleared first: a buffer that is reused for files of about the same size then needs
    // no filling with zeros before the bytes are read over it.
    bytes.resize(static_cast<size_t>(size.QuadPart));
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 30));
        DWORD got = 0;
        if (!ReadFile(file.get(), bytes.data() + done, chunk, &got, nullptr)) {
            bytes.clear();
            return false;
        }
        if (got == 0)
            break;
        done += got;
    }
    bytes.resize(done);
    return true;
}

bool WriteFileBytes(const std::string& path, std::string_view bytes) {
    HandleHolder file(CreateFileW(Wide(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.ok())
        return false;
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 30));
        DWORD wrote = 0;
        if (!WriteFile(file.get(), bytes.data() + done, chunk, &wrote, nullptr) || wrote == 0)
            return false;
        done += wrote;
    }
    return true;
}

bool DeleteFileAt(const std::string& path) {
    return DeleteFileW(Wide(path).c_str()) != 0;
}

char PathSeparator() {
    return '\\';
}

std::string JoinPath(const std::string& folder, const std::string& name) {
    if (folder.empty())
        return name;
    char last = folder.back();
    if (last == '\\' || last == '/')
        return folder + name;
    return folder + "\\" + name;
}

std::string ProgramFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0)
            return ".";
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2);
    }
    size_t slash = path.find_last_of(L"\\/");
    if (slash == std::wstring::npos)
        return ".";
    // A drive root keeps its separator ("C:\").
    if (slash == 2 && path[1] == L':')
        return Narrow(path.substr(0, 3));
    return Narrow(path.substr(0, slash));
}

std::string GetEnv(const char* name) {
    std::wstring wname = Wide(name);
    DWORD n = GetEnvironmentVariableW(wname.c_str(), nullptr, 0);
    if (n == 0)
        return "";
    std::wstring value(n, L'\0');
    n = GetEnvironmentVariableW(wname.c_str(), value.data(), n);
    value.resize(n);
    return Narrow(value);
}

std::vector<std::string> PathFolders() {
    std::vector<std::string> folders;
    std::string path = GetEnv("PATH");
    size_t start = 0;
    while (start < path.size()) {
        size_t end = path.find(';', start);
        if (end == std::string::npos)
            end = path.size();
        std::string folder = path.substr(start, end - start);
        if (folder.size() >= 2 && folder.front() == '"' && folder.back() == '"')
            folder = folder.substr(1, folder.size() - 2);
        if (!folder.empty())
            folders.push_back(folder);
        start = end + 1;
    }
    return folders;
}

namespace {

class WinProcess : public Process {
  public:
    WinProcess(bool started, HANDLE process) : started_(started), process_(process) {}
    ~WinProcess() override {
        if (process_)
            CloseHandle(process_);
    }
    bool started() const override { return started_; }
    bool watchable() const override { return process_ != nullptr; }
    bool HasEnded() override { return process_ && WaitForSingleObject(process_, 0) == WAIT_OBJECT_0; }

  private:
    bool started_;
    HANDLE process_;
};

}  // namespace

std::unique_ptr<Process> StartProcess(const std::string& program,
                                      const std::vector<std::string>& args,
                                      const std::string& working_folder) {
    std::wstring command_line = Wide(BuildCommandLine(program, args));
    std::wstring folder = Wide(working_folder);
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION info = {};
    // CREATE_NO_WINDOW keeps a console compiler from opening a console window.
    BOOL ok = CreateProcessW(nullptr, command_line.data(), nullptr, nullptr, FALSE,
                             CREATE_NO_WINDOW | CREATE_UNICODE_ENVIRONMENT, nullptr,
                             folder.empty() ? nullptr : folder.c_str(), &startup, &info);
    if (!ok)
        return std::make_unique<WinProcess>(false, nullptr);
    if (info.hThread)
        CloseHandle(info.hThread);
    // Wine gives no process handle for a native Linux program; it was still started.
    return std::make_unique<WinProcess>(true, info.hProcess);
}

int64_t MonotonicMs() {
    return static_cast<int64_t>(GetTickCount64());
}

void SleepMs(int ms) {
    Sleep(static_cast<DWORD>(ms));
}

}  // namespace platform
