// Books compiled by the library's Windows build, opened through the HTML Help storage that the
// Windows viewer itself reads books with: itss.dll's ITStorage object. Every page must come back
// through IStorage::OpenStream byte for byte, and the root must list every page.
#include <windows.h>

#include <objbase.h>

#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "builder/platform.h"
#include "builder/unicode_text.h"
#include "chm/chm_compiler.h"
#include "tests/builder/test_support.h"
#include "tests/chm/chm_test_support.h"

// The first methods of itss.dll's IITStorage, in their order; the SDK headers of MinGW lack it.
// Outside the anonymous namespace: an interface type no object of this program implements, given
// internal linkage, lets the compiler treat calls through it as unreachable.
struct IITStorage : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE StgCreateDocfile(const WCHAR*, DWORD, DWORD, IStorage**) = 0;
    virtual HRESULT STDMETHODCALLTYPE StgCreateDocfileOnILockBytes(ILockBytes*, DWORD, DWORD, IStorage**) = 0;
    virtual HRESULT STDMETHODCALLTYPE StgIsStorageFile(const WCHAR*) = 0;
    virtual HRESULT STDMETHODCALLTYPE StgIsStorageILockBytes(ILockBytes*) = 0;
    virtual HRESULT STDMETHODCALLTYPE StgOpenStorage(const WCHAR*, IStorage*, DWORD, SNB, DWORD, IStorage**) = 0;
};

namespace {

using chm_test::TestBook;
using chm_test::TestPage;

const CLSID kClsidItStorage = {0x5d02926a, 0x212e, 0x11d0, {0x9d, 0xf9, 0x00, 0xa0, 0xc9, 0x22, 0xe6, 0xec}};
const IID kIidItStorage = {0x88cc31de, 0x27ab, 0x11d0, {0x9d, 0xf9, 0x00, 0xa0, 0xc9, 0x22, 0xe6, 0xec}};

template <typename T>
class ComPtr {
  public:
    ComPtr() = default;
    ~ComPtr() { Reset(); }
    void Reset() {
        if (p_)
            p_->Release();
        p_ = nullptr;
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    T** Out() { return &p_; }
    T* operator->() const { return p_; }
    T* get() const { return p_; }

  private:
    T* p_ = nullptr;
};

std::wstring Wide(const std::string& utf8) {
    const std::u16string text = Utf8ToUtf16(utf8);
    return std::wstring(text.begin(), text.end());
}

class ItssTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
        ASSERT_EQ(CoCreateInstance(kClsidItStorage, nullptr, CLSCTX_INPROC_SERVER, kIidItStorage,
                                   reinterpret_cast<void**>(its_.Out())),
                  S_OK)
            << "itss.dll's ITStorage object is not available";
    }
    // The object must go before COM does: CoUninitialize unloads itss.dll.
    void TearDown() override {
        its_.Reset();
        CoUninitialize();
    }

    std::string ReadStream(IStorage* storage, const std::string& name, HRESULT* opened) {
        ComPtr<IStream> stream;
        *opened = storage->OpenStream(Wide(name).c_str(), nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, stream.Out());
        std::string bytes;
        if (FAILED(*opened))
            return bytes;
        char buffer[8192];
        for (;;) {
            ULONG read = 0;
            const HRESULT hr = stream->Read(buffer, sizeof(buffer), &read);
            bytes.append(buffer, read);
            if (FAILED(hr) || read == 0)
                break;
        }
        return bytes;
    }

    void CheckBook(const TestBook& book) {
        const std::string folder = temp_.Join(book.name);
        ASSERT_TRUE(chm_test::WriteTestBook(folder, book));
        const chm::CompileResult result = chm_test::CompileFolder(folder, "book.chm");
        ASSERT_TRUE(result.ok) << result.reason;

        ComPtr<IStorage> storage;
        ASSERT_EQ(its_->StgOpenStorage(Wide(platform::JoinPath(folder, "book.chm")).c_str(), nullptr,
                                       STGM_READ | STGM_SHARE_DENY_WRITE, nullptr, 0, storage.Out()),
                  S_OK);
        for (const TestPage& page : book.pages) {
            HRESULT opened = S_OK;
            const std::string bytes = ReadStream(storage.get(), page.file_name, &opened);
            ASSERT_EQ(opened, S_OK) << page.file_name;
            EXPECT_EQ(bytes, chm_test::PageBytes(page)) << page.file_name;
        }

        HRESULT opened = S_OK;
        const auto records = chm_test::SystemRecords(ReadStream(storage.get(), "#SYSTEM", &opened));
        ASSERT_EQ(opened, S_OK);
        chm_test::Cp936Codec codec;
        EXPECT_EQ(chm_test::RecordText(records, 3), codec.FromUtf8(book.name));
        EXPECT_EQ(chm_test::RecordText(records, 0), "chm_hhc.hhc");

        // The root lists every page (storage readers need the "/" folder entry for that).
        ComPtr<IEnumSTATSTG> elements;
        ASSERT_EQ(storage->EnumElements(0, nullptr, 0, elements.Out()), S_OK);
        std::set<std::wstring> listed;
        STATSTG stat;
        ULONG fetched = 0;
        while (elements->Next(1, &stat, &fetched) == S_OK && fetched == 1) {
            listed.insert(stat.pwcsName);
            CoTaskMemFree(stat.pwcsName);
        }
        for (const TestPage& page : book.pages)
            EXPECT_EQ(listed.count(Wide(page.file_name)), 1u) << page.file_name;
    }

    ComPtr<IITStorage> its_;
    TempFolder temp_;
};

std::string Text(int lines) {
    std::string text = "<html><body>";
    for (int i = 0; i < lines; ++i)
        text += "第" + std::to_string(i) + "行：春眠不觉晓，处处闻啼鸟。夜来风雨声，花落知多少。<br>\r\n";
    return text + "</body></html>";
}

TEST_F(ItssTest, ChinesePages) {
    TestBook book;
    book.name = "chinese";
    book.pages = {{"book_1.htm", "第一章 \"开端\"", Text(400)},
                  {"book_2.htm", "第二章", Text(1500), 1},
                  {"book_3.htm", "第三章", Text(3), 1, "#ch12"}};
    CheckBook(book);
}

TEST_F(ItssTest, ChineseAndOtherScriptsInNames) {
    TestBook book;
    book.name = "names";
    book.pages = {{"静夜思_1.htm", "床前明月光", Text(30)},
                  {"한국어😀_2.htm", "한국어", Text(30)},
                  {"静夜思_3.htm", "举头望明月", ""}};
    CheckBook(book);
}

TEST_F(ItssTest, ThousandPagesFoundThroughTheIndex) {
    CheckBook(chm_test::ThousandPageBook("千页"));
}

TEST_F(ItssTest, OnePage) {
    TestBook book;
    book.name = "one";
    book.pages = {{"one_1.htm", "唯一", Text(1)}};
    CheckBook(book);
}

}  // namespace
