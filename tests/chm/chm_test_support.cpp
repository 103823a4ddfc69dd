#include "tests/chm/chm_test_support.h"

#include "builder/platform.h"

namespace chm_test {

namespace {

// The length of the UTF-8 sequence that starts with `lead`.
size_t SequenceLength(unsigned char lead) {
    return lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
}

std::string EscapeAttribute(const std::string& utf8) {
    std::string out;
    for (char c : utf8) {
        if (c == '"')
            out += "&quot;";
        else if (c == '&')
            out += "&amp;";
        else
            out.push_back(c);
    }
    return out;
}

std::string Lines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    return Cp936WithRefs(text);
}

}  // namespace

bool FolderSource::Read(const std::string& name, std::string& bytes, std::string& error) {
    ++reads_;
    if (!platform::ReadFileBytes(platform::JoinPath(folder_, name), bytes)) {
        error = "文件不存在或无法打开";
        return false;
    }
    return true;
}

bool MemorySource::Read(const std::string& name, std::string& bytes, std::string& error) {
    ++reads[name];
    if (cancel_at_read && ++total_reads_ == cancel_read_number)
        cancel_at_read->store(true);
    auto it = files.find(name);
    if (it == files.end()) {
        error = "没有这个文件";
        return false;
    }
    bytes = it->second;
    return true;
}

std::string Cp936Codec::ToUtf8(std::string_view cp936) {
    return platform::DecodeCp936(cp936);
}

std::string Cp936Codec::FromUtf8(std::string_view utf8) {
    // The builder's conversion writes &#N; for what code page 936 lacks; the compiler's caller
    // promises '?', so convert one character at a time.
    std::string out;
    size_t i = 0;
    while (i < utf8.size()) {
        const size_t n = std::min(SequenceLength(static_cast<unsigned char>(utf8[i])), utf8.size() - i);
        const std::string_view one = utf8.substr(i, n);
        const std::string encoded = platform::EncodeCp936(one);
        out += (one != "&" && encoded.size() > 2 && encoded.compare(0, 2, "&#") == 0) ? "?" : encoded;
        i += n;
    }
    return out;
}

std::string Cp936WithRefs(const std::string& utf8) {
    return platform::EncodeCp936(utf8);
}

std::string PageBytes(const TestPage& page) {
    return Cp936WithRefs(page.text);
}

TestBook ThousandPageBook(const std::string& name) {
    TestBook book;
    book.name = name;
    for (int i = 1; i <= 1000; ++i) {
        const std::string n = std::to_string(i);
        book.pages.push_back({name + "_" + n + ".htm", "第" + n + "页", "<p>第" + n + "页</p>\r\n"});
    }
    return book;
}

bool WriteTestBook(const std::string& folder, const TestBook& book) {
    platform::CreateFolder(folder);
    for (const TestPage& page : book.pages) {
        if (!platform::WriteFileBytes(platform::JoinPath(folder, page.file_name), PageBytes(page)))
            return false;
    }
    auto entry = [](std::vector<std::string>& lines, const std::string& name, const std::string& local) {
        lines.push_back("<LI> <OBJECT type=\"text/sitemap\">");
        lines.push_back("<param name=\"Name\" value=\"" + EscapeAttribute(name) + "\">");
        if (!local.empty())
            lines.push_back("<param name=\"Local\" value=\"" + local + "\">");
        lines.push_back("</OBJECT>");
    };

    std::vector<std::string> hhc = {"<!DOCTYPE HTML PUBLIC \"-//IETF//DTD HTML//EN\">",
                                    "<HTML>",
                                    "<HEAD>",
                                    "<meta name=\"GENERATOR\" content=\"Microsoft&reg; HTML Help Workshop 4.1\">",
                                    "<!-- Sitemap 1.0 -->",
                                    "</HEAD><BODY>",
                                    "<OBJECT type=\"text/site properties\">",
                                    "<param name=\"ImageType\" value=\"Folder\">",
                                    "</OBJECT>",
                                    "<UL>"};
    int depth = 0;
    for (const TestPage& page : book.pages) {
        for (; depth < page.depth; ++depth)
            hhc.push_back("<UL>");
        for (; depth > page.depth; --depth)
            hhc.push_back("</UL>");
        entry(hhc, page.title, page.file_name + page.anchor);
    }
    for (; depth > 0; --depth)
        hhc.push_back("</UL>");
    hhc.push_back("</UL>");
    hhc.push_back("</BODY></HTML>");

    std::vector<std::string> hhk = {"<HTML>", "<HEAD>", "<!-- Sitemap 1.0 -->", "</HEAD><BODY>", "<UL>"};
    for (const TestPage& page : book.pages)
        entry(hhk, page.title, page.file_name);
    hhk.push_back("</UL>");
    hhk.push_back("</BODY></HTML>");

    const std::string first = book.pages.empty() ? "" : book.pages.front().file_name;
    std::vector<std::string> hhp = {
        "[OPTIONS]",
        "Compatibility=1.1 or later",
        "Compiled file=" + book.name + ".chm",
        "Contents file=chm_hhc.hhc",
        "Default Window=chm_window",
        "Default topic=" + first,
        "Display compile progress=No",
        "Index file=chm_hhk.hhk",
        "Language=0x804 中文(中国)",
        "Binary Index=No",
        "Title=" + book.name,
        "[WINDOWS]",
        "chm_window=\"" + book.name + "\",\"chm_hhc.hhc\",\"chm_hhk.hhk\",\"" + first + "\",\"" + first +
            "\",,,,,0x2120,,0x8380e,[28,28,1020,720],,,,,,,",
        "[FILES]",
    };
    for (const TestPage& page : book.pages)
        hhp.push_back(page.file_name);
    hhp.push_back("[INFOTYPES]");

    return (!book.write_contents || platform::WriteFileBytes(platform::JoinPath(folder, "chm_hhc.hhc"), Lines(hhc))) &&
           (!book.write_index || platform::WriteFileBytes(platform::JoinPath(folder, "chm_hhk.hhk"), Lines(hhk))) &&
           platform::WriteFileBytes(platform::JoinPath(folder, "chm_hhp.hhp"), Lines(hhp));
}

