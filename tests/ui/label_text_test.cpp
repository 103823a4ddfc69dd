// Line breaking of label text: blanks, Chinese text without blanks, punctuation that may not
// start or end a line, words wider than the label, line feeds.
#include <algorithm>

#include <gtest/gtest.h>

#include "ui/form_resources.h"
#include "ui/label_text.h"
#include "win/gdi_handles.h"

namespace {

class LabelTextTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dc_ = CreateCompatibleDC(nullptr);
        font_ = CreateMessageFont();
        old_ = SelectObject(dc_, font_);
    }
    void TearDown() override {
        SelectObject(dc_, old_);
        DeleteObject(font_);
        DeleteDC(dc_);
    }
    int Width(const std::wstring& text) const {
        SIZE size{};
        GetTextExtentPoint32W(dc_, text.c_str(), static_cast<int>(text.size()), &size);
        return size.cx;
    }
    HDC dc_ = nullptr;
    HFONT font_ = nullptr;
    HGDIOBJ old_ = nullptr;
};

}  // namespace

TEST(CanBreakBetween, FollowsBlanksWideCharactersAndPunctuation) {
    EXPECT_TRUE(CanBreakBetween(L' ', L'a'));
    EXPECT_FALSE(CanBreakBetween(L'a', L' '));
    EXPECT_FALSE(CanBreakBetween(L'a', L'b'));
    EXPECT_FALSE(CanBreakBetween(L'a', L','));
    EXPECT_TRUE(CanBreakBetween(L'中', L'文'));
    EXPECT_TRUE(CanBreakBetween(L'a', L'中'));
    EXPECT_TRUE(CanBreakBetween(L'中', L'a'));
    EXPECT_FALSE(CanBreakBetween(L'中', L'，'));
    EXPECT_FALSE(CanBreakBetween(L'中', L'。'));
    EXPECT_FALSE(CanBreakBetween(L'中', L'）'));
    EXPECT_FALSE(CanBreakBetween(L'中', L'”'));
    EXPECT_FALSE(CanBreakBetween(L'“', L'中'));
    EXPECT_FALSE(CanBreakBetween(L'（', L'中'));
    EXPECT_FALSE(CanBreakBetween(L'(', L'中'));
    EXPECT_TRUE(CanBreakBetween(L'。', L'第'));
}

TEST_F(LabelTextTest, ShortTextStaysOnOneLine) {
    EXPECT_EQ(WrapLabelText(dc_, L"加载12个文件", 400), std::vector<std::wstring>{L"加载12个文件"});
    EXPECT_TRUE(WrapLabelText(dc_, L"", 100).empty());
}

TEST_F(LabelTextTest, LatinTextBreaksAtBlanks) {
    const int width = std::max(Width(L"alpha beta"), Width(L"gamma delta")) + 1;
    EXPECT_EQ(WrapLabelText(dc_, L"alpha beta gamma delta", width),
              (std::vector<std::wstring>{L"alpha beta", L"gamma delta"}));
}

TEST_F(LabelTextTest, ChineseTextBreaksBetweenCharactersButNotBeforeClosingPunctuation) {
    const std::wstring text = L"第一步：点击按钮，选择要生成的文件目录。第二步：点击转换生成按钮。";
    const int width = Width(L"第一步：点击按钮") + 1;
    const std::vector<std::wstring> lines = WrapLabelText(dc_, text, width);
    ASSERT_GE(lines.size(), 3u);
    std::wstring joined;
    for (const std::wstring& line : lines) {
        EXPECT_LE(Width(line), width) << "line too wide";
        EXPECT_FALSE(line.empty());
        EXPECT_NE(line.front(), L'，');
        EXPECT_NE(line.front(), L'。');
        EXPECT_NE(line.front(), L'：');
        joined += line;
    }
    EXPECT_EQ(joined, text);
    // "按钮，" stays together: the comma cannot start the second line.
    EXPECT_EQ(lines[0], L"第一步：点击按");
}

TEST_F(LabelTextTest, AWordWiderThanTheLabelIsCut) {
    const std::wstring word = L"abcdefghijklmnopqrstuvwxyz";
    const int width = Width(L"abcdefgh");
    const std::vector<std::wstring> lines = WrapLabelText(dc_, word, width);
    ASSERT_GE(lines.size(), 3u);
    std::wstring joined;
    for (const std::wstring& line : lines) {
        EXPECT_LE(Width(line), width);
        joined += line;
    }
    EXPECT_EQ(joined, word);
    // Narrower than one character: still one character per line, never an endless loop.
    EXPECT_EQ(WrapLabelText(dc_, L"abc", 1).size(), 3u);
}

TEST_F(LabelTextTest, LineFeedsBreak) {
    EXPECT_EQ(WrapLabelText(dc_, L"one\r\ntwo\n\nthree", 400),
              (std::vector<std::wstring>{L"one", L"two", L"", L"three"}));
}

TEST_F(LabelTextTest, DrawingStaysInsideTheRectangle) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = 120;
    info.bmiHeader.biHeight = -60;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    ScopedBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    ASSERT_TRUE(bitmap);
    ScopedSelect selected(dc_, bitmap.get());
    auto* pixels = static_cast<uint32_t*>(bits);
    std::fill(pixels, pixels + 120 * 60, 0x00FFFFFFu);
    const RECT rect{10, 10, 70, 30};
    DrawLabelText(dc_, rect, L"████ ████ ████ ████ ████ ████ ████", RGB(255, 0, 0));
    GdiFlush();
    int inside = 0;
    for (int y = 0; y < 60; ++y) {
        for (int x = 0; x < 120; ++x) {
            if (pixels[y * 120 + x] == 0x00FFFFFFu)
                continue;
            const POINT point{x, y};
            ASSERT_TRUE(PtInRect(&rect, point)) << x << "," << y;
            ++inside;
        }
    }
    EXPECT_GT(inside, 0);
}
