#include "builder/project_files.h"

#include "builder/pages.h"
#include "builder/platform.h"
#include "builder/project_strings.h"

namespace {

const std::string& S(int id) {
    return ProjectString(id);
}

void AddEntry(std::vector<std::string>& lines, const std::string& name, const std::string& local) {
    lines.push_back(S(10));
    lines.push_back(S(15) + EscapeHtml(name) + S(16));
    if (!local.empty())
        lines.push_back(S(18) + EscapeHtml(local) + S(16));
    lines.push_back(S(12));
}

void AddPageEntries(std::vector<std::string>& lines, const BookPages& book) {
    for (const PageEntry& page : book.pages) {
        // Four lines a page, the layout every contents file of ours has.
        lines.push_back(S(10));
        lines.push_back(S(15) + EscapeHtml(page.title.empty() ? page.file : page.title) + S(16));
        lines.push_back(S(18) + EscapeHtml(page.file) + S(16));
        lines.push_back(S(12));
    }
}

std::string ChapterLocal(const ChapterEntry& chapter) {
    return chapter.file + "#" + chapter.anchor;
}

void AddChapterTree(std::vector<std::string>& lines, const BookPages& book) {
    if (book.text_before_first_chapter && !book.pages.empty())
        AddEntry(lines, kBeforeChaptersName, book.pages.front().file);
    bool in_volume = false;
    for (const ChapterEntry& chapter : book.chapters) {
        if (in_volume && (chapter.kind == HeadingKind::kVolume || chapter.after_volumes)) {
            lines.push_back(S(20));
            in_volume = false;
        }
        AddEntry(lines, chapter.title, ChapterLocal(chapter));
        if (chapter.kind == HeadingKind::kVolume) {
            lines.push_back(S(9));
            in_volume = true;
        }
    }
    if (in_volume)
        lines.push_back(S(20));
    AddEntry(lines, kPagesFolderName, "");
    lines.push_back(S(9));
    AddPageEntries(lines, book);
    lines.push_back(S(20));
}

// The window definition: the title in quotation marks, then the usual fields with the first page
// as default and home page. Quotation marks cannot be escaped there.
std::string WindowLine(const std::string& title, const std::string& first_page) {
    std::string safe_title = title;
    for (char& c : safe_title) {
        if (c == '"')
            c = '\'';
    }
    std::string fields = S(32);
    const std::string index = "\"chm_hhk.hhk\"";
    const size_t after_index = fields.find(index) + index.size();
    fields.replace(after_index, 3, ",\"" + first_page + "\",\"" + first_page + "\",");
    return S(35) + "\"" + safe_title + "\"" + fields;
}

StepResult WriteLines(const std::string& folder, const char* file_name, const std::vector<std::string>& lines) {
    std::string text;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            text += "\r\n";
        text += lines[i];
    }
    text += "\r\n";
    const std::string path = platform::JoinPath(folder, file_name);
    if (!platform::WriteNewFile(path, platform::EncodeCp936(text)))
        return {StepResult::kFailed, std::string("无法写入 ") + file_name + "：" + platform::LastErrorText()};
    return {};
}

}  // namespace

std::string BookName(const std::string& base_name) {
    return base_name.empty() ? "chm文件" : base_name;
}

std::vector<std::string> ContentsLines(const BookPages& book) {
    std::vector<std::string> lines;
    for (int id : {1, 2, 3, 4, 5, 6, 7, 8, 12, 9, 10, 11, 12, 13})
        lines.push_back(S(id));
    if (book.chapters.size() >= 2)
        AddChapterTree(lines, book);
    else
        AddPageEntries(lines, book);
    for (const std::string& line : {std::string(), S(20), S(10), S(19), std::string(), S(17), S(12), S(20), S(14)})
        lines.push_back(line);
    return lines;
}

std::vector<std::string> IndexLines(const BookPages& book) {
    std::vector<std::string> lines;
    for (int id : {2, 3, 4, 5, 6, 9})
        lines.push_back(S(id));
    AddPageEntries(lines, book);
    for (const ChapterEntry& chapter : book.chapters)
        AddEntry(lines, chapter.title, ChapterLocal(chapter));
    for (const std::string& line : {std::string(), S(20), S(14)})
        lines.push_back(line);
    return lines;
}

std::vector<std::string> ProjectLines(const BookPages& book, const ProjectSettings& settings) {
    const std::string first_page = book.pages.empty() ? "" : book.pages.front().file;
    std::vector<std::string> lines = {
        S(22),
        S(23),
        S(24) + settings.compiled_file,
        S(25),
        S(26),
        "Default topic=" + first_page,
        S(28),
        S(29),
        S(30),
        // The compilers' binary index garbles Chinese keywords; the viewers read the index file.
        "Binary Index=No",
        "Title=" + settings.title,
        S(31),
        WindowLine(settings.title, first_page),
        S(33),
    };
    for (const PageEntry& page : book.pages)
        lines.push_back(page.file);
    lines.push_back(S(34));
    lines.emplace_back();
    lines.emplace_back();
    return lines;
}

StepResult WriteContentsFile(const std::string& folder, const BookPages& book) {
    return WriteLines(folder, kContentsFileName, ContentsLines(book));
}

StepResult WriteIndexFile(const std::string& folder, const BookPages& book) {
    return WriteLines(folder, kIndexFileName, IndexLines(book));
}

StepResult WriteProjectFile(const std::string& folder, const BookPages& book, const ProjectSettings& settings) {
    return WriteLines(folder, kProjectFileName, ProjectLines(book, settings));
}
