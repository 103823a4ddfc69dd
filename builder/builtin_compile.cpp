#include "builder/builtin_compile.h"

#include <atomic>
#include <exception>
#include <thread>

#include "builder/platform.h"
#include "builder/project_files.h"
#include "chm/chm_compiler.h"

namespace {

constexpr char kPartSuffix[] = ".folvane-part";

class FolderFiles : public chm::FileSource {
  public:
    FolderFiles(std::string folder, std::atomic<uint64_t>& progress)
        : folder_(std::move(folder)), progress_(progress) {}
    bool Read(const std::string& name, std::string& bytes, std::string& error) override {
        std::string path = folder_;
        size_t start = 0;
        for (size_t slash; (slash = name.find('/', start)) != std::string::npos; start = slash + 1)
            path = platform::JoinPath(path, name.substr(start, slash - start));
        path = platform::JoinPath(path, name.substr(start));
        if (!platform::ReadFileBytes(path, bytes)) {
            error = "无法读取 " + name + "：" + platform::LastErrorText();
            return false;
        }
        progress_ += bytes.size();
        return true;
    }

  private:
    std::string folder_;
    std::atomic<uint64_t>& progress_;
};

// Code page 936 both ways; a character the code page cannot hold becomes "?" in the book's own
// strings (titles in window bars are not HTML, so a reference would show as it is).
class Cp936Codec : public chm::TextCodec {
  public:
    std::string ToUtf8(std::string_view cp936) override { return platform::DecodeCp936(cp936); }
    std::string FromUtf8(std::string_view utf8) override { return platform::EncodeCp936Replacing(utf8, '?'); }
};

class FileSink : public chm::OutputSink {
  public:
    explicit FileSink(std::unique_ptr<platform::FileWriter> writer) : writer_(std::move(writer)) {}
    bool Write(std::string_view bytes) override { return writer_->Write(bytes); }
    bool Close() { return writer_->Close(); }

  private:
    std::unique_ptr<platform::FileWriter> writer_;
};

class BuiltinCompile : public CompileTask {
  public:
    BuiltinCompile(std::string folder, std::string book) : folder_(std::move(folder)), book_(std::move(book)) {
        thread_ = std::thread([this] { Run(); });
    }
    ~BuiltinCompile() override {
        cancel_ = true;
        if (thread_.joinable())
            thread_.join();
    }
    bool HasEnded() override { return ended_; }
    void Stop() override { cancel_ = true; }
    std::string Failure() override { return failure_; }
    uint64_t Progress() override { return progress_; }

  private:
    void Run() {
        const std::string part = book_ + kPartSuffix;
        try {
            failure_ = Compile(part);
        } catch (const std::exception&) {
            failure_ = "内存不足，编译没有完成";
        }
        if (!failure_.empty())
            platform::DeleteFileAt(part);
        ended_ = true;
    }

    std::string Compile(const std::string& part) {
        auto writer = platform::CreateFileWriter(part);
        if (!writer)
            return "无法创建 " + part + "：" + platform::LastErrorText();
        FileSink sink(std::move(writer));
        FolderFiles files(folder_, progress_);
        Cp936Codec codec;
        const chm::CompileResult result = chm::CompileProject(kProjectFileName, files, codec, sink, &cancel_);
        const bool closed = sink.Close();
        if (!result.ok)
            return result.reason;
        if (!closed)
            return "无法写完 " + part + "：" + platform::LastErrorText();
        if (!platform::RenameFile(part, book_))
            return "无法把编译好的书改名为 " + book_ + "：" + platform::LastErrorText();
        return "";
    }

    const std::string folder_;
    const std::string book_;
    std::atomic<bool> cancel_{false};
    std::atomic<bool> ended_{false};
    std::atomic<uint64_t> progress_{0};
    std::string failure_;  // written by the thread before `ended_`, read after it
    std::thread thread_;
};

}  // namespace

std::unique_ptr<CompileTask> StartBuiltinCompile(const std::string& folder, const std::string& book) {
    return std::make_unique<BuiltinCompile>(folder, book);
}
