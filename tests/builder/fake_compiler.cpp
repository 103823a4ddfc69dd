// A stand-in help compiler for tests. It reads the project named by its one argument, records
// that argument and its working folder in "compiler_args.txt", and (unless built silent) writes
// the book named by "Compiled file=" relative to its working folder, as chmcmd does.
#include <cstdio>
#include <cstring>
#include <string>

#ifdef _WIN32
#include <windows.h>

#include <shellapi.h>
#endif

#include "builder/platform.h"
#include "builder/unicode_text.h"

namespace {

int Run(const std::string& project, const std::string& working_folder) {
    platform::WriteFileBytes("compiler_args.txt", project + "\n" + working_folder + "\n");
    std::string text;
    if (!platform::ReadFileBytes(project, text))
        return 2;
    const char key[] = "Compiled file=";
    size_t at = text.find(key);
    if (at == std::string::npos)
        return 3;
    size_t start = at + std::strlen(key);
    size_t end = text.find("\r\n", start);
    std::string book = platform::DecodeCp936(text.substr(start, end - start));
#ifdef FAKE_COMPILER_SILENT
    (void)book;
    return 1;
#else
    return platform::WriteFileBytes(book, "ITSF fake book") ? 0 : 4;
#endif
}

}  // namespace

#ifdef _WIN32
int main() {
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!wide || count != 2)
        return 5;
    std::string project = Utf16ToUtf8(reinterpret_cast<const char16_t*>(wide[1]));
    wchar_t folder[MAX_PATH * 4];
    DWORD n = GetCurrentDirectoryW(MAX_PATH * 4, folder);
    std::string working = Utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(folder), n));
    LocalFree(wide);
    return Run(project, working);
}
#else
#include <unistd.h>
int main(int argc, char** argv) {
    if (argc != 2)
        return 5;
    char folder[4096];
    if (!getcwd(folder, sizeof(folder)))
        return 6;
    return Run(argv[1], folder);
}
#endif
