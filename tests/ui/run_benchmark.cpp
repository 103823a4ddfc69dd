// Times the Convert & Generate run in the main window against folvane-cli.exe over the same
// folder of GBK novels, and prints both and their ratio. The window is made as folvane.exe
// makes it, shown, and driven through Command2 with the program's own message pump.
//
//   ui_run_benchmark [--files N] [--megabytes M] [--repeat R] [--compiler PATH] [--cli PATH] [--folder PARENT]
//
// Defaults: 5 files of 5 MB, 3 turns, the stand-in compiler and folvane-cli.exe of this build.
// Every turn removes the books of the turn before, so each run converts every file.
#include "ui/win32.h"
// after windows.h
#include <commctrl.h>
#include <objbase.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "builder/command_line.h"
#include "builder/platform.h"
#include "tests/builder/test_support.h"
#include "ui/form1.h"
#include "ui/form_resources.h"
#include "win/wide_text.h"

namespace {

constexpr char kUsage[] =
    "usage: ui_run_benchmark [--files N] [--megabytes M] [--repeat R] [--compiler PATH] [--cli PATH] "
    "[--folder PARENT]\n"
    "Times a run in the main window (Command2 to the end of the run, and until every compile has ended)\n"
    "against folvane-cli.exe (start to exit) over N GBK novels of M MB. Defaults: 5 files, 5 MB, 3 turns,\n"
    "the stand-in compiler and folvane-cli.exe of this build.\n";

struct Settings {
    int files = 5;
    int megabytes = 5;
    int repeat = 3;
    std::string compiler;
    std::string cli;
    std::string parent;
};

double NowSeconds() {
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// A novel: chapter headings, then paragraphs of Chinese prose in lines of varying length.
std::string MakeNovel(size_t bytes, unsigned seed) {
    const std::string words[] = {Gbk("春眠不觉晓，"), Gbk("处处闻啼鸟。"),   Gbk("夜来风雨声，"), Gbk("花落知多少。"),
                                 Gbk("他笑道："),     Gbk("“好一个去处！”"), Gbk("众人听了，"),   Gbk("都说是。")};
    std::string text;
    text.reserve(bytes + 256);
    unsigned state = seed * 2654435761u + 1;
    int chapter = 0;
    while (text.size() < bytes) {
        if (text.size() / 200000 >= static_cast<size_t>(chapter))
            text += Gbk("第" + std::to_string(++chapter) + "章 风雨") + "\r\n";
        state = state * 1103515245u + 12345u;
        const int words_in_line = 6 + static_cast<int>((state >> 8) % 20);
        text += Gbk("　　");
        for (int w = 0; w < words_in_line; ++w) {
            state = state * 1103515245u + 12345u;
            text += words[(state >> 16) % 8];
        }
        text += "\r\n";
    }
    return text;
}

// Removes the books (every subfolder) of a finished turn.
void RemoveBooks(const std::string& folder) {
    std::vector<platform::FolderEntry> entries;
    platform::ListFolder(folder, entries);
    for (const platform::FolderEntry& entry : entries) {
        if (!entry.is_folder)
            continue;
        const std::string book_folder = platform::JoinPath(folder, entry.name);
        std::vector<platform::FolderEntry> files;
        platform::ListFolder(book_folder, files);
        for (const platform::FolderEntry& file : files)
            platform::DeleteFileAt(platform::JoinPath(book_folder, file.name));
        RemoveDirectoryW(WideFromUtf8(book_folder).c_str());
    }
}

bool PumpUntilIdle(const Form1& form, double timeout_seconds) {
    const double end = NowSeconds() + timeout_seconds;
    while (form.CompilersPending()) {
        if (NowSeconds() > end)
            return false;
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    return true;
}

struct WindowTimes {
    double run = 0;
    double with_compiles = 0;
};

WindowTimes TimeWindowRun(const FormResources& resources, const Settings& settings, const std::string& folder) {
    Form1Options options;
    options.quit_when_closed = false;
    options.choose_folder = [&] { return folder; };
    options.run_options.compiler = settings.compiler;
    Form1 form(resources, std::move(options));
    WindowTimes times;
    if (!form.Create(SW_SHOWNORMAL))
        return times;
    SendMessageW(form.Control(Form1Window::Command1), BM_CLICK, 0, 0);
    const double start = NowSeconds();
    SendMessageW(form.Control(Form1Window::Command2), BM_CLICK, 0, 0);
    times.run = NowSeconds() - start;
    PumpUntilIdle(form, 600);
    times.with_compiles = NowSeconds() - start;
    DestroyWindow(form.window());
    return times;
}

double TimeCli(const Settings& settings, const std::string& folder) {
    std::wstring command = WideFromUtf8(BuildCommandLine(settings.cli, {"--compiler", settings.compiler, folder}));
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    HANDLE null_device =
        CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, nullptr);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = startup.hStdError = null_device;
    PROCESS_INFORMATION info{};
    const double start = NowSeconds();
    const BOOL started =
        CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &info);
    if (null_device != INVALID_HANDLE_VALUE)
        CloseHandle(null_device);
    if (!started) {
        std::fprintf(stderr, "cannot start %s\n", settings.cli.c_str());
        return -1;
    }
    WaitForSingleObject(info.hProcess, INFINITE);
    const double seconds = NowSeconds() - start;
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return seconds;
}

bool ParseSettings(int argc, char** argv, Settings& settings) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool has_value = i + 1 < argc;
        if (arg == "--files" && has_value)
            settings.files = std::max(1, std::atoi(argv[++i]));
        else if (arg == "--megabytes" && has_value)
            settings.megabytes = std::max(1, std::atoi(argv[++i]));
        else if (arg == "--repeat" && has_value)
            settings.repeat = std::max(1, std::atoi(argv[++i]));
        else if (arg == "--compiler" && has_value)
            settings.compiler = argv[++i];
        else if (arg == "--cli" && has_value)
            settings.cli = argv[++i];
        else if (arg == "--folder" && has_value)
            settings.parent = argv[++i];
        else
            return false;
    }
    const std::string here = platform::ProgramFolder();
    if (settings.compiler.empty())
        settings.compiler = platform::JoinPath(here, "ui_fake_compiler.exe");
    if (settings.cli.empty())
        settings.cli = platform::JoinPath(here, "..\\..\\cli\\folvane-cli.exe");
    if (settings.parent.empty()) {
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        settings.parent = Utf8FromWide(temp);
    }
    return true;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    Settings settings;
    if (!ParseSettings(argc, argv, settings)) {
        std::fputs(kUsage, stdout);
        return argc > 1 && std::strcmp(argv[1], "--help") == 0 ? 0 : 2;
    }
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);

    const std::string folder =
        platform::JoinPath(settings.parent, "folvane-ui-bench-" + std::to_string(GetCurrentProcessId()));
    platform::CreateFolder(folder);
    for (int i = 0; i < settings.files; ++i) {
        WriteTestFile(platform::JoinPath(folder, "小说" + std::to_string(i + 1) + ".txt"),
                      MakeNovel(static_cast<size_t>(settings.megabytes) << 20, static_cast<unsigned>(i + 1)));
    }
    std::printf("%d GBK novels of %d MB in %s; compiler %s\n", settings.files, settings.megabytes, folder.c_str(),
                settings.compiler.c_str());

    std::vector<double> window_runs, window_totals, cli_runs;
    {
        FormResources resources(GetModuleHandleW(nullptr));
        for (int turn = 1; turn <= settings.repeat; ++turn) {
            RemoveBooks(folder);
            const WindowTimes window = TimeWindowRun(resources, settings, folder);
            RemoveBooks(folder);
            const double cli = TimeCli(settings, folder);
            std::printf("turn %d: window run %.2f s (%.2f s until every compile ended), folvane-cli %.2f s\n", turn,
                        window.run, window.with_compiles, cli);
            std::fflush(stdout);
            window_runs.push_back(window.run);
            window_totals.push_back(window.with_compiles);
            cli_runs.push_back(cli);
        }
    }
    RemoveBooks(folder);
    std::vector<platform::FolderEntry> entries;
    platform::ListFolder(folder, entries);
    for (const platform::FolderEntry& entry : entries)
        platform::DeleteFileAt(platform::JoinPath(folder, entry.name));
    RemoveDirectoryW(WideFromUtf8(folder).c_str());

    const double window = Median(window_runs), total = Median(window_totals), cli = Median(cli_runs);
    std::printf("median: window run %.2f s, until compiled %.2f s; folvane-cli %.2f s; window / cli %.2f (%.2f)\n",
                window, total, cli, window / cli, total / cli);
    if (SUCCEEDED(com))
        CoUninitialize();
    return 0;
}
