// A double-click on a result line: a made book opens, a book of an earlier run opens its
// folder, a failed one tells why in the run's skinned message box, and a book still being
// compiled says so. The shell is replaced by a recorder.
#include "builder/run_texts.h"
#include "tests/ui/ui_test_support.h"
#include "ui/result_line_action.h"
#include "win/wide_text.h"

namespace {

struct ShellCalls {
    std::vector<std::string> paths;
    HWND owner = nullptr;
    bool succeed = true;
};

// Double-clicks line `index` of a list box as the mouse does.
void DoubleClickLine(HWND list, int index) {
    RECT item{};
    ASSERT_NE(SendMessageW(list, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item)), LB_ERR);
    const LPARAM at = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
    SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(list, WM_LBUTTONUP, 0, at);
    SendMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    SendMessageW(list, WM_LBUTTONUP, 0, at);
}

bool Contains(const std::wstring& text, const std::string& part) {
    return text.find(WideFromUtf8(part)) != std::wstring::npos;
}

// Sets an environment variable for the stand-in compilers that this test starts.
class ScopedEnvironment {
  public:
    ScopedEnvironment(const wchar_t* name, const std::wstring& value) : name_(name) {
        SetEnvironmentVariableW(name, value.c_str());
    }
    ~ScopedEnvironment() { SetEnvironmentVariableW(name_, nullptr); }

  private:
    const wchar_t* name_;
};

}  // namespace

class Form1ResultsTest : public Form1Test {
  protected:
    void CreateFormOver(const TempFolder& folder) {
        Form1Options options;
        options.choose_folder = [&folder] { return folder.utf8_path(); };
        options.run_options.compiler = FakeCompilerPath();
        options.open_with_shell = [this](HWND owner, const std::string& path) {
            shell_.owner = owner;
            shell_.paths.push_back(path);
            return shell_.succeed;
        };
        CreateForm(std::move(options));
        Click(Form1Window::Command1);
    }

    ShellCalls shell_;
};

TEST_F(Form1ResultsTest, ADoubleClickOpensTheBookOrItsFolderOrTellsWhyItFailed) {
    TempFolder folder;
    folder.WriteFile(L"fail_story.txt", "story\r\n");  // its compiler writes no book
    folder.WriteFile(L"made.txt", "made\r\n");
    folder.WriteFile(L"old.htm", "<html><body>old</body></html>");
    folder.MakeFolder(L"old");
    folder.WriteFile(L"old\\old.chm", "made before");
    CreateFormOver(folder);
    Click(Form1Window::Command2);
    ASSERT_TRUE(PumpUntil([&] { return !form_->CompilersPending(); }, 20000));
    const HWND list = Control(Form1Window::List1);
    ASSERT_EQ(ListBoxItems(list), (std::vector<std::wstring>{L"fail_story_失败", L"made_成功", L"old_目录已存在！"}));

    DoubleClickLine(list, 1);
    ASSERT_EQ(shell_.paths.size(), 1u);
    EXPECT_EQ(shell_.paths[0], Utf8FromWide(folder.Join(L"made\\made.chm")));
    EXPECT_TRUE(folder.Exists(L"made\\made.chm"));
    EXPECT_EQ(shell_.owner, form_->window());

    DoubleClickLine(list, 2);
    ASSERT_EQ(shell_.paths.size(), 2u);
    EXPECT_EQ(shell_.paths[1], Utf8FromWide(folder.Join(L"old")));

    // The failed book: a message box like the run's, skinned and closed by Return, that says
    // why and how the source was read; the shell is not asked.
    const BookReport* failed = form_->LineReport(0);
    ASSERT_NE(failed, nullptr);
    ASSERT_FALSE(failed->reason.empty());
    {
        KeyboardAnswerer answerer(VK_RETURN);
        DoubleClickLine(list, 0);
        const KeyedDialog& box = answerer.result();
        ASSERT_TRUE(box.appeared);
        EXPECT_FALSE(box.needed_rescue) << "Return did not close the box";
        EXPECT_TRUE(box.skinned);
        EXPECT_EQ(box.buttons, 1);
        EXPECT_EQ(box.skinned_buttons, 1);
        EXPECT_EQ(box.title, L"fail_story.txt");
        EXPECT_TRUE(Contains(box.text, failed->reason)) << Utf8FromWide(box.text);
        EXPECT_TRUE(Contains(box.text, "文件编码")) << Utf8FromWide(box.text);
        EXPECT_TRUE(Contains(box.text, "找到的章节")) << Utf8FromWide(box.text);
    }
    EXPECT_EQ(shell_.paths.size(), 2u);

    // A shell that cannot open the book: the box names the book instead of nothing happening.
    shell_.succeed = false;
    KeyboardAnswerer answerer(VK_RETURN);
    DoubleClickLine(list, 1);
    ASSERT_TRUE(answerer.result().appeared);
    EXPECT_TRUE(answerer.result().skinned);
    EXPECT_TRUE(Contains(answerer.result().text, "made.chm")) << Utf8FromWide(answerer.result().text);
    EXPECT_TRUE(IsWindowEnabled(form_->window()));
}

