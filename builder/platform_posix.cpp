#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <spawn.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/uio.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <dirent.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "builder/platform.h"
#include "builder/unicode_text.h"

extern char** environ;

namespace platform {

bool ListFolder(const std::string& folder, std::vector<FolderEntry>& entries) {
    entries.clear();
    DIR* dir = opendir(folder.c_str());
    if (!dir)
        return false;
    while (dirent* e = readdir(dir)) {
        std::string name = e->d_name;
        if (name == "." || name == "..")
            continue;
        FolderEntry entry;
        entry.name = name;
        entry.hidden_or_system = name[0] == '.';
        // The entry type from the listing saves a stat per file; links and file systems that
        // do not report types still need one.
        if (e->d_type == DT_DIR) {
            entry.is_folder = true;
        } else if (e->d_type != DT_REG) {
            struct stat st;
            if (stat(JoinPath(folder, name).c_str(), &st) != 0) {
                entry.hidden_or_system = true;  // a dangling link is not a normal file
            } else {
                entry.is_folder = S_ISDIR(st.st_mode);
                // Devices, sockets and pipes count as system entries.
                if (!entry.is_folder && !S_ISREG(st.st_mode))
                    entry.hidden_or_system = true;
            }
        }
        entries.push_back(std::move(entry));
    }
    closedir(dir);
    return true;
}

FileInfo GetFileInfo(const std::string& path) {
    FileInfo info;
    struct stat st;
    if (stat(path.c_str(), &st) != 0)
        return info;
    info.exists = true;
    info.is_folder = S_ISDIR(st.st_mode);
    info.size = static_cast<uint64_t>(st.st_size);
    info.mtime_ns = static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    return info;
}

bool CreateFolder(const std::string& path) {
    return mkdir(path.c_str(), 0777) == 0;
}

bool RenameFile(const std::string& from, const std::string& to) {
    // rename() replaces an existing target silently; a page must never overwrite another file.
    // The kernel can refuse that in the same step; file systems that do not know the flag
    // answer EINVAL, and then the target is looked for first.
#ifdef RENAME_NOREPLACE
    if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
#endif
    struct stat st;
    if (lstat(to.c_str(), &st) == 0)
        return false;
    return rename(from.c_str(), to.c_str()) == 0;
}

bool ReadFileBytes(const std::string& path, std::string& bytes) {
    std::string reason;
    return ReadSourceFile(path, bytes, reason);
}

bool ReadFileHead(const std::string& path, size_t max_bytes, std::string& bytes, uint64_t* file_size) {
    bytes.clear();
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW);
    if (fd < 0)
        return false;
    struct stat st;
    bool ok = fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    if (ok) {
        *file_size = static_cast<uint64_t>(st.st_size);
        bytes.resize(std::min<uint64_t>(max_bytes, *file_size));
        ssize_t r = pread(fd, bytes.data(), bytes.size(), 0);
        ok = r >= 0;
        bytes.resize(ok ? static_cast<size_t>(r) : 0);
    }
    close(fd);
    return ok;
}

namespace {

bool WriteAll(int fd, std::string_view bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t r = write(fd, bytes.data() + done, bytes.size() - done);
        if (r < 0 && errno == EINTR)
            continue;
        if (r <= 0)
            return false;
        done += static_cast<size_t>(r);
    }
    return true;
}

// The parts in as few calls as the system takes them: one, unless a write ends early.
bool WriteAll(int fd, std::span<const std::string_view> parts) {
    constexpr size_t kMostParts = 8;
    if (parts.size() > kMostParts) {
        for (std::string_view part : parts) {
            if (!WriteAll(fd, part))
                return false;
        }
        return true;
    }
    iovec vectors[kMostParts];
    size_t count = 0;
    for (std::string_view part : parts) {
        if (!part.empty())
            vectors[count++] = {const_cast<char*>(part.data()), part.size()};
    }
    for (iovec* next = vectors; count > 0;) {
        ssize_t r = writev(fd, next, static_cast<int>(count));
        if (r < 0 && errno == EINTR)
            continue;
        if (r <= 0)
            return false;
        // Step past what was written: whole parts, then into the part it stopped in.
        size_t wrote = static_cast<size_t>(r);
        for (; count > 0 && wrote >= next->iov_len; ++next, --count)
            wrote -= next->iov_len;
        if (count > 0) {
            next->iov_base = static_cast<char*>(next->iov_base) + wrote;
            next->iov_len -= wrote;
        }
    }
    return true;
}

}  // namespace

