// The whole compile, front to back: read the project, stream every file through the compressor,
// build the files viewers read, then write the container around them.
#include "chm/chm_compiler.h"

#include <algorithm>
#include <chrono>
#include <new>
#include <optional>
#include <stdexcept>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "chm/container.h"
#include "chm/content_section.h"
#include "chm/dataspace_files.h"
#include "chm/project_file.h"
#include "chm/sitemap.h"
#include "chm/system_file.h"
#include "chm/text_refs.h"
#include "chm/topic_tables.h"
#include "chm/windows_file.h"

namespace chm {

namespace {

constexpr uint32_t kChineseLcid = 0x0804;
constexpr size_t kTitleSearchBytes = 8192;

CompileResult Fail(std::string reason) {
    return {false, std::move(reason)};
}

std::string Quoted(const std::string& name) {
    return "“" + name + "”";
}

// The stored name ("/dir/page.htm") of a name as the project writes it, relative to its folder.
// Empty for names that leave the folder or are no relative name at all.
std::string StoredName(std::string_view listed) {
    std::string name(TrimBlanks(listed));
    for (char& c : name) {
        if (c == '\\')
            c = '/';
    }
    while (name.compare(0, 2, "./") == 0)
        name.erase(0, 2);
    if (name.empty() || name.front() == '/' || name.back() == '/' || name.find(':') != std::string::npos)
        return {};
    size_t start = 0;
    while (start <= name.size()) {
        const size_t end = std::min(name.find('/', start), name.size());
        const std::string_view part = std::string_view(name).substr(start, end - start);
        if (part.empty() || part == "." || part == "..")
            return {};
        start = end + 1;
    }
    return "/" + name;
}

std::string Key(const std::string& stored_name) {
    return AsciiLower(stored_name);
}

// The text of the first <title> in a page's start, or "".
std::string PageTitle(std::string_view page, TextCodec& codec) {
    const std::string head = AsciiLower(page.substr(0, kTitleSearchBytes));
    const size_t open = head.find("<title");
    if (open == std::string::npos)
        return {};
    const size_t text_start = head.find('>', open);
    if (text_start == std::string::npos)
        return {};
    const size_t text_end = head.find("</title", text_start);
    if (text_end == std::string::npos)
        return {};
    std::string title = DecodeHtmlText(codec.ToUtf8(page.substr(text_start + 1, text_end - text_start - 1)));
    for (char& c : title) {
        if (c == '\r' || c == '\n' || c == '\t')
            c = ' ';
    }
    return std::string(TrimBlanks(title));
}

// "Compiled file=D:\books\Book.chm" -> "book", as #SYSTEM stores it.
std::string CompiledFileStem(std::string_view compiled_file) {
    const size_t slash = compiled_file.find_last_of("/\\");
    std::string_view stem = slash == std::string_view::npos ? compiled_file : compiled_file.substr(slash + 1);
    const size_t dot = stem.rfind('.');
    if (dot != std::string_view::npos)
        stem = stem.substr(0, dot);
    return AsciiLower(TrimBlanks(stem));
}

bool IsAscii(std::string_view text) {
    for (char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

bool SettingsValid(const CompileSettings& s) {
    if (s.window_bits < 16 || s.window_bits > 21)
        return false;
    const int n = s.frames_per_reset;
    return n >= (1 << (s.window_bits - 16)) && n <= (1 << 16) && (n & (n - 1)) == 0;
}

class BookCompiler {
  public:
    BookCompiler(FileSource& files, TextCodec& codec, const std::atomic<bool>* cancel, const CompileSettings& s)
        : files_(files),
          codec_(codec),
          cancel_(cancel),
          settings_(s),
          content_(lzx::LzxSettings{s.window_bits, s.frames_per_reset, s.store_only}) {
        timestamp_ = s.timestamp != 0 ? s.timestamp
                                      : static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::seconds>(
                                                                  std::chrono::system_clock::now().time_since_epoch())
                                                                  .count());
    }

    CompileResult Run(const std::string& project_name, OutputSink& out) {
        if (std::optional<CompileResult> failed = ReadProject(project_name))
            return *failed;
        if (std::optional<CompileResult> failed = CompressFiles())
            return *failed;
        if (Cancelled())
            return Fail("编译已取消");
        AddViewerFiles();
        content_.Finish();
        return Write(out);
    }

  private:
    struct PlannedFile {
        std::string listed;  // UTF-8, as the project names it, for messages
        std::string stored;  // the name in the book; without its '/', what the caller reads
        enum class Kind { kPage, kContents, kIndex } kind = Kind::kPage;
    };

    bool Cancelled() const { return cancel_ && cancel_->load(std::memory_order_relaxed); }

    std::string ToCodePage(const std::string& utf8) { return codec_.FromUtf8(utf8); }

    // Reads the project and decides what goes into the book.
    std::optional<CompileResult> ReadProject(const std::string& project_name) {
        std::string bytes;
        std::string error;
        if (!files_.Read(project_name, bytes, error))
            return Fail("无法读取项目文件" + Quoted(project_name) + "：" + error);
        project_ = ParseProjectFile(codec_.ToUtf8(bytes));
        if (!project_.has_files_section)
            return Fail("项目文件" + Quoted(project_name) + "没有 [FILES] 节，不知道书里有哪些页面");
        if (project_.files.empty())
            return Fail("项目文件" + Quoted(project_name) + "的 [FILES] 节没有列出任何页面");

        for (const std::string& listed : project_.files) {
            if (std::optional<CompileResult> failed = Plan(listed, PlannedFile::Kind::kPage))
                return failed;
        }
        contents_file_ = DecodeCharRefs(TrimBlanks(project_.Option("Contents file")));
        index_file_ = DecodeCharRefs(TrimBlanks(project_.Option("Index file")));
        if (!contents_file_.empty()) {
            if (std::optional<CompileResult> failed = Plan(contents_file_, PlannedFile::Kind::kContents))
                return failed;
        }
        if (!index_file_.empty()) {
            if (std::optional<CompileResult> failed = Plan(index_file_, PlannedFile::Kind::kIndex))
                return failed;
        }

        compiled_stem_ = CompiledFileStem(DecodeCharRefs(project_.Option("Compiled file")));
        if (compiled_stem_.empty())
            compiled_stem_ = CompiledFileStem(project_name);
        default_window_ = DecodeCharRefs(TrimBlanks(project_.Option("Default Window")));
        const WindowDefinition* window = project_.FindWindow(default_window_);
        if (!window)
            default_window_.clear();
        title_ = DecodeHtmlText(TrimBlanks(project_.Option("Title")));
        if (title_.empty() && window)
            title_ = window->caption;
        if (title_.empty())
            title_ = compiled_stem_;
        default_topic_ = DecodeCharRefs(TrimBlanks(project_.Option("Default topic")));
        if (default_topic_.empty() && window)
            default_topic_ = window->default_file;
        if (default_topic_.empty())
            default_topic_ = plan_.front().stored.substr(1);
        lcid_ = LanguageId(project_.Option("Language"), kChineseLcid);
        return std::nullopt;
    }

    std::optional<CompileResult> Plan(const std::string& listed, PlannedFile::Kind kind) {
        const std::string stored = StoredName(listed);
        if (stored.empty())
            return Fail("项目文件中的文件名" + Quoted(listed) + "不是书文件夹里的相对路径");
        auto [where, added] = planned_.emplace(Key(stored), plan_.size());
        if (added) {
            plan_.push_back({listed, stored, kind});
        } else if (kind != PlannedFile::Kind::kPage) {
            plan_[where->second].kind = kind;  // the contents or index, also listed as a page
        }
        return std::nullopt;
    }

    // Streams every planned file into the compressed section, one file in memory at a time.
    std::optional<CompileResult> CompressFiles() {
        std::string bytes;
        std::string error;
        for (const PlannedFile& file : plan_) {
            if (Cancelled())
                return Fail("编译已取消");
            bytes.clear();
            error.clear();
            if (!files_.Read(file.stored.substr(1), bytes, error)) {
                const char* what = file.kind == PlannedFile::Kind::kContents ? "目录文件"
                                   : file.kind == PlannedFile::Kind::kIndex  ? "索引文件"
                                                                             : "页面";
                return Fail(std::string("无法读取") + what + Quoted(file.listed) + "：" + error);
            }
            if (file.kind == PlannedFile::Kind::kContents)
                ReadContentsTitles(bytes);
            else if (file.kind == PlannedFile::Kind::kPage)
                page_titles_[Key(file.stored)] = PageTitle(bytes, codec_);
            uint64_t offset = 0;
            if (!content_.Add(bytes, cancel_, &offset))
                return Fail("编译已取消");
            entries_.push_back({file.stored, 1, offset, bytes.size()});
            AddFolderEntries(file.stored);
        }
        return std::nullopt;
    }

    // Pages named by the contents take their first entry's name as their title.
    void ReadContentsTitles(const std::string& bytes) {
        const Sitemap contents = ParseSitemap(codec_.ToUtf8(bytes));
        folder_images_ = contents.folder_images;
        for (const SitemapEntry& entry : contents.entries) {
            const std::string stored = StoredName(LocalPage(entry.local));
            if (!stored.empty() && !entry.name.empty())
                contents_titles_.emplace(Key(stored), entry.name);
        }
    }

    void AddFolderEntries(const std::string& stored) {
        for (size_t slash = stored.find('/', 1); slash != std::string::npos; slash = stored.find('/', slash + 1)) {
            const std::string folder = stored.substr(0, slash + 1);
            if (folders_.insert(Key(folder)).second)
                entries_.push_back({folder, 0, 0, 0});
        }
    }

    void AddCompressed(const char* name, const std::string& bytes) {
        uint64_t offset = 0;
        content_.Add(bytes, nullptr, &offset);
        entries_.push_back({name, 1, offset, bytes.size()});
    }

    // The files viewers read besides the pages: window types, topics, strings and #SYSTEM.
    void AddViewerFiles() {
        StringsTable strings;
        AddCompressed("/#WINDOWS", BuildWindowsFile(WindowsInBook(), strings));

        std::vector<Topic> topics;
        for (const PlannedFile& file : plan_) {
            if (file.kind != PlannedFile::Kind::kPage)
                continue;
            Topic topic;
            topic.url = file.stored.substr(1);
            auto in_contents = contents_titles_.find(Key(file.stored));
            topic.in_contents = in_contents != contents_titles_.end();
            topic.title = ToCodePage(topic.in_contents ? in_contents->second : page_titles_[Key(file.stored)]);
            topics.push_back(std::move(topic));
        }
        for (const std::string& sitemap : {contents_file_, index_file_}) {
            if (!sitemap.empty())
                topics.push_back({StoredName(sitemap).substr(1), "", false});
        }
        TopicTables tables = BuildTopicTables(topics, strings);
        AddCompressed("/#TOPICS", tables.topics);
        AddCompressed("/#URLTBL", tables.urltbl);
        AddCompressed("/#URLSTR", tables.urlstr);

        SystemInfo system;
        system.lcid = lcid_;
        system.contents_file = ToCodePage(contents_file_);
        system.index_file = ToCodePage(index_file_);
        system.default_topic = ToCodePage(default_topic_);
        system.title = ToCodePage(title_);
        system.default_window = ToCodePage(default_window_);
        system.compiled_file = ToCodePage(compiled_stem_);
        system.default_font = ToCodePage(DecodeCharRefs(TrimBlanks(project_.Option("Default Font"))));
        system.timestamp = timestamp_;
        system.idxhdr = BuildIdxHdr(static_cast<uint32_t>(topics.size()), folder_images_, timestamp_);
        AddCompressed("/#IDXHDR", system.idxhdr);
        AddCompressed("/#STRINGS", strings.bytes());
        // #SYSTEM stays uncompressed, as readers may look at it before they set up decompression.
        stored_.push_back({"/#SYSTEM", BuildSystemFile(system)});
        stored_.push_back({"/#ITBITS", ""});
    }

    // The project's window types with their texts in the book's code page, which is how the
    // Windows viewer reads them. Unix viewers (kchmviewer, xchm) read the start page from the last
    // window record as UTF-8 instead; when it is not plain ASCII, one more record, which the
    // Windows viewer never asks for by name, carries it for them in UTF-8.
    std::vector<WindowDefinition> WindowsInBook() {
        std::vector<WindowDefinition> windows;
        for (WindowDefinition w : project_.windows) {
            for (std::string* text : {&w.name, &w.caption, &w.contents_file, &w.index_file, &w.default_file,
                                      &w.home_file, &w.jump1_url, &w.jump1_text, &w.jump2_url, &w.jump2_text})
                *text = ToCodePage(*text);
            windows.push_back(std::move(w));
        }
        const WindowDefinition* start_window = default_window_.empty() ? nullptr : project_.FindWindow(default_window_);
        if (!start_window)
            return windows;
        const std::string& start = start_window->default_file.empty() ? default_topic_ : start_window->default_file;
        if (IsAscii(start))
            return windows;
        WindowDefinition utf8_start;
        utf8_start.name = ToCodePage(start_window->name + "_utf8");
        utf8_start.default_file = start;
        windows.push_back(std::move(utf8_start));
        return windows;
    }

    CompileResult Write(OutputSink& out) {
        stored_.push_back({kNameListName, NameListFile()});
        stored_.push_back({kControlDataName, ControlDataFile(settings_.window_bits, settings_.frames_per_reset)});
        stored_.push_back({kSpanInfoName, SpanInfoFile(content_.UncompressedBytes())});
        stored_.push_back({kTransformListName, TransformListFile()});
        stored_.push_back({kResetTableName, ResetTableFile(content_.FrameOffsets(), content_.UncompressedBytes(),
                                                           content_.CompressedBytes())});
        const std::string head =
            BuildContainerHead(std::move(entries_), stored_, content_.CompressedBytes(), lcid_, timestamp_);
        if (head.empty())
            return Fail("有文件名太长，放不进 CHM 的目录");
        if (!out.Write(head))
            return Fail("写入 CHM 文件失败");
        for (const std::string& piece : content_.Pieces()) {
            if (Cancelled())
                return Fail("编译已取消");
            if (!out.Write(piece))
                return Fail("写入 CHM 文件失败");
        }
        return {true, {}};
    }

    FileSource& files_;
    TextCodec& codec_;
    const std::atomic<bool>* cancel_;
    CompileSettings settings_;
    uint32_t timestamp_ = 0;

    ProjectFile project_;
    std::vector<PlannedFile> plan_;
    std::unordered_map<std::string, size_t> planned_;  // Key(stored) -> index in plan_
    std::string contents_file_, index_file_, compiled_stem_, default_window_, title_, default_topic_;
    uint32_t lcid_ = kChineseLcid;

    ContentSection content_;
    std::vector<DirectoryEntry> entries_;
    std::vector<StoredFile> stored_;
    std::unordered_set<std::string> folders_;
    std::unordered_map<std::string, std::string> contents_titles_;  // Key(stored) -> UTF-8
    std::unordered_map<std::string, std::string> page_titles_;
    bool folder_images_ = false;
};

}  // namespace

CompileResult CompileProject(const std::string& project_name,
                             FileSource& files,
                             TextCodec& codec,
                             OutputSink& out,
                             const std::atomic<bool>* cancel,
                             const CompileSettings& settings) {
    if (!SettingsValid(settings))
        return Fail("压缩设置无效：窗口须为 2^16 到 2^21 字节，重置间隔须为 2 的幂且不小于半个窗口");
    // A book too big for the memory left fails alone, with a reason, instead of ending the program.
    try {
        BookCompiler compiler(files, codec, cancel, settings);
        return compiler.Run(project_name, out);
    } catch (const std::bad_alloc&) {
        return Fail("内存不足，无法编译这本书");
    } catch (const std::length_error&) {
        return Fail("内存不足，无法编译这本书");
    }
}

}  // namespace chm
