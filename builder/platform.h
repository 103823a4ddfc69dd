// The few operating-system services the builder needs. Paths and texts are UTF-8; the
// Windows side converts them to UTF-16 so names outside any ANSI code page still work.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "builder/codepages.h"  // DecodeCp936, EncodeCp936

namespace platform {

struct FolderEntry {
    std::string name;
    bool is_folder = false;
    bool hidden_or_system = false;  // POSIX: names starting with "."
};
// Every entry of a folder except "." and "..". False when the folder cannot be read.
bool ListFolder(const std::string& folder, std::vector<FolderEntry>& entries);

struct FileInfo {
    bool exists = false;
    bool is_folder = false;
    bool is_link = false;  // only from GetEntryInfo: a symbolic link or other reparse point
    uint64_t size = 0;
    int64_t mtime_ns = 0;  // modification time, nanoseconds since an epoch fixed per platform
};
// Follows links.
FileInfo GetFileInfo(const std::string& path);
// The entry itself: a link is reported as a link, not as what it points at.
FileInfo GetEntryInfo(const std::string& path);

// What the system said about the last call that failed on this thread (errno, GetLastError).
std::string LastErrorText();

bool CreateFolder(const std::string& path);  // one level
// Fails when `to` exists already.
bool RenameFile(const std::string& from, const std::string& to);
// Reads a regular file whole, as ReadSourceFile does, without saying why it could not.
bool ReadFileBytes(const std::string& path, std::string& bytes);
// The first `max_bytes` bytes of a file (fewer when it is shorter) and its whole size.
bool ReadFileHead(const std::string& path, size_t max_bytes, std::string& bytes, uint64_t* file_size);
// Creates or empties the file, then writes the bytes.
bool WriteFileBytes(const std::string& path, std::string_view bytes);
// Creates a new file and writes the bytes. Fails when anything, a link included, has that name:
// nothing is ever written through a link or over a file someone else put there.
bool WriteNewFile(const std::string& path, std::string_view bytes);
// The same for bytes in parts, written one after the other.
bool WriteNewFile(const std::string& path, std::span<const std::string_view> parts);
bool DeleteFileAt(const std::string& path);

// A new file written from start to end in pieces, created as WriteNewFile creates one.
class FileWriter {
  public:
    virtual ~FileWriter() = default;
    virtual bool Write(std::string_view bytes) = 0;
    // False when not everything reached the file.
    virtual bool Close() = 0;
};
// Null when the file cannot be created (LastErrorText says why).
std::unique_ptr<FileWriter> CreateFileWriter(const std::string& path);

// A source file held open and read at any offset. It is opened without blocking (a pipe must not
// stall the run) and judged on the open handle: only a regular file is a source.
class SourceFile {
  public:
    virtual ~SourceFile() = default;
    // Up to `room` bytes from `offset` on; `*got` is 0 at the end. On failure `reason` says why.
    virtual bool ReadAt(uint64_t offset, char* into, size_t room, size_t* got, std::string& reason) = 0;
    // The size it had when opened; a writer may change it meanwhile.
    virtual uint64_t size() const = 0;
};
// Null, with `reason` saying why, when it cannot be opened or is not a regular file.
std::unique_ptr<SourceFile> OpenSourceFile(const std::string& path, std::string& reason);

// Reads a source file whole, opened as OpenSourceFile opens it. What a writer adds while it is
// read is read too. On failure `reason` says why.
bool ReadSourceFile(const std::string& path, std::string& bytes, std::string& reason);

// Creates a new folder named `prefix`, a random part and `suffix` inside `parent`, and returns
// its name; "" when that fails.
std::string CreateUniqueFolder(const std::string& parent, const std::string& prefix, const std::string& suffix);
// Renames a folder. Never replaces what is at `to`, not even an empty folder.
bool RenameFolder(const std::string& from, const std::string& to);
// Removes a folder that holds nothing but regular files (links are removed, never followed).
// False, leaving it whole, when something else is in it; false too when a removal fails.
bool RemoveFlatFolder(const std::string& folder);

// A file this process holds open; others can tell that it is held (IsFileHeld) until it goes.
class HeldFile {
  public:
    virtual ~HeldFile() = default;
};
// Creates the file with `contents` (as WriteNewFile) and holds it.
std::unique_ptr<HeldFile> CreateHeldFile(const std::string& path, std::string_view contents);
// Holds an existing regular file (not a link). Null when it is missing or held already.
std::unique_ptr<HeldFile> HoldExistingFile(const std::string& path);
// Whether some process holds the file now.
bool IsFileHeld(const std::string& path);

// `path` made absolute against the current folder, with "." and ".." parts resolved and no
// trailing separator (except for a root).
std::string AbsolutePath(const std::string& path);
// Whether the file can be started as a program by this user.
bool IsExecutable(const std::string& path);

char PathSeparator();
std::string JoinPath(const std::string& folder, const std::string& name);
// The folder of the running executable, without a trailing separator.
std::string ProgramFolder();
std::string GetEnv(const char* name);
// The folders of PATH, in order.
std::vector<std::string> PathFolders();

// How a started program ended.
struct ProcessExit {
    bool crashed = false;     // ended by a signal (POSIX) or an exception (Windows), or killed
    int64_t code = 0;         // exit code; the signal number when crashed on POSIX
    std::string description;  // "exit code 2", "signal 11 (Segmentation fault)", "exception 0xC0000005"
};

// A started program. `started` is true when a process was created; `watchable` is true when
// its end can be observed (Wine gives no handle for native Linux programs).
class Process {
  public:
    virtual ~Process() = default;
    virtual bool started() const = 0;
    virtual bool watchable() const = 0;
    // Non-blocking. Always false for an unwatchable process.
    virtual bool HasEnded() = 0;
    // How it ended; meaningful once HasEnded() has returned true.
    virtual ProcessExit Exit() const = 0;
    // Ends the process at once; HasEnded() then turns true soon after.
    virtual void Kill() = 0;
};

// Starts `program` with `args` as a new process with a hidden window and no console output,
// in `working_folder`, without waiting for it.
std::unique_ptr<Process> StartProcess(const std::string& program,
                                      const std::vector<std::string>& args,
                                      const std::string& working_folder);

// The current time on the clock of FileInfo::mtime_ns.
int64_t NowNs();
// Current time in milliseconds from an arbitrary start; for timeouts only.
int64_t MonotonicMs();
void SleepMs(int ms);

}  // namespace platform
