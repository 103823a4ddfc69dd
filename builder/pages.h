// Making the pages of a book from the pieces of its source, and reading a page's title.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "builder/chapters.h"

// A line equal to this marks a piece that is a page already: it is written as it is.
inline constexpr std::string_view kPageMarker = "<!123456-->";

// One piece of a source and what its page needs to know.
struct PageRequest {
    std::string_view piece;  // code page 936 bytes, or UTF-8 when `utf8`
    bool utf8 = false;
    // A .txt source: lines escaped and ended by <br>, a head and tail of our own, headings.
    bool text_source = false;
    std::string_view head;  // the page head and tail the front-end gives (UTF-8)
    std::string_view tail;

    // .txt pages
    std::string_view book_name;  // UTF-8, for the page's title
    int page_number = 1;
    bool starts_mid_line = false;    // the piece begins inside a line that the page before began
    std::string_view cut_line_rest;  // UTF-8: how the line cut at the piece's end goes on
    int first_anchor = 1;            // the number of the page's first heading anchor

    // .htm pages: the first page keeps a charset declaration of its own where it has one.
    bool first_page = true;
};

struct PageHeading {
    HeadingKind kind = HeadingKind::kChapter;
    bool after_volumes = false;  // an epilogue or afterword: listed after the volumes, not in one
    std::string text;            // UTF-8, the heading line trimmed
    std::string anchor;          // the name of its anchor in the page
};

struct Page {
    // The page as the file holds it (code page 936, CR LF) is `head`, `body` and `tail` one after
    // the other. Only a text page made from code page 936 bytes has a body: its lines stay in
    // MakePage's scratch, valid until the next call; every other page is whole in `head`.
    std::string head;
    std::string_view body;
    std::string tail;
    std::string title;  // UTF-8
    std::vector<PageHeading> headings;
    // A .txt page holds text that is not blank before its first heading (or anywhere, when it
    // has none).
    bool text_before_headings = false;

    std::array<std::string_view, 3> Parts() const { return {head, body, tail}; }
    std::string Text() const { return head + std::string(body) + tail; }
};

// Makes the page of one piece. A .txt page is our head (with charset, title and style), the
// piece's lines each escaped and ended by "<br>" (a heading line shown as a heading, with an
// anchor), and our tail. An .htm page is the piece's lines unchanged except for its charset
// declarations, which name what the page is written in. A piece with a line equal to
// kPageMarker is a page already and only gets its line end. `scratch` is reused between calls.
void MakePage(const PageRequest& request, Page& page, std::string& scratch);

// The title: the text between "<title>" and "</title>" (found ignoring letter case) on the first
// line that holds "<title>", decoded from code page 936 and its character references, as plain
// text; "" when there is none.
std::string PageTitleOf(std::string_view page);
// The text after the first occurrence of `first`, cut before the next occurrence of `first`
// or of `second`. "" when `first` does not occur.
std::string ExtractBetween(std::string_view text,
                           std::string_view first,
                           std::string_view second,
                           bool ignore_case = false);
// Escapes "&", "<", ">" and the quotation mark for HTML text and attribute values.
std::string EscapeHtml(std::string_view text);
