// Choosing a folder: File1 lists the folder's .txt, .htm and .html files by the builder's
// rules, Label10 shows the count, and the real folder chooser can be cancelled or outlived.
#include "tests/ui/ui_test_support.h"
#include "win/wide_text.h"

namespace {

std::string Chosen(const TempFolder& folder) {
    return folder.utf8_path();
}

}  // namespace

TEST_F(Form1Test, AnEmptyFolderPathListsNothing) {
    TempFolder current;
    current.WriteFile(L"here.txt", "text");
    wchar_t previous[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, previous);
    SetCurrentDirectoryW(current.path().c_str());
    CreateForm([] { return std::string(); });
    EXPECT_EQ(form_->File1().Path(), "");
    EXPECT_EQ(form_->File1().ListCount(), 0);
    Click(Form1Window::Command1);
    SetCurrentDirectoryW(previous);
    EXPECT_EQ(form_->File1().ListCount(), 0);
    EXPECT_TRUE(ListBoxItems(Control(Form1Window::File1)).empty());
    EXPECT_EQ(Label(Form1Label::Label10), "加载0个文件");
}

TEST_F(Form1Test, ChoosingAFolderListsItsSourceFilesAndCountsThem) {
    TempFolder folder;
    folder.WriteFile(L"b.txt", "b");
    folder.WriteFile(L"A.htm", "a");
    folder.WriteFile(L"c.HTML", "c");
    folder.WriteFile(L"d.doc", "d");
    folder.WriteFile(L"e.txt.bak", "e");
    folder.MakeFolder(L"f.txt");
    folder.WriteFile(L"g.TXT", "g");
    folder.WriteFile(L"h.txt", "h", FILE_ATTRIBUTE_HIDDEN);
    folder.WriteFile(L"i.txt", "i", FILE_ATTRIBUTE_SYSTEM);
    CreateForm([&] { return Chosen(folder); });
    Click(Form1Window::Command1);
    EXPECT_EQ(form_->File1().Path(), folder.utf8_path());
    const std::vector<std::wstring> expected = {L"A.htm", L"b.txt", L"c.HTML", L"g.TXT"};
    EXPECT_EQ(ListBoxItems(Control(Form1Window::File1)), expected);
    ASSERT_EQ(form_->File1().ListCount(), 4);
    EXPECT_EQ(form_->File1().List(0), "A.htm");
    EXPECT_EQ(form_->File1().List(4), "");
    EXPECT_EQ(Label(Form1Label::Label10), "加载4个文件");
}

TEST_F(Form1Test, FoldersWithoutSourceFilesCountZero) {
    TempFolder empty;
    TempFolder others;
    others.MakeFolder(L"sub.txt");
    others.MakeFolder(L"pages");
    others.WriteFile(L"notes.doc", "x");
    others.WriteFile(L"picture.png", "x");
    std::string next = Chosen(empty);
    CreateForm([&] { return next; });
    Click(Form1Window::Command1);
    EXPECT_EQ(Label(Form1Label::Label10), "加载0个文件");
    next = Chosen(others);
    Click(Form1Window::Command1);
    EXPECT_EQ(Label(Form1Label::Label10), "加载0个文件");
    EXPECT_TRUE(ListBoxItems(Control(Form1Window::File1)).empty());
}

