// The code page tables from iconv.
#include <iconv.h>

#include "builder/codepages.h"

namespace {

class IconvHolder {
  public:
    // The first of the names that iconv knows.
    IconvHolder(const char* name, const char* other_name) : cd_(iconv_open("UTF-32LE", name)) {
        if (!ok())
            cd_ = iconv_open("UTF-32LE", other_name);
    }
    ~IconvHolder() {
        if (ok())
            iconv_close(cd_);
    }
    IconvHolder(const IconvHolder&) = delete;
    IconvHolder& operator=(const IconvHolder&) = delete;
    bool ok() const { return cd_ != (iconv_t)-1; }

    // The one code point the bytes stand for, or 0.
    char32_t Decode(const unsigned char* bytes, size_t length) {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        char in[4];
        for (size_t i = 0; i < length; ++i)
            in[i] = static_cast<char>(bytes[i]);
        unsigned char out[8];
        char* in_ptr = in;
        size_t in_left = length;
        char* out_ptr = reinterpret_cast<char*>(out);
        size_t out_left = sizeof(out);
        if (iconv(cd_, &in_ptr, &in_left, &out_ptr, &out_left) == (size_t)-1 || in_left != 0 ||
            out_left != sizeof(out) - 4)
            return 0;
        return static_cast<char32_t>(out[0] | out[1] << 8 | out[2] << 16 | static_cast<uint32_t>(out[3]) << 24);
    }

  private:
    iconv_t cd_;
};

}  // namespace

bool LoadSystemCodePage(CodePage page, CodePageTable& table) {
    // glibc knows the Windows variants as CP936 and CP950 (CP936 differs from plain GBK in a few
    // characters such as the euro sign); libraries that lack those names have GBK and BIG5.
    const char* names[2] = {"CP936", "GBK"};
    if (page == CodePage::kGb18030)
        names[0] = names[1] = "GB18030";
    else if (page == CodePage::kBig5)
        names[0] = "CP950", names[1] = "BIG5";
    IconvHolder cd(names[0], names[1]);
    if (!cd.ok())
        return false;
    unsigned char bytes[2];
    for (unsigned b = 0x80; b <= 0xFF; ++b) {
        bytes[0] = static_cast<unsigned char>(b);
        table.single[b - 0x80] = cd.Decode(bytes, 1);
    }
    for (unsigned first = 0x81; first <= 0xFE; ++first) {
        for (unsigned second = 0x40; second <= 0xFE; ++second) {
            bytes[0] = static_cast<unsigned char>(first);
            bytes[1] = static_cast<unsigned char>(second);
            table.pairs[CodePageTable::PairIndex(first, second)] = cd.Decode(bytes, 2);
        }
    }
    return true;
}
