// What the window shows while a run goes on and when it ends: the progress in the status
// label and on the taskbar button, the newest result line in view, and a window that keeps
// answering its messages although the run yields to them only now and then.
#include <atomic>
#include <chrono>
#include <thread>

#include "builder/run_texts.h"
#include "tests/ui/ui_test_support.h"
#include "ui/form1_run_controls.h"
#include "ui/message_pump.h"
#include "win/wide_text.h"

namespace {

// Records what the window asks of its taskbar button.
struct TaskbarCalls {
    int created = 0;
    HWND window = nullptr;
    std::vector<std::pair<uint64_t, uint64_t>> shown;
    int cleared = 0;
};

class RecordingTaskbar final : public TaskbarProgress {
  public:
    explicit RecordingTaskbar(TaskbarCalls& calls) : calls_(calls) {}
    void Show(uint64_t done, uint64_t total) override { calls_.shown.emplace_back(done, total); }
    void Clear() override { ++calls_.cleared; }

  private:
    TaskbarCalls& calls_;
};

// A message-only window on the test's thread that notes how long each message posted to it
// from another thread waited in the queue.
class PostedMessageClock {
  public:
    PostedMessageClock() {
        WNDCLASSW window_class{};
        window_class.lpfnWndProc = Procedure;
        window_class.hInstance = GetModuleHandleW(nullptr);
        window_class.lpszClassName = L"FolvanePostedMessageClock";
        RegisterClassW(&window_class);
        window_ = CreateWindowW(window_class.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                window_class.hInstance, nullptr);
        SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~PostedMessageClock() {
        Stop();
        DestroyWindow(window_);
    }

    // Posts a message from another thread whenever the last one has been handled.
    void Start() {
        poster_ = std::thread([this] {
            while (!stop_) {
                if (!waiting_) {
                    waiting_ = true;
                    posted_at_ = Now();
                    PostMessageW(window_, WM_APP, 0, 0);
                }
                Sleep(2);
            }
        });
    }
    void Stop() {
        stop_ = true;
        if (poster_.joinable())
            poster_.join();
    }
    int handled() const { return handled_; }
    int64_t longest_wait_ms() const { return longest_wait_ms_; }

  private:
    static int64_t Now() {
        using namespace std::chrono;
        return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    }
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
        auto* clock = reinterpret_cast<PostedMessageClock*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (message == WM_APP && clock) {
            clock->longest_wait_ms_ = std::max(clock->longest_wait_ms_, Now() - clock->posted_at_.load());
            ++clock->handled_;
            clock->waiting_ = false;
            return 0;
        }
        return DefWindowProcW(window, message, wparam, lparam);
    }

    HWND window_ = nullptr;
    std::thread poster_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> waiting_{false};
    std::atomic<int64_t> posted_at_{0};
    int handled_ = 0;
    int64_t longest_wait_ms_ = 0;
};

}  // namespace

TEST(YieldPacer, LetsTheLoopInOncePerIntervalAndOnRequest) {
    YieldPacer pacer;
    EXPECT_TRUE(pacer.Due(1000));  // the first yield of a run
    EXPECT_FALSE(pacer.Due(1000));
    EXPECT_FALSE(pacer.Due(1000 + YieldPacer::kIntervalMs - 1));
    EXPECT_TRUE(pacer.Due(1000 + YieldPacer::kIntervalMs));
    EXPECT_FALSE(pacer.Due(1000 + YieldPacer::kIntervalMs + 1));
    pacer.RequestPass();
    EXPECT_TRUE(pacer.Due(1000 + YieldPacer::kIntervalMs + 2));
    EXPECT_FALSE(pacer.Due(1000 + YieldPacer::kIntervalMs + 3));
    // A clock that has run on for a long time gives one pass, not one for every interval missed.
    EXPECT_TRUE(pacer.Due(60000));
    EXPECT_FALSE(pacer.Due(60001));
}

TEST(RunProgress, NamesTheFileByNumberAndBookNameWithItsPercentOnceKnown) {
    RunProgress progress;
    EXPECT_EQ(StatusWithProgress(L"请稍候", progress), L"请稍候");
    progress.index = 2;
    progress.count = 40;
    progress.name = "红楼梦.txt";
    EXPECT_EQ(StatusWithProgress(L"请稍候", progress), L"请稍候 3/40 红楼梦");
    EXPECT_EQ(progress.Done(), 200u);
    EXPECT_EQ(progress.Total(), 4000u);
    progress.percent = 45;
    EXPECT_EQ(progress.Text(), L"3/40 红楼梦 45%");
    EXPECT_EQ(progress.Done(), 245u);
    progress.percent = 130;  // never past the file's end
    EXPECT_EQ(progress.Text(), L"3/40 红楼梦 100%");
    EXPECT_EQ(progress.Done(), 300u);
    // A long name is shortened so that the numbers stay on the label's one line.
    progress.name = "一二三四五六七八九十一二三四五六七八九十.part1.txt";
    progress.percent = 5;
    EXPECT_EQ(progress.Text(), L"3/40 一二三四五六七八九十一二三四五… 5%");
    // ...and never between the halves of a character outside the basic plane.
    progress.name = "一二三四五六七八九十一二三四\U00020000\U00020001.txt";
    EXPECT_EQ(progress.Text(), L"3/40 一二三四五六七八九十一二三四… 5%");
}

