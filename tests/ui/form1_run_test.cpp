// The Convert & Generate run driven through Command2 with the real message pump: result
// lines, labels, the compiler watcher, the run's message box, a second click during the run
// and closing the window during the run.
#include <algorithm>

#include "builder/platform.h"
#include "builder/run_texts.h"
#include "tests/ui/ui_test_support.h"
#include "ui/form1_run_controls.h"
#include "win/wide_text.h"

namespace {

std::vector<std::string> ResultLines(Form1& form) {
    std::vector<std::string> lines;
    for (int i = 0; i < form.List1().ListCount(); ++i)
        lines.push_back(form.List1().Entry(i));
    return lines;
}

}  // namespace

TEST_F(Form1Test, RunThroughCommand2FillsTheResultListAndLabels) {
    TempFolder folder;
    folder.WriteFile(L"alpha.txt", AsciiText(60000));  // two pages
    folder.WriteFile(L"beta.htm", "<html><head><title>Beta</title></head><body>beta</body></html>\r\n");
    folder.WriteFile(L"empty.txt", "");                // no line for it
    folder.WriteFile(L"fail_gamma.txt", "gamma\r\n");  // its compiler writes no book
    CreateForm([&] { return folder.utf8_path(); }, FakeCompilerPath());
    Click(Form1Window::Command1);
    ASSERT_EQ(Label(Form1Label::Label10), "加载4个文件");

    std::vector<std::string> status_during_run;
    {
        ThreadTicker ticker([&] {
            if (form_->RunInProgress())
                status_during_run.push_back(Label(Form1Label::Label1));
        });
        Click(Form1Window::Command2);
    }
    EXPECT_FALSE(form_->RunInProgress());
    EXPECT_EQ(Label(Form1Label::Label1), kFinishedText);
    // While it runs, the status names the file being converted after the waiting text.
    const std::vector<std::string> progress = {" 1/4 alpha", " 2/4 beta", " 3/4 empty", " 4/4 fail_gamma"};
    int with_progress = 0;
    for (const std::string& status : status_during_run) {
        if (status == kWaitingText)
            continue;
        ++with_progress;
        const bool known = std::any_of(progress.begin(), progress.end(), [&](const std::string& file) {
            return status.rfind(kWaitingText + file, 0) == 0;
        });
        EXPECT_TRUE(known) << status;
    }
    EXPECT_GT(with_progress, 0);
    EXPECT_EQ(Label(Form1Label::Label11), "完成3个文件");
    EXPECT_TRUE(folder.Exists(L"alpha\\chm_hhp.hhp"));
    EXPECT_TRUE(folder.Exists(L"beta\\chm_hhc.hhc"));
    EXPECT_FALSE(folder.Exists(L"empty\\chm_hhp.hhp"));
    const std::vector<std::wstring> lines = ListBoxItems(Control(Form1Window::List1));
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], L"alpha_成功");
    EXPECT_EQ(lines[1], L"beta_成功");
    // The compiler of the third book ends without writing it: the window timer that watches
    // the compilers turns its line into a failure.
    EXPECT_TRUE(PumpUntil([&] { return form_->List1().Entry(2) == "fail_gamma_失败"; }, 20000))
        << form_->List1().Entry(2);
    EXPECT_TRUE(PumpUntil([&] { return !form_->CompilersPending(); }, 20000));
    EXPECT_TRUE(folder.Exists(L"alpha\\alpha.chm"));
    EXPECT_EQ(form_->List1().Entry(0), "alpha_成功");
    EXPECT_EQ(form_->List1().Entry(1), "beta_成功");
}

TEST_F(Form1Test, EachRunShowsItsOwnLinesAndCountsItsOwnBooks) {
    TempFolder first;
    first.WriteFile(L"one.txt", "one\r\n");
    first.WriteFile(L"two.txt", "two\r\n");
    first.WriteFile(L"three.txt", "three\r\n");
    TempFolder second;
    second.WriteFile(L"new.txt", "new\r\n");
    second.WriteFile(L"old.txt", "old\r\n");
    second.MakeFolder(L"old");
    second.WriteFile(L"old\\old.chm", "made before");
    const TempFolder* chosen = &first;
    CreateForm([&] { return chosen->utf8_path(); }, FakeCompilerPath());
    Click(Form1Window::Command1);
    Click(Form1Window::Command2);
    ASSERT_EQ(ResultLines(*form_), (std::vector<std::string>{"one_成功", "three_成功", "two_成功"}));
    ASSERT_EQ(Label(Form1Label::Label11), "完成3个文件");

    // Another folder: its lines alone, and only the book it made counts.
    chosen = &second;
    Click(Form1Window::Command1);
    Click(Form1Window::Command2);
    EXPECT_EQ(ResultLines(*form_), (std::vector<std::string>{"new_成功", "old_目录已存在！"}));
    EXPECT_EQ(Label(Form1Label::Label11), "完成1个文件");

    // The same folder again: every book exists, none is made, and no count is left standing.
    form_->SetLabelCaption(Form1Label::Label1, L"");
    Click(Form1Window::Command2);
    EXPECT_EQ(ResultLines(*form_), (std::vector<std::string>{"new_目录已存在！", "old_目录已存在！"}));
    EXPECT_EQ(Label(Form1Label::Label11), "");
    EXPECT_EQ(Label(Form1Label::Label1), kFinishedText);
}

