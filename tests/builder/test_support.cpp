#include "tests/builder/test_support.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <stdexcept>

#include "builder/platform.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <stdlib.h>
#endif

namespace fs = std::filesystem;

namespace {

fs::path ToPath(const std::string& utf8) {
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string FromPath(const fs::path& path) {
    std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

}  // namespace

void RecordingResultList::SetEntry(int index, const std::string& line) {
    if (index == ListCount())
        lines.push_back(line);
    else if (index >= 0 && index < ListCount())
        lines[static_cast<size_t>(index)] = line;
}

TempFolder::TempFolder(const std::string& parent) {
    static std::atomic<int> counter{0};
    fs::path base = parent.empty() ? fs::temp_directory_path() : ToPath(parent);
    auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    for (int attempt = 0; attempt < 100; ++attempt) {
        fs::path candidate = base / ("folvane-test-" + std::to_string(stamp) + "-" + std::to_string(counter++) + "-" +
                                     std::to_string(attempt));
        std::error_code ec;
        if (fs::create_directory(candidate, ec)) {
            path_ = FromPath(candidate);
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
}

TempFolder::~TempFolder() {
    std::error_code ec;
    fs::remove_all(ToPath(path_), ec);
}

std::string TempFolder::Join(const std::string& name) const {
    return platform::JoinPath(path_, name);
}

void WriteTestFile(const std::string& path, const std::string& bytes) {
    if (!platform::WriteFileBytes(path, bytes))
        throw std::runtime_error("cannot write " + path);
}

std::string ReadTestFile(const std::string& path) {
    std::string bytes;
    if (!platform::ReadFileBytes(path, bytes))
        throw std::runtime_error("cannot read " + path);
    return bytes;
}

bool TestFileExists(const std::string& path) {
    return platform::GetFileInfo(path).exists;
}

std::vector<std::pair<std::string, std::string>> SnapshotTree(const std::string& folder) {
    std::vector<std::pair<std::string, std::string>> files;
    fs::path root = ToPath(folder);
    for (const fs::directory_entry& e : fs::recursive_directory_iterator(root)) {
        std::string relative = FromPath(fs::relative(e.path(), root));
        if (e.is_directory())
            files.emplace_back(relative + "/", "");
        else
            files.emplace_back(relative, ReadTestFile(FromPath(e.path())));
    }
    std::sort(files.begin(), files.end());
    return files;
}

namespace {

void SetEnv(const char* name, const char* value) {
#ifdef _WIN32
    SetEnvironmentVariableA(name, value);
#else
    if (value)
        setenv(name, value, 1);
    else
        unsetenv(name);
#endif
}

}  // namespace

ScopedEnv::ScopedEnv(const char* name, const std::string& value) : name_(name) {
    SetEnv(name_, value.c_str());
}

ScopedEnv::~ScopedEnv() {
    SetEnv(name_, nullptr);
}

std::string FakeCompilerPath(const std::string& kind) {
    std::string suffix = platform::PathSeparator() == '\\' ? ".exe" : "";
    return platform::JoinPath(platform::ProgramFolder(), "fake_compiler_" + kind + suffix);
}

std::string Gbk(const std::string& utf8) {
    return platform::EncodeCp936(utf8);
}

bool LineReader::Next(std::string_view& line) {
    if (pos_ >= text_.size())
        return false;
    // The next CR and LF are remembered: searching for each afresh on every line would scan
    // the rest of a file that has only one kind of line end again and again.
    if (next_cr_ < pos_)
        next_cr_ = Find('\r');
    if (next_lf_ < pos_)
        next_lf_ = Find('\n');
    size_t end = next_cr_ < next_lf_ ? next_cr_ : next_lf_;
    if (end >= text_.size()) {
        line = text_.substr(pos_);
        pos_ = text_.size();
        return true;
    }
    line = text_.substr(pos_, end - pos_);
    pos_ = end + 1;
    if (text_[end] == '\r' && pos_ < text_.size() && text_[pos_] == '\n')
        ++pos_;
    return true;
}

size_t LineReader::Find(char c) const {
    const void* hit = std::memchr(text_.data() + pos_, c, text_.size() - pos_);
    return hit ? static_cast<size_t>(static_cast<const char*>(hit) - text_.data()) : text_.size();
}