TEST_F(Form1ResultsTest, ABookStillCompilingSaysSoAndOpensOnceMade) {
    TempFolder folder;
    TempFolder compiler_notes;
    folder.WriteFile(L"slow.txt", "slow\r\n");
    ScopedEnvironment mode(L"FOLVANE_FAKE_COMPILER_MODE", L"count");  // the book comes after 300 ms
    ScopedEnvironment notes(L"FOLVANE_FAKE_COMPILER_DIR", compiler_notes.path());
    CreateFormOver(folder);
    Click(Form1Window::Command2);
    const HWND list = Control(Form1Window::List1);
    ASSERT_TRUE(form_->CompilersPending());
    {
        KeyboardAnswerer answerer(VK_RETURN);
        DoubleClickLine(list, 0);
        ASSERT_TRUE(answerer.result().appeared);
        EXPECT_TRUE(Contains(answerer.result().text, "编译")) << Utf8FromWide(answerer.result().text);
    }
    EXPECT_TRUE(shell_.paths.empty());
    ASSERT_TRUE(PumpUntil([&] { return !form_->CompilersPending(); }, 20000));
    DoubleClickLine(list, 0);
    EXPECT_EQ(shell_.paths, std::vector<std::string>{Utf8FromWide(folder.Join(L"slow\\slow.chm"))});
}

TEST_F(Form1ResultsTest, LinesOfAnEarlierRunAreGoneWithTheirReports) {
    TempFolder first;
    first.WriteFile(L"a.txt", "a\r\n");
    TempFolder second;
    second.WriteFile(L"b.txt", "b\r\n");
    second.WriteFile(L"c.txt", "c\r\n");
    CreateFormOver(first);
    Click(Form1Window::Command2);
    ASSERT_NE(form_->LineReport(0), nullptr);
    EXPECT_EQ(form_->LineReport(0)->source, "a.txt");
    form_->SetLabelCaption(Form1Label::Label1, L"");
    SendMessageW(form_->window(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({second.path()})), 0);
    Click(Form1Window::Command2);
    ASSERT_TRUE(PumpUntil([&] { return !form_->CompilersPending(); }, 20000));
    ASSERT_NE(form_->LineReport(1), nullptr);
    EXPECT_EQ(form_->LineReport(0)->source, "b.txt");
    EXPECT_EQ(form_->LineReport(1)->source, "c.txt");
    EXPECT_EQ(form_->LineReport(2), nullptr);
    DoubleClickLine(Control(Form1Window::List1), 1);
    EXPECT_EQ(shell_.paths, std::vector<std::string>{Utf8FromWide(second.Join(L"c\\c.chm"))});
}

TEST(ResultLineAction, TheFailureMessageNamesTheReasonTheEncodingAndTheChapters) {
    BookReport report;
    report.outcome = BookOutcome::kFailed;
    report.source = "红楼梦.TXT";
    report.reason = "无法写入页面";
    report.encoding = "utf-8 (no BOM)";
    report.chapters = 120;
    const LineChoice choice = ChooseLineAction(report);
    EXPECT_EQ(choice.action, LineAction::kShowMessage);
    EXPECT_EQ(choice.title, "红楼梦.TXT");
    EXPECT_NE(choice.text.find("无法写入页面"), std::string::npos) << choice.text;
    EXPECT_NE(choice.text.find("utf-8 (no BOM)"), std::string::npos) << choice.text;
    EXPECT_NE(choice.text.find("120"), std::string::npos) << choice.text;

    // A web page has no chapters to count; a source never read has no encoding to name.
    report.source = "page.htm";
    report.encoding.clear();
    report.chapters = 0;
    const std::string page = FailureMessage(report);
    EXPECT_EQ(page.find("章节"), std::string::npos) << page;
    EXPECT_NE(page.find("未读取"), std::string::npos) << page;
}

TEST(ResultLineAction, EachOutcomeHasItsAction) {
    BookReport report;
    report.book = "C:\\books\\a\\a.chm";
    report.folder = "C:\\books\\a";
    report.outcome = BookOutcome::kStarted;
    EXPECT_EQ(ChooseLineAction(report).action, LineAction::kShowMessage);  // not compiled yet
    report.compiled = true;
    EXPECT_EQ(ChooseLineAction(report).action, LineAction::kOpenBook);
    EXPECT_EQ(ChooseLineAction(report).path, report.book);
    report.outcome = BookOutcome::kExists;
    EXPECT_EQ(ChooseLineAction(report).action, LineAction::kOpenFolder);
    EXPECT_EQ(ChooseLineAction(report).path, report.folder);
    report.outcome = BookOutcome::kNoBook;
    EXPECT_EQ(ChooseLineAction(report).action, LineAction::kNothing);
}
