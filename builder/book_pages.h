// Cutting a source into pieces and writing each as a page of the book.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "builder/chapters.h"
#include "builder/run_controls.h"
#include "builder/source_encoding.h"

struct PageEntry {
    std::string file;   // the page's file name
    std::string title;  // UTF-8; "" when the page has none
};

struct ChapterEntry {
    HeadingKind kind = HeadingKind::kChapter;
    bool after_volumes = false;  // an epilogue or afterword: listed after the volumes
    std::string title;           // UTF-8
    std::string file;            // the page that holds its line
    std::string anchor;
};

// What the contents and index files are made from.
struct BookPages {
    std::vector<PageEntry> pages;
    std::vector<ChapterEntry> chapters;
    bool text_before_first_chapter = false;
    bool four_byte_chars = false;  // the GB18030 source holds four-byte sequences
};

class SourceText;

struct PageSource {
    SourceText* text = nullptr;
    uint64_t begin = 0;  // where the text starts, after any byte-order mark
    SourceEncoding encoding = SourceEncoding::kGb18030;
    bool text_source = false;  // a .txt source
    std::string book_name;     // UTF-8, for the pages' titles
    std::string page_base;     // page k of n is page_base "_" k (zero-padded to the digits of n) ".htm"
    std::string head;          // page head and tail from the front-end (UTF-8)
    std::string tail;
};

struct StepResult {
    enum Status { kDone, kFailed, kStopped } status = kDone;
    std::string reason;  // for people, when it failed
};

// The name of page k of n.
std::string PageFileName(const std::string& base, size_t k, size_t n);

// Writes the pages of `source` into `folder`, pieces of `piece_chars` characters each: piece k
// holds characters (k-1)*B+1 .. min(k*B, L). Every file is created new. Yields once per page and
// tells the front-end how far it is. The text is read once, a piece at a time; the pages are
// numbered for the count the first piece predicts, and renamed at the end if that was wrong.
StepResult WriteBookPages(const PageSource& source,
                          size_t piece_chars,
                          const std::string& folder,
                          RunControls& controls,
                          BookPages& book);
