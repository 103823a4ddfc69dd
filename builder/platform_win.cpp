#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "builder/command_line.h"
#include "builder/platform.h"
#include "builder/unicode_text.h"
#include "win/handles.h"
#include "win/wide_text.h"

namespace platform {

bool ListFolder(const std::string& folder, std::vector<FolderEntry>& entries) {
    entries.clear();
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileExW(WideFromUtf8(JoinPath(folder, "*")).c_str(), FindExInfoBasic, &data,
                                   FindExSearchNameMatch, nullptr, 0);
    if (find == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_FILE_NOT_FOUND;  // an empty drive root lists nothing
    do {
        std::string name = Utf8FromWide(std::wstring(data.cFileName));
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
    // The attributes of a link are its own; what it points at is not looked at here either.
    FileInfo info = GetEntryInfo(path);
    info.is_link = false;
    return info;
}

bool CreateFolder(const std::string& path) {
    return CreateDirectoryW(WideFromUtf8(path).c_str(), nullptr) != 0;
}

bool RenameFile(const std::string& from, const std::string& to) {
    return MoveFileExW(WideFromUtf8(from).c_str(), WideFromUtf8(to).c_str(), 0) != 0;
}

bool ReadFileBytes(const std::string& path, std::string& bytes) {
    std::string reason;
    return ReadSourceFile(path, bytes, reason);
}

bool ReadFileHead(const std::string& path, size_t max_bytes, std::string& bytes, uint64_t* file_size) {
    bytes.clear();
    ScopedHandle file(CreateFileW(WideFromUtf8(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size;
    if (!file.valid() || GetFileType(file.get()) != FILE_TYPE_DISK || !GetFileSizeEx(file.get(), &size))
        return false;
    *file_size = static_cast<uint64_t>(size.QuadPart);
    bytes.resize(static_cast<size_t>(std::min<uint64_t>(max_bytes, *file_size)));
    DWORD got = 0;
    if (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr)) {
        bytes.clear();
        return false;
    }
    bytes.resize(got);
    return true;
}

namespace {

bool WriteAll(HANDLE file, std::string_view bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 30));
        DWORD wrote = 0;
        if (!WriteFile(file, bytes.data() + done, chunk, &wrote, nullptr) || wrote == 0)
            return false;
        done += wrote;
    }
    return true;
}

}  // namespace

bool WriteFileBytes(const std::string& path, std::string_view bytes) {
    ScopedHandle file(CreateFileW(WideFromUtf8(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    return file.valid() && WriteAll(file.get(), bytes);
}

bool DeleteFileAt(const std::string& path) {
    return DeleteFileW(WideFromUtf8(path).c_str()) != 0;
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
        return Utf8FromWide(path.substr(0, 3));
    return Utf8FromWide(path.substr(0, slash));
}

std::string GetEnv(const char* name) {
    std::wstring wname = WideFromUtf8(name);
    DWORD n = GetEnvironmentVariableW(wname.c_str(), nullptr, 0);
    if (n == 0)
        return "";
    std::wstring value(n, L'\0');
    n = GetEnvironmentVariableW(wname.c_str(), value.data(), n);
    value.resize(n);
    return Utf8FromWide(value);
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
    ProcessExit Exit() const override {
        ProcessExit exit;
        DWORD code = 0;
        if (!process_ || !GetExitCodeProcess(process_, &code)) {
            exit.crashed = true;
            exit.description = "ended without an exit code";
            return exit;
        }
        exit.code = code;
        // Codes from 0xC0000000 on are exception status values: the program crashed (or was
        // ended by TerminateProcess with such a code).
        if (code >= 0xC0000000u) {
            char text[32];
            std::snprintf(text, sizeof(text), "exception 0x%08lX", static_cast<unsigned long>(code));
            exit.crashed = true;
            exit.description = text;
        } else {
            exit.description = "exit code " + std::to_string(code);
        }
        return exit;
    }
    void Kill() override {
        if (process_)
            TerminateProcess(process_, kKilledExitCode);
    }

  private:
    // What a killed compiler ends with: an exception status, so it is never taken for success.
    static constexpr UINT kKilledExitCode = 0xC000013Au;  // STATUS_CONTROL_C_EXIT
    bool started_;
    HANDLE process_;
};

}  // namespace

std::unique_ptr<Process> StartProcess(const std::string& program,
                                      const std::vector<std::string>& args,
                                      const std::string& working_folder) {
    std::wstring command_line = WideFromUtf8(BuildCommandLine(program, args));
    std::wstring folder = WideFromUtf8(working_folder);
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

int64_t NowNs() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    return static_cast<int64_t>((static_cast<uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime) * 100;
}

int64_t MonotonicMs() {
    return static_cast<int64_t>(GetTickCount64());
}

void SleepMs(int ms) {
    Sleep(static_cast<DWORD>(ms));
}

FileInfo GetEntryInfo(const std::string& path) {
    FileInfo info;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(WideFromUtf8(path).c_str(), GetFileExInfoStandard, &data))
        return info;
    info.exists = true;
    info.is_folder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    info.is_link = (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    info.size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    const uint64_t ticks =
        (static_cast<uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
    info.mtime_ns = static_cast<int64_t>(ticks) * 100;
    return info;
}

std::string LastErrorText() {
    const DWORD error = GetLastError();
    wchar_t* text = nullptr;
    DWORD n =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string message = n ? Utf8FromWide(std::wstring_view(text, n)) : "";
    if (text)
        LocalFree(text);
    while (!message.empty() &&
           (message.back() == '\n' || message.back() == '\r' || message.back() == ' ' || message.back() == '.'))
        message.pop_back();
    return message.empty() ? "error " + std::to_string(error) : message;
}

namespace {

HANDLE CreateNew(const std::string& path, DWORD share) {
    // CREATE_NEW fails on any existing name, a link included.
    return CreateFileW(WideFromUtf8(path).c_str(), GENERIC_WRITE, share, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                       nullptr);
}

}  // namespace

bool WriteNewFile(const std::string& path, std::string_view bytes) {
    return WriteNewFile(path, std::span<const std::string_view>(&bytes, 1));
}

bool WriteNewFile(const std::string& path, std::span<const std::string_view> parts) {
    bool ok = false;
    {
        ScopedHandle file(CreateNew(path, FILE_SHARE_READ));
        if (!file.valid())
            return false;
        ok = true;
        for (std::string_view part : parts)
            ok = ok && WriteAll(file.get(), part);
    }
    if (!ok) {
        // A failed write must not leave half a file that looks like a page.
        DWORD error = GetLastError();
        DeleteFileW(WideFromUtf8(path).c_str());
        SetLastError(error);
    }
    return ok;
}

namespace {

class WinFileWriter : public FileWriter {
  public:
    explicit WinFileWriter(HANDLE file) : file_(file) {}
    ~WinFileWriter() override { Close(); }
    bool Write(std::string_view bytes) override {
        ok_ = ok_ && WriteAll(file_, bytes);
        return ok_;
    }
    bool Close() override {
        if (file_ != INVALID_HANDLE_VALUE) {
            ok_ = CloseHandle(file_) && ok_;
            file_ = INVALID_HANDLE_VALUE;
        }
        return ok_;
    }

  private:
    HANDLE file_;
    bool ok_ = true;
};

}  // namespace

std::unique_ptr<FileWriter> CreateFileWriter(const std::string& path) {
    HANDLE file = CreateNew(path, FILE_SHARE_READ);
    if (file == INVALID_HANDLE_VALUE)
        return nullptr;
    return std::make_unique<WinFileWriter>(file);
}

namespace {

class WinSourceFile : public SourceFile {
  public:
    WinSourceFile(ScopedHandle file, uint64_t size, std::string path)
        : file_(std::move(file)), size_(size), path_(std::move(path)) {}

    bool ReadAt(uint64_t offset, char* into, size_t room, size_t* got, std::string& reason) override {
        // A synchronous handle reads at the offset the OVERLAPPED names.
        OVERLAPPED at = {};
        at.Offset = static_cast<DWORD>(offset);
        at.OffsetHigh = static_cast<DWORD>(offset >> 32);
        DWORD read = 0;
        if (!ReadFile(file_.get(), into, static_cast<DWORD>(std::min<size_t>(room, 1u << 30)), &read, &at)) {
            if (GetLastError() != ERROR_HANDLE_EOF) {
                reason = "读取 " + path_ + " 时出错：" + LastErrorText();
                return false;
            }
            read = 0;
        }
        *got = read;
        return true;
    }
    uint64_t size() const override { return size_; }

  private:
    ScopedHandle file_;
    uint64_t size_;
    std::string path_;
};

}  // namespace

std::unique_ptr<SourceFile> OpenSourceFile(const std::string& path, std::string& reason) {
    // A folder cannot even be opened as a file; say what it is rather than "access denied".
    const DWORD attributes = GetFileAttributesW(WideFromUtf8(path).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        reason = path + " 不是普通文件（管道、设备或文件夹不能转换）";
        return nullptr;
    }
    ScopedHandle file(CreateFileW(WideFromUtf8(path).c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file.valid()) {
        reason = "无法打开 " + path + "：" + LastErrorText();
        return nullptr;
    }
    BY_HANDLE_FILE_INFORMATION about;
    if (GetFileType(file.get()) != FILE_TYPE_DISK || !GetFileInformationByHandle(file.get(), &about) ||
        (about.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        reason = path + " 不是普通文件（管道、设备或文件夹不能转换）";
        return nullptr;
    }
    const uint64_t size = (static_cast<uint64_t>(about.nFileSizeHigh) << 32) | about.nFileSizeLow;
    return std::make_unique<WinSourceFile>(std::move(file), size, path);
}

std::string CreateUniqueFolder(const std::string& parent, const std::string& prefix, const std::string& suffix) {
    static const char kHex[] = "0123456789abcdef";
    static LONG counter = 0;
    for (int attempt = 0; attempt < 16; ++attempt) {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        uint64_t random = static_cast<uint64_t>(now.QuadPart) * 0x9E3779B97F4A7C15ull ^
                          (static_cast<uint64_t>(GetCurrentProcessId()) << 32) ^
                          static_cast<uint64_t>(InterlockedIncrement(&counter)) * 0xBF58476D1CE4E5B9ull;
        std::string name = prefix;
        for (int i = 0; i < 16; ++i)
            name += kHex[(random >> (60 - 4 * i)) & 15];
        name += suffix;
        if (CreateDirectoryW(WideFromUtf8(JoinPath(parent, name)).c_str(), nullptr))
            return name;
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            break;
    }
    return "";
}

bool RenameFolder(const std::string& from, const std::string& to) {
    // Without MOVEFILE_REPLACE_EXISTING an existing target, empty folder or not, fails the move.
    return MoveFileExW(WideFromUtf8(from).c_str(), WideFromUtf8(to).c_str(), 0) != 0;
}

bool RemoveFlatFolder(const std::string& folder) {
    std::vector<FolderEntry> entries;
    if (!ListFolder(folder, entries))
        return false;
    for (const FolderEntry& e : entries) {
        FileInfo info = GetEntryInfo(JoinPath(folder, e.name));
        if (info.is_folder && !info.is_link)
            return false;
    }
    for (const FolderEntry& e : entries) {
        const std::string path = JoinPath(folder, e.name);
        FileInfo info = GetEntryInfo(path);
        bool removed = false;
        if (info.is_link)
            removed =
                info.is_folder ? RemoveDirectoryW(WideFromUtf8(path).c_str()) : DeleteFileW(WideFromUtf8(path).c_str());
        else if (!info.is_folder)
            removed = DeleteFileW(WideFromUtf8(path).c_str());
        if (!removed)
            return false;
    }
    return RemoveDirectoryW(WideFromUtf8(folder).c_str()) != 0;
}

namespace {

// Held with write access that is not shared: anyone else asking for the file with write access,
// or without sharing write access, is refused while it is held.
class WinHeldFile : public HeldFile {
  public:
    explicit WinHeldFile(HANDLE file) : file_(file) {}
    ~WinHeldFile() override { CloseHandle(file_); }

  private:
    HANDLE file_;
};

}  // namespace

std::unique_ptr<HeldFile> CreateHeldFile(const std::string& path, std::string_view contents) {
    HANDLE file = CreateNew(path, FILE_SHARE_READ);
    if (file == INVALID_HANDLE_VALUE)
        return nullptr;
    if (!WriteAll(file, contents)) {
        CloseHandle(file);
        DeleteFileW(WideFromUtf8(path).c_str());
        return nullptr;
    }
    return std::make_unique<WinHeldFile>(file);
}

std::unique_ptr<HeldFile> HoldExistingFile(const std::string& path) {
    FileInfo info = GetEntryInfo(path);
    if (!info.exists || info.is_folder || info.is_link)
        return nullptr;
    HANDLE file = CreateFileW(WideFromUtf8(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return nullptr;
    return std::make_unique<WinHeldFile>(file);
}

bool IsFileHeld(const std::string& path) {
    HANDLE file = CreateFileW(WideFromUtf8(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_SHARING_VIOLATION;
    CloseHandle(file);
    return false;
}

std::string AbsolutePath(const std::string& path) {
    const std::wstring wide = WideFromUtf8(path.empty() ? "." : path);
    DWORD n = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (n == 0)
        return path;
    std::wstring full(n, L'\0');
    n = GetFullPathNameW(wide.c_str(), n, full.data(), nullptr);
    full.resize(n);
    // "C:\" keeps its separator; any other trailing one goes.
    while (full.size() > 3 && (full.back() == L'\\' || full.back() == L'/'))
        full.pop_back();
    return Utf8FromWide(full);
}

bool IsExecutable(const std::string& path) {
    FileInfo info = GetFileInfo(path);
    return info.exists && !info.is_folder;
}

}  // namespace platform