TEST_F(Form1Test, TheStatusLabelShowsTheFileAndHowFarItIs) {
    CreateForm();
    Form1RunControls controls(*form_);
    controls.SetStatusText(kWaitingText);
    controls.OnSourceFile(2, 40, "红楼梦.txt");
    EXPECT_EQ(Label(Form1Label::Label1), std::string(kWaitingText) + " 3/40 红楼梦");
    controls.OnFileProgress(45);
    EXPECT_EQ(Label(Form1Label::Label1), "请稍候—文件正在生成中...... 3/40 红楼梦 45%");
    controls.OnSourceFile(3, 40, "西游记.htm");
    EXPECT_EQ(Label(Form1Label::Label1), std::string(kWaitingText) + " 4/40 西游记");
    // The run's own status replaces the progress once it ends.
    controls.SetStatusText(kFinishedText);
    EXPECT_EQ(Label(Form1Label::Label1), kFinishedText);
}

TEST_F(Form1Test, TheLastLineIsInViewAfterA40FileRun) {
    TempFolder folder;
    for (int i = 1; i <= 40; ++i) {
        wchar_t name[32];
        swprintf(name, 32, L"book%02d.txt", i);
        folder.WriteFile(name, "text\r\n");
    }
    // A compiler that cannot start: the books fail at once and no compile has to be waited for.
    CreateForm([&] { return folder.utf8_path(); }, Utf8FromWide(folder.Join(L"no-compiler.exe")));
    Click(Form1Window::Command1);
    Click(Form1Window::Command2);
    const HWND list = Control(Form1Window::List1);
    ASSERT_EQ(form_->List1().ListCount(), 40);
    EXPECT_EQ(form_->List1().Entry(39), "book40_失败");
    EXPECT_EQ(Label(Form1Label::Label11), "完成40个文件");
    RECT client{}, last{};
    GetClientRect(list, &client);
    ASSERT_NE(SendMessageW(list, LB_GETITEMRECT, 39, reinterpret_cast<LPARAM>(&last)), LB_ERR);
    EXPECT_GE(last.top, client.top);
    EXPECT_LE(last.bottom, client.bottom) << "the last line is not wholly in view";
    EXPECT_GT(SendMessageW(list, LB_GETTOPINDEX, 0, 0), 0);
}

TEST_F(Form1Test, AChangedLineKeepsTheViewAndTheSelection) {
    CreateForm();
    ResultListBox& list = form_->List1();
    for (int i = 0; i < 30; ++i)
        list.SetEntry(i, "line" + std::to_string(i) + "_成功");
    const HWND box = Control(Form1Window::List1);
    SendMessageW(box, LB_SETTOPINDEX, 5, 0);
    SendMessageW(box, LB_SETCURSEL, 7, 0);
    list.SetEntry(7, "line7_失败");
    list.SetEntry(12, "line12_失败");
    EXPECT_EQ(list.Entry(7), "line7_失败");
    EXPECT_EQ(list.Entry(12), "line12_失败");
    EXPECT_EQ(list.ListCount(), 30);
    EXPECT_EQ(SendMessageW(box, LB_GETTOPINDEX, 0, 0), 5);
    EXPECT_EQ(SendMessageW(box, LB_GETCURSEL, 0, 0), 7);
}

TEST_F(Form1Test, TheTaskbarButtonFollowsTheRunAndIsClearedAtItsEnd) {
    TempFolder folder;
    folder.WriteFile(L"a.txt", "a\r\n");
    folder.WriteFile(L"b.txt", "b\r\n");
    folder.WriteFile(L"c.txt", "c\r\n");
    TaskbarCalls calls;
    Form1Options options;
    options.choose_folder = [&] { return folder.utf8_path(); };
    options.run_options.compiler = FakeCompilerPath();
    options.taskbar_progress = [&](HWND window) -> std::unique_ptr<TaskbarProgress> {
        ++calls.created;
        calls.window = window;
        return std::make_unique<RecordingTaskbar>(calls);
    };
    CreateForm(std::move(options));
    Click(Form1Window::Command1);
    EXPECT_EQ(calls.created, 0) << "asked for before any run";
    Click(Form1Window::Command2);
    EXPECT_EQ(calls.created, 1);
    EXPECT_EQ(calls.window, form_->window());
    ASSERT_GE(calls.shown.size(), 3u);
    EXPECT_EQ(calls.shown.front(), std::make_pair(uint64_t{0}, uint64_t{300}));
    for (size_t i = 1; i < calls.shown.size(); ++i) {
        EXPECT_GE(calls.shown[i].first, calls.shown[i - 1].first);
        EXPECT_EQ(calls.shown[i].second, 300u);
    }
    EXPECT_GE(calls.shown.back().first, 200u);  // the third file has begun
    EXPECT_EQ(calls.cleared, 1);
    EXPECT_EQ(Label(Form1Label::Label1), kFinishedText);

    // The next run uses the same button.
    folder.WriteFile(L"d.txt", "d\r\n");
    Click(Form1Window::Command1);
    Click(Form1Window::Command2);
    EXPECT_EQ(calls.created, 1);
    EXPECT_EQ(calls.cleared, 2);
    EXPECT_GE(calls.shown.back().first, 300u);
    EXPECT_EQ(calls.shown.back().second, 400u);
}

