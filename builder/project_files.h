// The contents, index and project files that the help compiler reads, written beside the
// pages in the book's folder.
#pragma once

#include <string>
#include <vector>

#include "builder/book_pages.h"

inline constexpr char kContentsFileName[] = "chm_hhc.hhc";
inline constexpr char kIndexFileName[] = "chm_hhk.hhk";
inline constexpr char kProjectFileName[] = "chm_hhp.hhp";
// The folder of the page entries in the contents of a book with chapters.
inline constexpr char kPagesFolderName[] = "分页";
// The contents entry of the text before a book's first chapter.
inline constexpr char kBeforeChaptersName[] = "正文前";

// The book name: the base name, or "chm文件" when the base name is empty.
std::string BookName(const std::string& base_name);

struct ProjectSettings {
    std::string title;          // the book's title (UTF-8)
    std::string compiled_file;  // what "Compiled file=" names: the book's file name, or a stand-in
};

// The lines of each file (UTF-8), as they are joined with CR LF and written. Exposed for tests.
// A book with two or more chapters lists them in the contents, volumes as folders, before a
// folder with the pages; otherwise the contents list the pages.
std::vector<std::string> ContentsLines(const BookPages& book);
std::vector<std::string> IndexLines(const BookPages& book);
std::vector<std::string> ProjectLines(const BookPages& book, const ProjectSettings& settings);

// Each writes its file new into `folder`, in code page 936.
StepResult WriteContentsFile(const std::string& folder, const BookPages& book);
StepResult WriteIndexFile(const std::string& folder, const BookPages& book);
StepResult WriteProjectFile(const std::string& folder, const BookPages& book, const ProjectSettings& settings);