chm::CompileResult CompileFolder(const std::string& folder,
                                 const std::string& book_file,
                                 const chm::CompileSettings& settings) {
    FolderSource source(folder);
    Cp936Codec codec;
    StringSink sink;
    chm::CompileResult result = chm::CompileProject("chm_hhp.hhp", source, codec, sink, nullptr, settings);
    if (result.ok && !platform::WriteFileBytes(platform::JoinPath(folder, book_file), sink.data))
        return {false, "cannot write " + book_file};
    return result;
}

uint32_t Le32(const std::string& bytes, size_t at) {
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(bytes.at(at + i));
    return value;
}

namespace {

uint64_t Le64(const std::string& bytes, size_t at) {
    return Le32(bytes, at) | static_cast<uint64_t>(Le32(bytes, at + 4)) << 32;
}

uint64_t EncInt(const std::string& bytes, size_t& pos) {
    uint64_t value = 0;
    unsigned char c;
    do {
        c = static_cast<unsigned char>(bytes.at(pos++));
        value = (value << 7) | (c & 0x7F);
    } while (c & 0x80);
    return value;
}

}  // namespace

BookDirectory ReadBookDirectory(const std::string& book) {
    BookDirectory d;
    if (book.size() < 0x78 || book.compare(0, 4, "ITSF") != 0) {
        d.error = "no ITSF header";
        return d;
    }
    const uint64_t directory = Le64(book, 0x48);
    d.content_offset = Le64(book, 0x58);
    if (book.compare(directory, 4, "ITSP") != 0) {
        d.error = "no ITSP header";
        return d;
    }
    d.chunk_size = Le32(book, directory + 0x10);
    d.depth = Le32(book, directory + 0x18);
    d.root = static_cast<int32_t>(Le32(book, directory + 0x1C));
    d.chunk_count = Le32(book, directory + 0x2C);
    const uint64_t chunks = directory + Le32(book, directory + 8);
    int32_t chunk = static_cast<int32_t>(Le32(book, directory + 0x20));
    int visited = 0;
    while (chunk != -1 && visited++ <= static_cast<int>(d.chunk_count)) {
        const uint64_t start = chunks + static_cast<uint64_t>(chunk) * d.chunk_size;
        if (book.compare(start, 4, "PMGL") != 0) {
            d.error = "chunk " + std::to_string(chunk) + " is no listing chunk";
            return d;
        }
        const uint64_t end = start + d.chunk_size - Le32(book, start + 4);
        size_t pos = start + 0x14;
        while (pos < end) {
            const uint64_t length = EncInt(book, pos);
            std::string name = book.substr(pos, length);
            pos += length;
            BookEntry entry;
            entry.section = static_cast<uint32_t>(EncInt(book, pos));
            entry.offset = EncInt(book, pos);
            entry.length = EncInt(book, pos);
            d.order.push_back(name);
            d.entries[name] = entry;
        }
        chunk = static_cast<int32_t>(Le32(book, start + 0x10));
    }
    return d;
}

std::string Section0File(const std::string& book, const BookDirectory& directory, const std::string& name) {
    auto it = directory.entries.find(name);
    if (it == directory.entries.end() || it->second.section != 0)
        return "<missing>";
    return book.substr(directory.content_offset + it->second.offset, it->second.length);
}

std::map<int, std::string> SystemRecords(const std::string& system_file) {
    std::map<int, std::string> records;
    size_t pos = 4;
    while (pos + 4 <= system_file.size()) {
        const int code = static_cast<int>(Le32(system_file, pos) & 0xFFFF);
        const size_t length = Le32(system_file, pos) >> 16;
        if (pos + 4 + length > system_file.size())
            break;
        records[code] = system_file.substr(pos + 4, length);
        pos += 4 + length;
    }
    return records;
}

std::string RecordText(const std::map<int, std::string>& records, int code) {
    auto it = records.find(code);
    if (it == records.end())
        return "<missing>";
    return it->second.substr(0, it->second.find('\0'));
}

}  // namespace chm_test
