#include <windows.h>

#include <shellapi.h>

#include "builder/unicode_text.h"
#include "cli/console.h"

namespace {

// A console shows what WriteConsoleW gives it whatever its code page; a pipe or a file gets
// the UTF-8 bytes unchanged. False when the line could not be written.
bool WriteLine(DWORD which, const std::string& line) {
    HANDLE handle = GetStdHandle(which);
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE)
        return true;
    std::string text = line + "\n";
    DWORD mode = 0;
    DWORD written = 0;
    if (GetConsoleMode(handle, &mode)) {
        std::u16string wide = Utf8ToUtf16(text);
        return WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr) != 0;
    }
    return WriteFile(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) != 0;
}

}  // namespace

std::vector<std::string> CommandLineArgs(int, char**) {
    // argv holds the arguments in the ANSI code page; names outside it would be lost.
    std::vector<std::string> args;
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!wide)
        return args;
    for (int i = 1; i < count; ++i) {
        std::u16string_view arg(reinterpret_cast<const char16_t*>(wide[i]));
        args.push_back(Utf16ToUtf8(arg));
    }
    LocalFree(wide);
    return args;
}

ConsoleOutput::ConsoleOutput() = default;

void ConsoleOutput::Out(const std::string& line) {
    if (out_lost_)
        return;
    if (!WriteLine(STD_OUTPUT_HANDLE, line)) {
        // A reader that went away: the run goes on and finishes its books.
        out_lost_ = true;
        Err("folvane-cli: standard output was closed; the run goes on without it");
    }
}

void ConsoleOutput::Err(const std::string& line) {
    WriteLine(STD_ERROR_HANDLE, line);
}

bool ConsoleOutput::ErrIsTerminal() const {
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
}
