// The few operating-system services the builder needs. Paths and texts are UTF-8; the
// Windows side converts them to UTF-16 so names outside any ANSI code page still work.
#pragma once

#include <cstdint>
#include <memory>
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
    uint64_t size = 0;
    int64_t mtime_ns = 0;  // modification time, nanoseconds since an epoch fixed per platform
};
FileInfo GetFileInfo(const std::string& path);

bool CreateFolder(const std::string& path);  // one level
// Fails when `to` exists already.
bool RenameFile(const std::string& from, const std::string& to);
bool ReadFileBytes(const std::string& path, std::string& bytes);
// Creates or empties the file, then writes the bytes.
bool WriteFileBytes(const std::string& path, std::string_view bytes);
bool DeleteFileAt(const std::string& path);

char PathSeparator();
std::string JoinPath(const std::string& folder, const std::string& name);
// The folder of the running executable, without a trailing separator.
std::string ProgramFolder();
std::string GetEnv(const char* name);
// The folders of PATH, in order.
std::vector<std::string> PathFolders();

// A started program. `started` is true when a process was created; `watchable` is true when
// its end can be observed (Wine gives no handle for native Linux programs).
class Process {
  public:
    virtual ~Process() = default;
    virtual bool started() const = 0;
    virtual bool watchable() const = 0;
    // Non-blocking. Always false for an unwatchable process.
    virtual bool HasEnded() = 0;
};

// Starts `program` with `args` as a new process with a hidden window and no console output,
// in `working_folder`, without waiting for it.
std::unique_ptr<Process> StartProcess(const std::string& program,
                                      const std::vector<std::string>& args,
                                      const std::string& working_folder);

// Current time in milliseconds from an arbitrary start; for timeouts only.
int64_t MonotonicMs();
void SleepMs(int ms);

}  // namespace platform