TEST_F(Form1Test, RunWithNoSourceFilesChangesNothing) {
    TempFolder folder;
    CreateForm([&] { return folder.utf8_path(); }, FakeCompilerPath());
    Click(Form1Window::Command1);
    Click(Form1Window::Command2);
    EXPECT_EQ(Label(Form1Label::Label1), "");
    EXPECT_EQ(Label(Form1Label::Label11), "");
    EXPECT_EQ(form_->List1().ListCount(), 0);
}

TEST_F(Form1Test, TheRunsMessageBoxIsModalWithOkOnlyAndNoIcon) {
    CreateForm();
    Form1RunControls controls(*form_);
    DialogAnswerer answerer(IDOK);
    controls.ShowMessage(kNoPagesMessage, kNoPagesTitle);
    ASSERT_EQ(answerer.seen().size(), 1u);
    const SeenDialog& box = answerer.seen()[0];
    EXPECT_EQ(box.title, L"提示:)");
    EXPECT_EQ(box.text, L"加载文件后再转换吧!:)");
    EXPECT_EQ(box.owner, form_->window());
    EXPECT_FALSE(box.owner_was_enabled) << "the box must be modal to the main window";
    EXPECT_TRUE(box.has_ok);
    EXPECT_FALSE(box.has_cancel);
    EXPECT_FALSE(box.has_icon);
    EXPECT_TRUE(IsWindowEnabled(form_->window()));
}

TEST_F(Form1Test, RunControlsReachTheRealControls) {
    TempFolder folder;
    folder.WriteFile(L"a.txt", "a");
    CreateForm([&] { return folder.utf8_path(); });
    Click(Form1Window::Command1);
    Form1RunControls controls(*form_);
    EXPECT_EQ(controls.File1().Path(), folder.utf8_path());
    EXPECT_EQ(controls.File1().List(0), "a.txt");
    controls.List1().SetEntry(0, "first");
    controls.List1().SetEntry(1, "second");
    controls.List1().SetEntry(0, "replaced");
    EXPECT_EQ(ListBoxItems(Control(Form1Window::List1)), (std::vector<std::wstring>{L"replaced", L"second"}));
    controls.File2().SetPath(folder.utf8_path());
    controls.File2().Refresh();
    EXPECT_EQ(ListBoxItems(Control(Form1Window::File2)), std::vector<std::wstring>{L"a.txt"});
    controls.SetStatusText("状态");
    controls.SetCountText("完成1个文件");
    EXPECT_EQ(Label(Form1Label::Label1), "状态");
    EXPECT_EQ(Label(Form1Label::Label11), "完成1个文件");
    EXPECT_EQ(controls.PageHead(), "");
    EXPECT_EQ(controls.PageTail(), "");
    EXPECT_TRUE(controls.Yield());
}

TEST_F(Form1Test, ASecondClickDuringTheRunIsIgnored) {
    TempFolder folder;
    folder.WriteFile(L"big.txt", AsciiText(400000));
    folder.WriteFile(L"small.txt", "small\r\n");
    CreateForm([&] { return folder.utf8_path(); }, FakeCompilerPath());
    Click(Form1Window::Command1);
    int clicks_during_run = 0;
    int lines_before_second_click = -1;
    int lines_after_second_click = -1;
    {
        ThreadTicker ticker([&] {
            if (!form_->RunInProgress() || clicks_during_run > 0)
                return;
            ++clicks_during_run;
            lines_before_second_click = form_->List1().ListCount();
            Click(Form1Window::Command2);
            lines_after_second_click = form_->List1().ListCount();
            EXPECT_TRUE(form_->RunInProgress());
        });
        Click(Form1Window::Command2);
    }
    ASSERT_EQ(clicks_during_run, 1) << "the run was too short to click during it";
    EXPECT_EQ(lines_before_second_click, lines_after_second_click);
    EXPECT_EQ(ResultLines(*form_), (std::vector<std::string>{"big_成功", "small_成功"}));
    EXPECT_EQ(Label(Form1Label::Label1), kFinishedText);
}

