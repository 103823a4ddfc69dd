// Reading what the builder writes: character references, the project file and the sitemaps.
#include <gtest/gtest.h>

#include "chm/project_file.h"
#include "chm/sitemap.h"
#include "chm/text_refs.h"

namespace {

TEST(TextRefsTest, NumericReferencesBecomeCharactersAndBrokenOnesStay) {
    EXPECT_EQ(chm::DecodeCharRefs("&#54620;&#xAD6D;_&#128512;.htm"), "한국_😀.htm");
    EXPECT_EQ(chm::DecodeCharRefs("a&#;b&#12x;&#xD800;&#1114112;&#65"), "a&#;b&#12x;&#xD800;&#1114112;&#65");
    // A name keeps named entities: only the builder's numeric references are decoded.
    EXPECT_EQ(chm::DecodeCharRefs("a&amp;b&quot;"), "a&amp;b&quot;");
    EXPECT_EQ(chm::DecodeHtmlText("第一章 &quot;开端&quot; &lt;&amp;&gt;&#39;&nbsp;"), "第一章 \"开端\" <&>'\xC2\xA0");
    EXPECT_EQ(chm::DecodeHtmlText("&quot"), "&quot");
}

TEST(TextRefsTest, Utf8OfEveryLength) {
    std::string out;
    for (uint32_t cp : {0x41u, 0xE9u, 0x4E2Du, 0x1F600u})
        chm::AppendUtf8(out, cp);
    EXPECT_EQ(out, "Aé中😀");
}

constexpr char kBuilderProject[] =
    "[OPTIONS]\r\n"
    "Compatibility=1.1 or later\r\n"
    "Compiled file=book.chm\r\n"
    "Contents file=chm_hhc.hhc\r\n"
    "Default Window=chm_window\r\n"
    "Default topic=book_1.htm\r\n"
    "Display compile progress=No\r\n"
    "Index file=chm_hhk.hhk\r\n"
    "Language=0x804 中文(中国)\r\n"
    "Binary Index=No\r\n"
    "Title=book &#54620;\r\n"
    "[WINDOWS]\r\n"
    "chm_window=\"book\",\"chm_hhc.hhc\",\"chm_hhk.hhk\",\"book_1.htm\",\"book_1.htm\",,,,,0x2120,,0x8380e,"
    "[28,28,1020,720],,,,,,,\r\n"
    "[FILES]\r\n"
    "book_1.htm\r\n"
    "; a comment\r\n"
    "\r\n"
    "  &#54620;국_2.htm  \r\n"
    "[INFOTYPES]\r\n";

TEST(ProjectFileTest, ReadsTheBuilderProject) {
    const chm::ProjectFile project = chm::ParseProjectFile(kBuilderProject);
    EXPECT_EQ(project.Option("compiled FILE"), "book.chm");
    EXPECT_EQ(project.Option("Default topic"), "book_1.htm");
    EXPECT_EQ(project.Option("Title"), "book &#54620;");  // decoded by whoever knows it is a title
    EXPECT_EQ(project.Option("Full-text search"), "");
    EXPECT_EQ(chm::LanguageId(project.Option("Language"), 0), 0x804u);
    ASSERT_TRUE(project.has_files_section);
    EXPECT_EQ(project.files, (std::vector<std::string>{"book_1.htm", "한국_2.htm"}));

    ASSERT_EQ(project.windows.size(), 1u);
    const chm::WindowDefinition* w = project.FindWindow("CHM_WINDOW");
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->caption, "book");
    EXPECT_EQ(w->contents_file, "chm_hhc.hhc");
    EXPECT_EQ(w->index_file, "chm_hhk.hhk");
    EXPECT_EQ(w->default_file, "book_1.htm");
    EXPECT_EQ(w->home_file, "book_1.htm");
    EXPECT_EQ(w->properties, 0x2120u);
    EXPECT_FALSE(w->nav_width.has_value());
    EXPECT_EQ(w->toolbar_flags, 0x8380eu);
    ASSERT_TRUE(w->position.has_value());
    EXPECT_EQ(*w->position, (std::array<int32_t, 4>{28, 28, 1020, 720}));
    EXPECT_FALSE(w->styles.has_value());
    EXPECT_FALSE(w->notify_id.has_value());
}

