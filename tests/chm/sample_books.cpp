// Writes the sample books the viewer screenshots show and compiles them with the library:
//   chm_sample_books FOLDER   ->   FOLDER/<book>/<book>.chm for each book, one path per line
#include <cstdio>
#include <string>
#include <vector>

#include "builder/platform.h"
#include "tests/chm/chm_test_support.h"

namespace {

std::string Chapter(const std::string& title, int lines) {
    std::string text = "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\"><title>" +
                       title + "</title></head>\r\n<body><h2>" + title + "</h2>\r\n";
    const char* verses[] = {"床前明月光，疑是地上霜。", "举头望明月，低头思故乡。", "春眠不觉晓，处处闻啼鸟。",
                            "夜来风雨声，花落知多少。"};
    for (int i = 0; i < lines; ++i)
        text += "<p>第" + std::to_string(i + 1) + "行　" + verses[i % 4] + "</p>\r\n";
    return text + "<a name=\"ch12\"></a><h3>第十二节</h3><p>锚点在这里。</p></body></html>\r\n";
}

// The same book twice: page names in Chinese (as the builder names them after the source file),
// and in ASCII, for viewers that cannot open pages with other names.
std::vector<chm_test::TestBook> Books() {
    std::vector<chm_test::TestBook> books(3);
    const char* titles[] = {"第一章 \"静夜思\"", "第二章 春晓", "第三章 明月", "后记"};
    const int depths[] = {0, 1, 1, 0};
    books[0].name = "唐诗选";
    books[1].name = "tangshi";
    for (int i = 0; i < 4; ++i) {
        const std::string n = std::to_string(i + 1);
        books[0].pages.push_back(
            {"唐诗选_" + n + ".htm", titles[i], Chapter(titles[i], 40), depths[i], i == 2 ? "#ch12" : ""});
        books[1].pages.push_back({"tangshi_" + n + ".htm", titles[i], Chapter(titles[i], 40), depths[i]});
    }
    books[2].name = "한국어책😀";
    books[2].pages = {{"한국어책😀_1.htm", "한국어 제목 😀", Chapter("한국어 제목 😀", 20)},
                      {"한국어책😀_2.htm", "둘째 장", Chapter("둘째 장", 20)}};
    return books;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: chm_sample_books FOLDER\n");
        return 2;
    }
    platform::CreateFolder(argv[1]);
    for (const chm_test::TestBook& book : Books()) {
        const std::string folder = platform::JoinPath(argv[1], book.name);
        if (!chm_test::WriteTestBook(folder, book)) {
            std::fprintf(stderr, "cannot write %s\n", folder.c_str());
            return 1;
        }
        const chm::CompileResult result = chm_test::CompileFolder(folder, book.name + ".chm");
        if (!result.ok) {
            std::fprintf(stderr, "%s: %s\n", book.name.c_str(), result.reason.c_str());
            return 1;
        }
        std::printf("%s\n", platform::JoinPath(folder, book.name + ".chm").c_str());
    }
    return 0;
}