bool WriteFileBytes(const std::string& path, std::string_view bytes) {
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0)
        return false;
    const bool ok = WriteAll(fd, bytes);
    return close(fd) == 0 && ok;
}

bool DeleteFileAt(const std::string& path) {
    return unlink(path.c_str()) == 0;
}

char PathSeparator() {
    return '/';
}

std::string JoinPath(const std::string& folder, const std::string& name) {
    if (folder.empty())
        return name;
    if (folder.back() == '/')
        return folder + name;
    return folder + "/" + name;
}

std::string ProgramFolder() {
    char buffer[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", buffer, sizeof(buffer) - 1);
    if (n <= 0)
        return ".";
    std::string path(buffer, static_cast<size_t>(n));
    size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

std::string GetEnv(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::vector<std::string> PathFolders() {
    std::vector<std::string> folders;
    std::string path = GetEnv("PATH");
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find(':', start);
        if (end == std::string::npos)
            end = path.size();
        std::string folder = path.substr(start, end - start);
        folders.push_back(folder.empty() ? "." : folder);
        start = end + 1;
    }
    return folders;
}

namespace {

class PosixProcess : public Process {
  public:
    explicit PosixProcess(pid_t pid) : pid_(pid) {}
    ~PosixProcess() override {
        // A child that is still running when its watcher goes away lives on; reap it if it
        // has ended so that it does not stay a zombie.
        if (pid_ > 0 && !ended_)
            waitpid(pid_, nullptr, WNOHANG);
    }
    bool started() const override { return pid_ > 0; }
    bool watchable() const override { return pid_ > 0; }
    bool HasEnded() override {
        if (pid_ <= 0)
            return false;
        if (ended_)
            return true;
        int status = 0;
        pid_t r = waitpid(pid_, &status, WNOHANG);
        if (r == pid_) {
            ended_ = true;
            exit_ = Describe(status);
        } else if (r < 0 && errno == ECHILD) {
            ended_ = true;
            exit_.crashed = true;
            exit_.description = "ended without an exit status";
        }
        return ended_;
    }
    ProcessExit Exit() const override { return exit_; }
    void Kill() override {
        if (pid_ > 0 && !ended_)
            kill(pid_, SIGKILL);
    }

  private:
    static ProcessExit Describe(int status) {
        ProcessExit exit;
        if (WIFEXITED(status)) {
            exit.code = WEXITSTATUS(status);
            exit.description = "exit code " + std::to_string(exit.code);
        } else if (WIFSIGNALED(status)) {
            exit.crashed = true;
            exit.code = WTERMSIG(status);
            const char* name = strsignal(WTERMSIG(status));
            exit.description = "signal " + std::to_string(exit.code) + (name ? std::string(" (") + name + ")" : "");
        }
        return exit;
    }

    pid_t pid_;
    bool ended_ = false;
    ProcessExit exit_;
};

}  // namespace

std::unique_ptr<Process> StartProcess(const std::string& program,
                                      const std::vector<std::string>& args,
                                      const std::string& working_folder) {
    std::vector<std::string> argv_text;
    argv_text.push_back(program);
    argv_text.insert(argv_text.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : argv_text)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    // The compiler's chatter must not mix with the front-end's own output.
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    if (!working_folder.empty())
        posix_spawn_file_actions_addchdir_np(&actions, working_folder.c_str());
    pid_t pid = 0;
    int r = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (r != 0) {
        pid = 0;
        errno = r;  // for LastErrorText
    }
    return std::make_unique<PosixProcess>(pid);
}

int64_t NowNs() {
    timespec ts;
    clock_gettime(CLOCK_REALTIME, &ts);
    return static_cast<int64_t>(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

int64_t MonotonicMs() {
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<int64_t>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

void SleepMs(int ms) {
    timespec ts{ms / 1000, (ms % 1000) * 1000000L};
    nanosleep(&ts, nullptr);
}

FileInfo GetEntryInfo(const std::string& path) {
    FileInfo info;
    struct stat st;
    if (lstat(path.c_str(), &st) != 0)
        return info;
    info.exists = true;
    info.is_folder = S_ISDIR(st.st_mode);
    info.is_link = S_ISLNK(st.st_mode);
    info.size = static_cast<uint64_t>(st.st_size);
    info.mtime_ns = static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    return info;
}

std::string LastErrorText() {
    return std::strerror(errno);
}

namespace {

int CreateNew(const std::string& path) {
    return open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
}

// A failed write must not leave half a file that looks like a page.
bool WriteAndClose(int fd, const std::string& path, std::span<const std::string_view> parts) {
    bool ok = WriteAll(fd, parts);
    int saved = errno;
    ok = close(fd) == 0 && ok;
    if (!ok) {
        unlink(path.c_str());
        errno = saved;
    }
    return ok;
}

}  // namespace

bool WriteNewFile(const std::string& path, std::string_view bytes) {
    return WriteNewFile(path, std::span<const std::string_view>(&bytes, 1));
}

bool WriteNewFile(const std::string& path, std::span<const std::string_view> parts) {
    int fd = CreateNew(path);
    return fd >= 0 && WriteAndClose(fd, path, parts);
}

namespace {

class PosixFileWriter : public FileWriter {
  public:
    explicit PosixFileWriter(int fd) : fd_(fd) {}
    ~PosixFileWriter() override { Close(); }
    bool Write(std::string_view bytes) override {
        ok_ = ok_ && WriteAll(fd_, bytes);
        return ok_;
    }
    bool Close() override {
        if (fd_ >= 0) {
            ok_ = close(fd_) == 0 && ok_;
            fd_ = -1;
        }
        return ok_;
    }

  private:
    int fd_;
    bool ok_ = true;
};

}  // namespace

std::unique_ptr<FileWriter> CreateFileWriter(const std::string& path) {
    int fd = CreateNew(path);
    if (fd < 0)
        return nullptr;
    return std::make_unique<PosixFileWriter>(fd);
}

namespace {

class PosixSourceFile : public SourceFile {
  public:
    PosixSourceFile(int fd, uint64_t size, std::string path) : fd_(fd), size_(size), path_(std::move(path)) {}
    ~PosixSourceFile() override { close(fd_); }

    bool ReadAt(uint64_t offset, char* into, size_t room, size_t* got, std::string& reason) override {
        for (;;) {
            const ssize_t r = pread(fd_, into, room, static_cast<off_t>(offset));
            if (r >= 0) {
                *got = static_cast<size_t>(r);
                return true;
            }
            if (errno != EINTR) {
                reason = "读取 " + path_ + " 时出错：" + LastErrorText();
                return false;
            }
        }
    }
    uint64_t size() const override { return size_; }

  private:
    int fd_;
    uint64_t size_;
    std::string path_;
};

}  // namespace

std::unique_ptr<SourceFile> OpenSourceFile(const std::string& path, std::string& reason) {
    // O_NONBLOCK: opening a pipe or a device must not wait for a writer. A link to a regular
    // file is a source like the file itself; the type is judged on what was opened.
    int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        reason = "无法打开 " + path + "：" + LastErrorText();
        return nullptr;
    }
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        reason = path + " 不是普通文件（管道、设备或文件夹不能转换）";
        return nullptr;
    }
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return std::make_unique<PosixSourceFile>(fd, static_cast<uint64_t>(st.st_size), path);
}

std::string CreateUniqueFolder(const std::string& parent, const std::string& prefix, const std::string& suffix) {
    static const char kHex[] = "0123456789abcdef";
    int urandom = open("/dev/urandom", O_RDONLY | O_CLOEXEC);
    for (int attempt = 0; attempt < 16; ++attempt) {
        unsigned char random[8] = {};
        if (urandom < 0 || read(urandom, random, sizeof(random)) != static_cast<ssize_t>(sizeof(random))) {
            uint64_t fallback = static_cast<uint64_t>(MonotonicMs()) * 2654435761u ^ static_cast<uint64_t>(getpid());
            std::memcpy(random, &fallback, sizeof(random));
            random[0] ^= static_cast<unsigned char>(attempt);
        }
        std::string name = prefix;
        for (unsigned char b : random) {
            name += kHex[b >> 4];
            name += kHex[b & 15];
        }
        name += suffix;
        if (mkdir(JoinPath(parent, name).c_str(), 0777) == 0) {
            if (urandom >= 0)
                close(urandom);
            return name;
        }
        if (errno != EEXIST)
            break;
    }
    int saved = errno;
    if (urandom >= 0)
        close(urandom);
    errno = saved;
    return "";
}

bool RenameFolder(const std::string& from, const std::string& to) {
    return RenameFile(from, to);
}

bool RemoveFlatFolder(const std::string& folder) {
    std::vector<FolderEntry> entries;
    if (!ListFolder(folder, entries))
        return false;
    for (const FolderEntry& e : entries) {
        struct stat st;
        if (lstat(JoinPath(folder, e.name).c_str(), &st) != 0 || !(S_ISREG(st.st_mode) || S_ISLNK(st.st_mode)))
            return false;
    }
    for (const FolderEntry& e : entries) {
        if (unlink(JoinPath(folder, e.name).c_str()) != 0)
            return false;
    }
    return rmdir(folder.c_str()) == 0;
}

namespace {

class PosixHeldFile : public HeldFile {
  public:
    explicit PosixHeldFile(int fd) : fd_(fd) {}
    ~PosixHeldFile() override { close(fd_); }

  private:
    int fd_;
};

// flock locks belong to the open file, so a second open in this same process sees them too.
std::unique_ptr<HeldFile> Lock(int fd) {
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        close(fd);
        return nullptr;
    }
    return std::make_unique<PosixHeldFile>(fd);
}

}  // namespace

std::unique_ptr<HeldFile> CreateHeldFile(const std::string& path, std::string_view contents) {
    int fd = CreateNew(path);
    if (fd < 0)
        return nullptr;
    if (!WriteAll(fd, contents)) {
        close(fd);
        unlink(path.c_str());
        return nullptr;
    }
    return Lock(fd);
}

std::unique_ptr<HeldFile> HoldExistingFile(const std::string& path) {
    int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        return nullptr;
    }
    return Lock(fd);
}

bool IsFileHeld(const std::string& path) {
    int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    bool held = flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    close(fd);
    return held;
}

std::string AbsolutePath(const std::string& path) {
    std::string full = path;
    if (full.empty() || full[0] != '/') {
        char cwd[PATH_MAX];
        if (!getcwd(cwd, sizeof(cwd)))
            return path;
        full = JoinPath(cwd, path);
    }
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= full.size()) {
        size_t end = full.find('/', start);
        if (end == std::string::npos)
            end = full.size();
        std::string part = full.substr(start, end - start);
        if (part == "..") {
            if (!parts.empty())
                parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    std::string out;
    for (const std::string& part : parts)
        out += "/" + part;
    return out.empty() ? "/" : out;
}

bool IsExecutable(const std::string& path) {
    FileInfo info = GetFileInfo(path);
    return info.exists && !info.is_folder && access(path.c_str(), X_OK) == 0;
}

}  // namespace platform
