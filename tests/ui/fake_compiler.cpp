// Stands in for the help compiler in the UI tests: reads the project named on the command
// line and writes the book it names, unless the project's folder name starts with "fail".
#include <windows.h>
// after windows.h
#include <shellapi.h>

#include <string>

int main() {
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!arguments || count < 2)
        return 0;
    // The project path arrives unquoted: join the arguments again.
    std::wstring project = arguments[1];
    for (int i = 2; i < count; ++i)
        project += L" " + std::wstring(arguments[i]);
    LocalFree(arguments);
    for (wchar_t& c : project) {
        if (c == L'/')
            c = L'\\';
    }
    const std::wstring folder = project.substr(0, project.find_last_of(L'\\'));
    const std::wstring folder_name = folder.substr(folder.find_last_of(L'\\') + 1);
    if (folder_name.rfind(L"fail", 0) == 0)
        return 0;

    HANDLE file = CreateFileW(project.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    std::string text(1 << 16, '\0');
    DWORD read = 0;
    ReadFile(file, text.data(), static_cast<DWORD>(text.size()), &read, nullptr);
    CloseHandle(file);
    text.resize(read);
    const std::string key = "Compiled file=";
    const size_t at = text.find(key);
    if (at == std::string::npos)
        return 0;
    const size_t end = text.find_first_of("\r\n", at);
    const std::string book = text.substr(at + key.size(), end - at - key.size());
    // The book name is in the system code page, as the project file is.
    wchar_t wide_book[MAX_PATH] = {};
    MultiByteToWideChar(CP_ACP, 0, book.c_str(), -1, wide_book, MAX_PATH);
    const std::wstring book_path = folder + L"\\" + wide_book;
    HANDLE out = CreateFileW(book_path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (out == INVALID_HANDLE_VALUE)
        return 0;
    const char content[] = "ITSF fake book";
    DWORD written = 0;
    WriteFile(out, content, sizeof(content), &written, nullptr);
    CloseHandle(out);
    return 1;
}
