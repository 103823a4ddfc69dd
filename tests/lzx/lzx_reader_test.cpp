// The compressor's streams read back by real CHM readers: chmlib, libmspack and (when installed)
// 7-Zip, each given a minimal CHM around the stream. Native builds only.
#include <gtest/gtest.h>

#include <chm_lib.h>
#include <mspack.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "tests/lzx/gbk_corpus.h"
#include "tests/lzx/lzx_test_support.h"
#include "tests/lzx/mini_chm.h"

namespace lzx_test {
namespace {

namespace fs = std::filesystem;
constexpr size_t kFrame = 0x8000;

class ChmReaders : public testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("folvane-lzx-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    // Writes a CHM holding the whole input as /all.bin and its last part, from `tail` on, as /tail.bin.
    std::string WriteChm(const std::string& input,
                         const lzx::LzxSettings& settings,
                         uint64_t tail,
                         uint32_t windows_per_reset = 1) {
        const Stream stream = Compress(input, settings);
        const std::string path = (dir_ / "book.chm").string();
        std::ofstream(path, std::ios::binary) << MiniChm(
            stream, {{"/all.bin", 0, input.size()}, {"/tail.bin", tail, input.size() - tail}}, windows_per_reset);
        return path;
    }

    static std::string ReadFile(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    fs::path dir_;
};

// chmlib reads each frame from its reset-table offset, and a later piece first from its reset point.
std::string ChmlibRead(const std::string& path, const char* name, uint64_t addr, uint64_t length) {
    chmFile* chm = chm_open(path.c_str());
    if (chm == nullptr) {
        return "<chm_open failed>";
    }
    chmUnitInfo unit;
    std::string out;
    if (chm_resolve_object(chm, name, &unit) == CHM_RESOLVE_SUCCESS) {
        out.resize(length);
        const LONGINT64 got = chm_retrieve_object(chm, &unit, reinterpret_cast<unsigned char*>(out.data()), addr,
                                                  static_cast<LONGINT64>(length));
        out.resize(got > 0 ? static_cast<size_t>(got) : 0);
    }
    chm_close(chm);
    return out;
}

// libmspack decodes a file from the reset point before it, as one stream.
std::string MspackExtract(const std::string& path, const std::string& name, const fs::path& out_path) {
    mschm_decompressor* chmd = mspack_create_chm_decompressor(nullptr);
    mschmd_header* chm = chmd->open(chmd, const_cast<char*>(path.c_str()));
    std::string result = "<open failed>";
    if (chm != nullptr) {
        result = "<not listed>";
        for (mschmd_file* f = chm->files; f != nullptr; f = f->next) {
            if (name == f->filename) {
                const int err = chmd->extract(chmd, f, const_cast<char*>(out_path.string().c_str()));
                std::ifstream in(out_path, std::ios::binary);
                result = err != MSPACK_ERR_OK ? "<extract error " + std::to_string(err) + ">"
                                              : std::string(std::istreambuf_iterator<char>(in), {});
            }
        }
        chmd->close(chmd, chm);
    }
    mspack_destroy_chm_decompressor(chmd);
    return result;
}

TEST_F(ChmReaders, ChmlibAndLibmspackReadEveryLayout) {
    const std::string text =
        GbkCorpus(9 * kFrame, 17) + NoiseBytes(kFrame, 3) + EditedCopies(3 * kFrame, 5) + GbkCorpus(2 * kFrame, 18);
    struct Case {
        size_t size;
        int window_bits;
        int per_reset;
        uint32_t windows_per_reset;  // what chmlib needs to count the same frames per reset
        bool store_only;
    };
    const Case cases[] = {
        {1, 16, 2, 1, false},           {kFrame, 16, 2, 1, false},         {kFrame + 1, 16, 2, 1, false},
        {kFrame, 16, 2, 1, true},       {3 * kFrame, 16, 2, 1, true},      {kFrame + 1, 16, 4, 1, true},
        {3 * kFrame, 16, 1, 1, false},  {7 * kFrame + 5, 16, 3, 1, false}, {text.size(), 16, 2, 1, false},
        {text.size(), 17, 2, 2, false}, {text.size(), 18, 4, 4, false},    {text.size(), 16, 2, 1, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "size " << c.size << ", window bits " << c.window_bits
                                        << ", frames per reset " << c.per_reset << (c.store_only ? ", stored" : ""));
        lzx::LzxSettings settings;
        settings.window_bits = c.window_bits;
        settings.frames_per_reset = c.per_reset;
        settings.store_only = c.store_only;
        const std::string input = text.substr(0, c.size);
        // The tail starts inside the last reset interval, so readers must seek to it.
        const uint64_t interval = kFrame * static_cast<uint64_t>(c.per_reset);
        const uint64_t tail = input.size() > interval ? (input.size() - 1) / interval * interval + 3 : 0;
        const std::string path =
            WriteChm(input, settings, std::min<uint64_t>(tail, input.size() - 1), c.windows_per_reset);
        const uint64_t tail_at = std::min<uint64_t>(tail, input.size() - 1);

        EXPECT_TRUE(ChmlibRead(path, "/all.bin", 0, input.size()) == input);
        EXPECT_TRUE(ChmlibRead(path, "/tail.bin", 0, input.size() - tail_at) == input.substr(tail_at));
        EXPECT_TRUE(MspackExtract(path, "/all.bin", dir_ / "all.out") == input);
        EXPECT_TRUE(MspackExtract(path, "/tail.bin", dir_ / "tail.out") == input.substr(tail_at));
    }
}

TEST_F(ChmReaders, SevenZipExtractsTheBook) {
    if (std::system("7z i >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "7z is not installed";
    }
    const std::string input = GbkCorpus(6 * kFrame + 321, 23);
    const std::string path = WriteChm(input, {}, 2 * kFrame + 7);
    const std::string command = "cd '" + dir_.string() + "' && 7z x -y -oout book.chm >7z.log 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << ReadFile(dir_ / "7z.log");
    EXPECT_TRUE(ReadFile(dir_ / "out" / "all.bin") == input);
    EXPECT_TRUE(ReadFile(dir_ / "out" / "tail.bin") == input.substr(2 * kFrame + 7));
}

}  // namespace
}  // namespace lzx_test