// The names and texts that books have gone wrong on, through the window with hhc.exe's stand-in
// (which reads its project in code page 936 and answers 1 for success, as hhc.exe does).
TEST_F(Form1Test, NamesAndTextsThatBooksWentWrongOnMakeBooksInTheWindowToo) {
    TempFolder folder;
    folder.WriteFile(L"唐诗 三百首.txt", platform::EncodeCp936("第一章 雊雉\r\n雊雉鸣矣 – 喆\r\n"));
    folder.WriteFile(L"a,b.txt", "comma, \"quoted\" <tag> & more\r\n");
    folder.WriteFile(L"한국어.txt", platform::EncodeCp936("春眠不觉晓\r\n"));
    folder.WriteFile(L"utf8 page.htm",
                     "\xEF\xBB\xBF<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">"
                     "</head><body>春眠 한국어</body></html>\r\n");
    folder.MakeFolder(L"program");
    CopyFileW(WideFromUtf8(FakeCompilerPath()).c_str(), folder.Join(L"program\\hhc.exe").c_str(), FALSE);
    CreateForm([&] { return folder.utf8_path(); }, Utf8FromWide(folder.Join(L"program\\hhc.exe")));
    Click(Form1Window::Command1);
    Click(Form1Window::Command2);
    ASSERT_TRUE(PumpUntil([&] { return !form_->CompilersPending(); }, 30000));
    PumpFor(200);
    EXPECT_EQ(ResultLines(*form_),
              (std::vector<std::string>{"a,b_成功", "utf8 page_成功", "唐诗 三百首_成功", "한국어_成功"}));
    // Each book under its real name; names hhc.exe cannot read got stand-ins and were renamed.
    for (const wchar_t* book : {L"a,b\\a,b.chm", L"utf8 page\\utf8 page.chm", L"唐诗 三百首\\唐诗 三百首.chm",
                                L"한국어\\한국어.chm", L"한국어\\book_1.htm"})
        EXPECT_TRUE(folder.Exists(book)) << Utf8FromWide(book);
    std::string page;
    ASSERT_TRUE(platform::ReadFileBytes(Utf8FromWide(folder.Join(L"utf8 page\\utf8 page_1.htm")), page));
    EXPECT_NE(page.find("charset=gbk"), std::string::npos);
    EXPECT_EQ(page.find("charset=utf-8"), std::string::npos);
    EXPECT_NE(page.find(platform::EncodeCp936("春眠 한국어")), std::string::npos);
}

TEST_F(Form1Test, ClosingDuringTheRunHidesTheWindowFinishesTheBookAndEndsTheProgram) {
    TempFolder folder;
    // Books long enough to be caught half made: pages are written straight from memory.
    folder.WriteFile(L"a_big.txt", AsciiText(8000000));
    folder.WriteFile(L"b_big.txt", AsciiText(400000));
    folder.WriteFile(L"c_big.txt", AsciiText(400000));
    CreateForm([&] { return folder.utf8_path(); }, FakeCompilerPath());
    Click(Form1Window::Command1);
    bool closed = false;
    bool still_open_after_close = false;
    bool visible_after_close = true;
    {
        ThreadTicker ticker([&] {
            // Close once the first book is under way.
            if (!form_->RunInProgress() || closed || Label(Form1Label::Label1).find(" 1/3 a_big") == std::string::npos)
                return;
            closed = true;
            SendMessageW(form_->window(), WM_CLOSE, 0, 0);
            // The window stays until the run has stopped and returned, but out of sight.
            still_open_after_close = form_->window() != nullptr;
            visible_after_close = IsWindowVisible(form_->window()) != FALSE;
        });
        Click(Form1Window::Command2);
    }
    ASSERT_TRUE(closed);
    EXPECT_TRUE(still_open_after_close);
    EXPECT_FALSE(visible_after_close);
    EXPECT_FALSE(form_->RunInProgress());
    EXPECT_TRUE(PumpUntil([&] { return form_->window() == nullptr; }, 5000));
    PumpFor(10);
    EXPECT_TRUE(TakeQuitMessage());
    // The book under way was finished, no later one was begun, and no completion text shows.
    EXPECT_TRUE(folder.Exists(L"a_big\\chm_hhp.hhp"));
    EXPECT_FALSE(folder.Exists(L"b_big"));
    EXPECT_FALSE(folder.Exists(L"c_big"));
    EXPECT_EQ(Label(Form1Label::Label1), kWaitingText);
    // What the program does after its message loop: the book's compile ends before the process.
    form_->FinishCompiles();
    EXPECT_FALSE(form_->CompilersPending());
    EXPECT_TRUE(folder.Exists(L"a_big\\a_big.chm"));
}