TEST(ProjectFileTest, UnquotedCaptionsQuotedCommasAndShortLines) {
    const chm::ProjectFile project = chm::ParseProjectFile(
        "[WINDOWS]\nw=long,\"a,b.hhc\",,\"x &quot;y&quot;.htm\",,,,,,0x20,200\nother=\"He said &quot;hi&quot;\"\n");
    ASSERT_EQ(project.windows.size(), 2u);
    EXPECT_EQ(project.windows[0].caption, "long");
    EXPECT_EQ(project.windows[0].contents_file, "a,b.hhc");
    EXPECT_EQ(project.windows[0].default_file, "x &quot;y&quot;.htm");
    EXPECT_EQ(project.windows[0].nav_width, 200u);
    EXPECT_FALSE(project.windows[0].toolbar_flags.has_value());
    EXPECT_EQ(project.windows[1].caption, "He said \"hi\"");
    EXPECT_FALSE(project.has_files_section);
}

TEST(ProjectFileTest, Numbers) {
    EXPECT_EQ(chm::ParseProjectNumber("0x8380E"), 0x8380E);
    EXPECT_EQ(chm::ParseProjectNumber("-12"), -12);
    EXPECT_FALSE(chm::ParseProjectNumber("12a").has_value());
    EXPECT_FALSE(chm::ParseProjectNumber("").has_value());
    EXPECT_EQ(chm::LanguageId("1033", 7), 0x409u);
    EXPECT_EQ(chm::LanguageId("中文", 7), 7u);
    EXPECT_EQ(chm::LanguageId("", 0x804), 0x804u);
}

TEST(SitemapTest, VolumesAnchorsQuotesAndProperties) {
    const chm::Sitemap map = chm::ParseSitemap(
        "<HTML><!-- <OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"commented out\"></OBJECT> -->\r\n"
        "<OBJECT type=\"text/site properties\"><param name=\"ImageType\" value=\"Folder\"></OBJECT>\r\n"
        "<UL>\r\n"
        "<LI> <OBJECT type=\"text/sitemap\">\r\n"
        "<param name=\"Name\" value=\"第一卷 &quot;风&quot;\">\r\n"
        "</OBJECT>\r\n"
        "<UL> ;32\r\n"
        "<LI> <object TYPE='text/sitemap'><PARAM NAME=name VALUE=\"第3章\"><param name=\"Local\" "
        "value=\"book_3.htm#ch12\"><param name=\"Local\" value=\"other.htm\"></object>\r\n"
        "</UL>\r\n"
        "<LI> <OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"&#54620;\"><param name=\"Local\" "
        "value=\"&#54620;_1.htm\"></OBJECT>\r\n"
        "</UL></HTML>");
    EXPECT_TRUE(map.folder_images);
    ASSERT_EQ(map.entries.size(), 3u);
    EXPECT_EQ(map.entries[0].name, "第一卷 \"风\"");
    EXPECT_EQ(map.entries[0].local, "");
    EXPECT_EQ(map.entries[0].depth, 1);
    EXPECT_EQ(map.entries[1].name, "第3章");
    EXPECT_EQ(map.entries[1].local, "book_3.htm#ch12");
    EXPECT_EQ(map.entries[1].depth, 2);
    EXPECT_EQ(map.entries[2].local, "한_1.htm");
    EXPECT_EQ(map.entries[2].depth, 1);
    EXPECT_EQ(chm::LocalPage(map.entries[1].local), "book_3.htm");
    EXPECT_EQ(chm::LocalPage("sub\\p.htm?x=1#a"), "sub/p.htm");
}

TEST(SitemapTest, BrokenInputEndsQuietly) {
    EXPECT_TRUE(chm::ParseSitemap("<OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"x").entries.empty());
    EXPECT_TRUE(chm::ParseSitemap("<").entries.empty());
    EXPECT_TRUE(chm::ParseSitemap("</UL></UL><UL").entries.empty());
}

}  // namespace