TEST_F(Form1Test, NamesOutsideTheChineseCodePageSurvive) {
    TempFolder folder;
    ASSERT_TRUE(CreateDirectoryW(folder.Join(L"한국어 폴더").c_str(), nullptr));
    const std::wstring inner = folder.Join(L"한국어 폴더");
    HANDLE file = CreateFileW((inner + L"\\책 ü.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);
    CreateForm([&] { return Utf8FromWide(inner); });
    Click(Form1Window::Command1);
    EXPECT_EQ(ListBoxItems(Control(Form1Window::File1)), std::vector<std::wstring>{L"책 ü.txt"});
    EXPECT_EQ(Label(Form1Label::Label10), "加载1个文件");
}

TEST_F(Form1Test, CancellingTwiceKeepsTheWindowWorking) {
    TempFolder folder;
    folder.WriteFile(L"a.txt", "a");
    std::string next = Chosen(folder);
    CreateForm([&] { return next; });
    Click(Form1Window::Command1);
    EXPECT_EQ(Label(Form1Label::Label10), "加载1个文件");
    next.clear();
    Click(Form1Window::Command1);
    EXPECT_EQ(Label(Form1Label::Label10), "加载0个文件");
    EXPECT_TRUE(ListBoxItems(Control(Form1Window::File1)).empty());
    Click(Form1Window::Command1);
    EXPECT_EQ(Label(Form1Label::Label10), "加载0个文件");
    EXPECT_TRUE(IsWindowEnabled(form_->window()));
}

TEST_F(Form1Test, TheRealFolderChooserHasNoOwnerAndCanBeCancelled) {
    CreateForm();  // the shell's own chooser
    DialogAnswerer answerer(IDCANCEL);
    Click(Form1Window::Command1);
    ASSERT_EQ(answerer.seen().size(), 1u);
    EXPECT_EQ(answerer.seen()[0].owner, nullptr);
    EXPECT_TRUE(IsWindowEnabled(form_->window())) << "the chooser must not disable the main window";
    EXPECT_EQ(Label(Form1Label::Label10), "加载0个文件");
    EXPECT_EQ(form_->File1().Path(), "");
}

TEST_F(Form1Test, ClosingTheMainWindowWhileTheChooserIsOpenEndsCleanly) {
    CreateForm();
    bool closed_first = false;
    DialogAnswerer answerer(IDCANCEL, [&](HWND) {
        SendMessageW(form_->window(), WM_CLOSE, 0, 0);
        closed_first = form_->window() == nullptr;
    });
    Click(Form1Window::Command1);
    EXPECT_TRUE(closed_first);
    EXPECT_EQ(form_->window(), nullptr);
    EXPECT_TRUE(form_->LabelCaption(Form1Label::Label10).empty()) << "no label update after the window is gone";
    PumpFor(10);
    EXPECT_TRUE(TakeQuitMessage()) << "closing the main window ends the program";
}

TEST_F(Form1Test, AFolderDroppedOnTheWindowIsTakenAsIfChosen) {
    TempFolder folder;
    folder.WriteFile(L"a.txt", "a\r\n");
    folder.WriteFile(L"b.htm", "<p>b</p>");
    folder.WriteFile(L"c.doc", "c");
    TempFolder other;
    other.WriteFile(L"x.txt", "x\r\n");
    int chooser_opened = 0;
    CreateForm(
        [&] {
            ++chooser_opened;
            return std::string();
        },
        FakeCompilerPath());
    EXPECT_NE(GetWindowLongPtrW(form_->window(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES, 0) << "drops are refused";

    // A file and a folder: the folder is taken.
    SendMessageW(form_->window(), WM_DROPFILES,
                 reinterpret_cast<WPARAM>(MakeDrop({other.Join(L"x.txt"), folder.path()})), 0);
    EXPECT_EQ(form_->File1().Path(), Chosen(folder));
    EXPECT_EQ(ListBoxItems(Control(Form1Window::File1)), (std::vector<std::wstring>{L"a.txt", L"b.htm"}));
    EXPECT_EQ(Label(Form1Label::Label10), "加载2个文件");
    Click(Form1Window::Command2);
    EXPECT_EQ(ListBoxItems(Control(Form1Window::List1)), (std::vector<std::wstring>{L"a_成功", L"b_成功"}));

    // Files alone: the folder that holds them.
    SendMessageW(form_->window(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({other.Join(L"x.txt")})), 0);
    EXPECT_EQ(form_->File1().Path(), Chosen(other));
    EXPECT_EQ(Label(Form1Label::Label10), "加载1个文件");

    // Nothing that exists: nothing changes.
    SendMessageW(form_->window(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({other.Join(L"gone")})), 0);
    EXPECT_EQ(form_->File1().Path(), Chosen(other));
    EXPECT_EQ(chooser_opened, 0);
}