TEST_F(Form1Test, WithoutATaskbarButtonTheRunStillShowsItsProgress) {
    TempFolder folder;
    folder.WriteFile(L"a.txt", "a\r\n");
    // Long enough to take several of the run's timed passes, in each of which the ticker's timer
    // is due: a file of one line can be done before it is.
    std::string long_text;
    for (int i = 0; i < 200000; ++i)
        long_text += "b line of text\r\n";
    folder.WriteFile(L"b.txt", long_text);
    Form1Options options;
    options.choose_folder = [&] { return folder.utf8_path(); };
    options.run_options.compiler = FakeCompilerPath();
    int asked = 0;
    options.taskbar_progress = [&](HWND) -> std::unique_ptr<TaskbarProgress> {
        ++asked;
        return nullptr;
    };
    CreateForm(std::move(options));
    Click(Form1Window::Command1);
    std::vector<std::string> status_during_run;
    {
        ThreadTicker ticker([&] { status_during_run.push_back(Label(Form1Label::Label1)); });
        Click(Form1Window::Command2);
    }
    EXPECT_EQ(asked, 1);
    EXPECT_NE(std::find_if(status_during_run.begin(), status_during_run.end(),
                           [](const std::string& s) { return s.starts_with(std::string(kWaitingText) + " 2/2 b"); }),
              status_during_run.end());
    EXPECT_EQ(Label(Form1Label::Label1), kFinishedText);
    EXPECT_EQ(ListBoxItems(Control(Form1Window::List1)), (std::vector<std::wstring>{L"a_成功", L"b_成功"}));
}

TEST_F(Form1Test, TheShellsTaskbarButtonOrNoneLeavesTheRunWorking) {
    TempFolder folder;
    folder.WriteFile(L"a.txt", "a\r\n");
    CreateForm([&] { return folder.utf8_path(); }, FakeCompilerPath());
    // Wine may have no taskbar list; Windows 7 and later have one. Either way:
    const std::unique_ptr<TaskbarProgress> taskbar = CreateTaskbarProgress(form_->window());
    if (taskbar) {
        taskbar->Show(1, 2);
        taskbar->Clear();
    }
    Click(Form1Window::Command1);
    Click(Form1Window::Command2);
    EXPECT_EQ(Label(Form1Label::Label1), kFinishedText);
    EXPECT_EQ(form_->List1().Entry(0), "a_成功");
    EXPECT_TRUE(IsWindowVisible(form_->window()));
}

TEST_F(Form1Test, ARunOverALongFileYieldsByTimeAndStillAnswersQuickly) {
    constexpr int kLines = 100000;
    std::string text;
    text.reserve(kLines * 40);
    for (int i = 0; i < kLines; ++i)
        text += "line " + std::to_string(i) + " of a long story, told slowly\r\n";
    TempFolder folder;
    folder.WriteFile(L"long.txt", text);
    int passes = 0;
    Form1Options options;
    options.choose_folder = [&] { return folder.utf8_path(); };
    // No compiler: starting a program is not what is measured here.
    options.run_options.compiler = Utf8FromWide(folder.Join(L"no-compiler.exe"));
    options.pump_messages = [&](HWND dialog_window) {
        ++passes;
        return PumpPendingMessages(dialog_window);
    };
    CreateForm(std::move(options));
    Click(Form1Window::Command1);

    PostedMessageClock clock;
    clock.Start();
    const ULONGLONG start = GetTickCount64();
    Click(Form1Window::Command2);
    const ULONGLONG elapsed = GetTickCount64() - start;
    clock.Stop();

    ASSERT_EQ(form_->List1().Entry(0), "long_失败");
    // One pass per interval at most, and one for the file: a few hundred for the whole run,
    // where a pass before every line would be a hundred thousand.
    EXPECT_GE(passes, 2);
    EXPECT_LE(passes, static_cast<int>(elapsed / YieldPacer::kIntervalMs) + 4) << "in " << elapsed << " ms";
    EXPECT_LE(passes, 400) << "in " << elapsed << " ms";
    EXPECT_GT(clock.handled(), 0);
    EXPECT_LE(clock.longest_wait_ms(), 50) << clock.handled() << " messages in " << elapsed << " ms";
    RecordProperty("passes", passes);
    RecordProperty("run_ms", static_cast<int>(elapsed));
    RecordProperty("longest_wait_ms", static_cast<int>(clock.longest_wait_ms()));
}
