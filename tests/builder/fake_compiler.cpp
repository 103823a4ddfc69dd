// A stand-in help compiler for tests. It reads the project named by its argument, records that
// argument and its working folder in "compiler_args.txt", and writes the book named by
// "Compiled file=" relative to its working folder, as chmcmd does: a file with a sound book
// header. Named hhc or hhc.exe it answers as hhc.exe does (1 for success, 0 for failure);
// otherwise 0 for success.
//
// What it does is chosen by FOLVANE_FAKE_COMPILER_MODE (or the build, for "silent"):
//   writes  the book (the default)
//   silent  no book, a failure exit code; also for projects in a folder whose name starts "fail"
//   crash   half a book, then an access violation
//   hang    nothing, forever
//   count   the book, after 100 ms; while it runs it keeps a file in FOLVANE_FAKE_COMPILER_DIR and
//           appends the number of such files it sees to "seen.txt" there
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>

#include <shellapi.h>
#else
#include <unistd.h>
#endif

#include "builder/platform.h"
#include "builder/unicode_text.h"

namespace {

void PutLe(std::string& bytes, size_t at, uint64_t value, size_t width) {
    for (size_t i = 0; i < width; ++i)
        bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

// The smallest file the builder takes for a book: header, header section 0 recording the size,
// and a directory of nothing but its own header.
std::string FakeBook() {
    const size_t section0 = 0x60, directory = 0x78, directory_length = 0x54, content = directory + directory_length;
    std::string book(content + 16, '\0');
    std::memcpy(book.data(), "ITSF", 4);
    PutLe(book, 4, 3, 4);
    PutLe(book, 8, 0x60, 4);
    PutLe(book, 0x38, section0, 8);
    PutLe(book, 0x40, 0x18, 8);
    PutLe(book, 0x48, directory, 8);
    PutLe(book, 0x50, directory_length, 8);
    PutLe(book, 0x58, content, 8);
    PutLe(book, section0, 0x01FE, 4);
    PutLe(book, section0 + 8, book.size(), 8);
    std::memcpy(book.data() + directory, "ITSP", 4);
    PutLe(book, directory + 8, directory_length, 4);  // a directory of its header and no chunks
    return book;
}

std::string Mode() {
#ifdef FAKE_COMPILER_SILENT
    return "silent";
#else
    std::string mode = platform::GetEnv("FOLVANE_FAKE_COMPILER_MODE");
    return mode.empty() ? "writes" : mode;
#endif
}

std::string Pid() {
#ifdef _WIN32
    return std::to_string(GetCurrentProcessId());
#else
    return std::to_string(getpid());
#endif
}

int CountRunning(const std::string& dir) {
    std::vector<platform::FolderEntry> entries;
    platform::ListFolder(dir, entries);
    int running = 0;
    for (const platform::FolderEntry& e : entries)
        running += e.name.rfind("running-", 0) == 0;
    return running;
}

// 0 when the book was written; what the compiler exits with follows from it.
bool Compile(const std::string& project, const std::string& working_folder) {
    platform::WriteFileBytes("compiler_args.txt", project + "\n" + working_folder + "\n");
    std::string text;
    if (!platform::ReadFileBytes(project, text))
        return false;
    const char key[] = "Compiled file=";
    size_t at = text.find(key);
    if (at == std::string::npos)
        return false;
    size_t start = at + std::strlen(key);
    size_t end = text.find("\r\n", start);
    const std::string book = platform::DecodeCp936(text.substr(start, end - start));
    const std::string folder_name = working_folder.substr(working_folder.find_last_of("/\\") + 1);
    const std::string mode = Mode();
    if (mode == "silent" || folder_name.rfind("fail", 0) == 0)
        return false;
    if (mode == "hang") {
        for (;;)
            platform::SleepMs(1000);
    }
    if (mode == "crash") {
        std::string half = FakeBook();
        half.resize(half.size() / 2);
        platform::WriteFileBytes(book, half);
#ifdef _WIN32
        // What a parent sees of an access violation, without Wine's debugger waiting on it.
        TerminateProcess(GetCurrentProcess(), 0xC0000005u);
#endif
        *static_cast<volatile int*>(nullptr) = 1;
    }
    if (mode == "count") {
        const std::string dir = platform::GetEnv("FOLVANE_FAKE_COMPILER_DIR");
        const std::string mine = platform::JoinPath(dir, "running-" + Pid());
        platform::WriteFileBytes(mine, "");
        const std::string seen = platform::JoinPath(dir, "seen-" + Pid());
        platform::WriteFileBytes(seen, std::to_string(CountRunning(dir)));
        platform::SleepMs(100);
        platform::DeleteFileAt(mine);
    }
    return platform::WriteFileBytes(book, FakeBook());
}

int Run(const std::string& self, const std::string& project, const std::string& working_folder) {
    std::string name = AsciiLower(self.substr(self.find_last_of("/\\") + 1));
    const bool like_hhc = name.rfind("hhc", 0) == 0;
    const bool written = Compile(project, working_folder);
    if (like_hhc)
        return written ? 1 : 0;
    return written ? 0 : 1;
}

}  // namespace

#ifdef _WIN32
int main() {
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!wide || count < 2)
        return 5;
    wchar_t self[MAX_PATH * 4];
    DWORD self_length = GetModuleFileNameW(nullptr, self, MAX_PATH * 4);
    // An unquoted project path arrives in pieces: join them again.
    std::string project = Utf16ToUtf8(reinterpret_cast<const char16_t*>(wide[1]));
    for (int i = 2; i < count; ++i) {
        project += ' ';
        project += Utf16ToUtf8(reinterpret_cast<const char16_t*>(wide[i]));
    }
    wchar_t folder[MAX_PATH * 4];
    DWORD n = GetCurrentDirectoryW(MAX_PATH * 4, folder);
    std::string working = Utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(folder), n));
    LocalFree(wide);
    return Run(Utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(self), self_length)), project,
               working);
}
#else
int main(int argc, char** argv) {
    if (argc < 2)
        return 5;
    char folder[4096];
    if (!getcwd(folder, sizeof(folder)))
        return 6;
    std::string project = argv[1];
    for (int i = 2; i < argc; ++i)
        project += std::string(" ") + argv[i];
    return Run(argv[0], project, folder);
}
#endif
