// What the CHM tests share: the book folder, code page and output as the compiler's caller
// provides them (through the builder's platform layer, as the program does), and test books
// written the way the builder writes them.
#pragma once

#include <atomic>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "chm/chm_compiler.h"

namespace chm_test {

// Reads files from a folder on disk.
class FolderSource : public chm::FileSource {
  public:
    explicit FolderSource(std::string folder) : folder_(std::move(folder)) {}
    bool Read(const std::string& name, std::string& bytes, std::string& error) override;
    int reads() const { return reads_; }

  private:
    std::string folder_;
    int reads_ = 0;
};

// Code page 936 through the builder's conversions; a character code page 936 lacks becomes '?'.
class Cp936Codec : public chm::TextCodec {
  public:
    std::string ToUtf8(std::string_view cp936) override;
    std::string FromUtf8(std::string_view utf8) override;
};

// Files held in memory, by name; counts the reads and can set a cancel flag at the nth one.
class MemorySource : public chm::FileSource {
  public:
    bool Read(const std::string& name, std::string& bytes, std::string& error) override;
    std::map<std::string, std::string> files;
    std::map<std::string, int> reads;
    std::atomic<bool>* cancel_at_read = nullptr;
    int cancel_read_number = 0;

  private:
    int total_reads_ = 0;
};

class StringSink : public chm::OutputSink {
  public:
    bool Write(std::string_view bytes) override {
        data.append(bytes);
        return true;
    }
    std::string data;
};

// A page of a test book: its file name and text (UTF-8; written as code page 936, characters it
// lacks as &#N; references, as the builder writes them).
struct TestPage {
    TestPage(std::string file, std::string name, std::string body, int level = 0, std::string target = "")
        : file_name(std::move(file)),
          title(std::move(name)),
          text(std::move(body)),
          depth(level),
          anchor(std::move(target)) {}
    std::string file_name;
    std::string title;  // the contents entry's name
    std::string text;
    int depth = 0;       // 0: a top-level contents entry; 1: inside the volume before it
    std::string anchor;  // "#ch12": the contents entry points into the page
};

struct TestBook {
    std::string name;  // the book's name: "Compiled file=<name>.chm", the window caption
    std::vector<TestPage> pages;
    bool write_contents = true;
    bool write_index = true;
};

// A book of 1000 short pages named "<name>_<n>.htm": enough names for several listing chunks
// under an index chunk.
TestBook ThousandPageBook(const std::string& name);

// Writes pages, chm_hhc.hhc, chm_hhk.hhk and chm_hhp.hhp into `folder` (created), all in code
// page 936 with CR LF. Returns false when a file cannot be written.
bool WriteTestBook(const std::string& folder, const TestBook& book);

// The page bytes WriteTestBook writes for `page`.
std::string PageBytes(const TestPage& page);

// Code page 936 bytes with &#N; for characters it lacks.
std::string Cp936WithRefs(const std::string& utf8);

// Compiles folder/chm_hhp.hhp into folder/<book>.chm. Returns the compiler's result.
chm::CompileResult CompileFolder(const std::string& folder,
                                 const std::string& book_file,
                                 const chm::CompileSettings& settings = chm::CompileSettings());

// A reader of the container that shares no code with the compiler: the ITSF header, the
// listing chunks followed from the first by their "next" links, and section 0's files.
struct BookEntry {
    uint32_t section = 0;
    uint64_t offset = 0;
    uint64_t length = 0;
};
struct BookDirectory {
    std::map<std::string, BookEntry> entries;
    std::vector<std::string> order;  // names in the order the listing chunks hold them
    uint64_t content_offset = 0;
    uint32_t chunk_size = 0;
    uint32_t depth = 0;
    int32_t root = 0;
    uint32_t chunk_count = 0;
    std::string error;  // set when the book cannot be read
};
BookDirectory ReadBookDirectory(const std::string& book);
// A file of section 0, or "<missing>".
std::string Section0File(const std::string& book, const BookDirectory& directory, const std::string& name);

// #SYSTEM's records, by code.
std::map<int, std::string> SystemRecords(const std::string& system_file);
// A record's text without its NUL.
std::string RecordText(const std::map<int, std::string>& records, int code);

uint32_t Le32(const std::string& bytes, size_t at);

}  // namespace chm_test
