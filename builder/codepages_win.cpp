// The code page tables from Windows' converters, by explicit code page numbers: the system's
// ANSI code page plays no part.
#include <windows.h>

#include "builder/codepages.h"

namespace {

char32_t DecodeOne(UINT code_page, const unsigned char* bytes, int length) {
    wchar_t units[4];
    const int n =
        MultiByteToWideChar(code_page, MB_ERR_INVALID_CHARS, reinterpret_cast<const char*>(bytes), length, units, 4);
    if (n == 1)
        return units[0];
    if (n == 2 && units[0] >= 0xD800 && units[0] <= 0xDBFF && units[1] >= 0xDC00 && units[1] <= 0xDFFF)
        return 0x10000 + ((static_cast<char32_t>(units[0]) - 0xD800) << 10) + (units[1] - 0xDC00);
    return 0;
}

bool LoadCodePage(UINT code_page, CodePageTable& table) {
    if (!IsValidCodePage(code_page))
        return false;
    unsigned char bytes[2];
    for (unsigned b = 0x80; b <= 0xFF; ++b) {
        bytes[0] = static_cast<unsigned char>(b);
        table.single[b - 0x80] = DecodeOne(code_page, bytes, 1);
    }
    for (unsigned first = 0x81; first <= 0xFE; ++first) {
        for (unsigned second = 0x40; second <= 0xFE; ++second) {
            bytes[0] = static_cast<unsigned char>(first);
            bytes[1] = static_cast<unsigned char>(second);
            table.pairs[CodePageTable::PairIndex(first, second)] = DecodeOne(code_page, bytes, 2);
        }
    }
    return true;
}

}  // namespace

bool LoadSystemCodePage(CodePage page, CodePageTable& table) {
    switch (page) {
        case CodePage::kBig5:
            return LoadCodePage(950, table);
        case CodePage::kGb18030:
            // Not code page 54936: Wine has none, and Windows' follows the standard's 2000 edition,
            // which reads some characters as Private Use code points. Code page 936 with GB18030's
            // differences gives the same characters as on every other system.
            table = GetCodePageTable(CodePage::kCp936);
            if (table.pairs[CodePageTable::PairIndex(0xD6, 0xD0)] == 0)
                return false;  // no code page 936 either
            for (size_t i = 0; i < kGb18030DifferenceCount; ++i) {
                const Gb18030Difference& d = kGb18030Differences[i];
                for (unsigned k = 0; k < d.count; ++k)
                    table.pairs[CodePageTable::PairIndex(d.code >> 8, (d.code & 0xFF) + k)] = d.first_char + k;
            }
            return true;
        case CodePage::kCp936:
            break;
    }
    return LoadCodePage(936, table);
}
