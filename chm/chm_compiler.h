// Folvane's own HTML Help compiler: turns a book folder's help project (pages, contents, index,
// project file, all in code page 936) into a .chm book. Portable: every file read, every text
// conversion and every byte written goes through the interfaces the caller gives it.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace chm {

// The book folder, read through the caller.
class FileSource {
  public:
    virtual ~FileSource() = default;
    // The bytes of `name` (UTF-8, relative to the project's folder, '/' between folders).
    // False with `error` (UTF-8) set when it cannot be read.
    virtual bool Read(const std::string& name, std::string& bytes, std::string& error) = 0;
};

// The caller's code page 936 conversion; the library has none of its own.
class TextCodec {
  public:
    virtual ~TextCodec() = default;
    virtual std::string ToUtf8(std::string_view cp936) = 0;   // invalid bytes -> U+FFFD
    virtual std::string FromUtf8(std::string_view utf8) = 0;  // unrepresentable -> '?'
};

// Where the book goes, front to back, in one pass.
class OutputSink {
  public:
    virtual ~OutputSink() = default;
    virtual bool Write(std::string_view bytes) = 0;
};

struct CompileResult {
    bool ok = false;
    std::string reason;  // in Chinese, UTF-8; names the file or the problem
};

// How the content is compressed. The defaults are the values the format's own compiler writes,
// which every reader knows: a 64 KB window and a new start every 64 KB.
struct CompileSettings {
    int window_bits = 16;      // 16..21
    int frames_per_reset = 2;  // a power of two, at least 2^(window_bits - 16)
    bool store_only = false;   // no compression (for comparisons)
    uint32_t timestamp = 0;    // seconds since 1970 stored in the book; 0: the current time
};

// Compiles the project `project_name` (for example "chm_hhp.hhp") into `out`. Pages are read
// one at a time and streamed through the compressor; the compressed content is held in memory
// until the book is written. A file named twice in [FILES] is stored once. `cancel` is polled
// between files and every few 32 KB frames; a cancelled compile fails with a reason.
CompileResult CompileProject(const std::string& project_name,
                             FileSource& files,
                             TextCodec& codec,
                             OutputSink& out,
                             const std::atomic<bool>* cancel = nullptr,
                             const CompileSettings& settings = CompileSettings());

// How much of a book's start CheckBookHeader needs to see everything it checks.
inline constexpr size_t kBookHeaderBytes = 0x200;

// The check every book gets, whoever compiled it: the ITSF signature, and header sizes that
// agree with each other and with the file's size. "" when sound, else a reason (Chinese, UTF-8).
std::string CheckBookHeader(std::string_view first_bytes, uint64_t file_size);

}  // namespace chm
