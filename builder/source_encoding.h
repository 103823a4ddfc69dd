// How a source text is written, told from its bytes, and the character-level work on it: stepping
// by characters, decoding to UTF-8, and telling when its bytes can be written as code page 936
// as they are.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

enum class SourceEncoding { kGb18030, kBig5, kUtf8, kUtf16Le, kUtf16Be };

struct EncodingChoice {
    SourceEncoding encoding = SourceEncoding::kGb18030;
    size_t bom_length = 0;  // bytes of a byte-order mark at the start, skipped when reading
};

// Decides how to read a source from its bytes, in this order: a byte-order mark (UTF-8, UTF-16,
// GB18030); valid UTF-8 with at least one multi-byte sequence -> UTF-8 (unless all of them are
// two-byte sequences whose GBK reading is Chinese text); UTF-16 LE/BE without a mark, recognised
// by its zero bytes, or without them when its reading is clearly Chinese; otherwise Chinese
// double-byte text: GB18030 (which reads GBK text the same) or Big5, decided by how common the
// decoded characters are (both decodings of 64 KB from the first non-ASCII byte on); GB18030 when
// in doubt. Texts of a character or two can be read either way and may be taken for GB18030.
EncodingChoice DetectSourceEncoding(std::string_view bytes);

class SourceText;
// The same for a source read through a window, from its start: only the parts that
// DetectSourceEncoding looks at are read (the start, and a sample from the first byte above 0x7F
// on, which in a text of ASCII first is found by reading on). False, with the system's reason,
// when reading fails.
bool DetectSourceEncoding(SourceText& text, EncodingChoice* choice, std::string& reason);

// For people: "utf-8 (no BOM)", "utf-8 (BOM)", "utf-16le (BOM)", "utf-16be (no BOM)", "gbk"
// (GB18030 text without four-byte sequences), "gb18030", "gb18030 (BOM)", "big5".
// `four_byte_chars`: the GB18030 text holds four-byte sequences.
std::string DescribeEncoding(const EncodingChoice& choice, bool four_byte_chars);

// Moves forward by up to `chars` characters (code points; a byte that starts no character counts
// as one, as do an unpaired surrogate and an odd last byte of UTF-16) from byte `pos`, which must
// start a character; returns the new byte position and stores the number passed in `passed`
// (fewer at the end of the text). Never cuts a character.
size_t AdvanceSourceChars(std::string_view bytes, size_t pos, size_t chars, SourceEncoding encoding, size_t* passed);

// Appends the text as UTF-8; bytes that no decoding accepts become U+FFFD, one per character as
// AdvanceSourceChars counts them. `bytes` starts at a character (after any byte-order mark).
void DecodeSourceText(std::string_view bytes, SourceEncoding encoding, std::string& utf8);

// True when these bytes (a whole piece of a source in `encoding`) are already exactly what
// decoding them and writing them in code page 936 (platform::EncodeCp936) would give, so they may
// be written as they are: ASCII, and GB18030 text whose characters code page 936 reads alike.
bool WritableAsCp936(std::string_view bytes, SourceEncoding encoding);

// AdvanceSourceChars from the start of `bytes` and WritableAsCp936 of what it passed, in one pass
// over GB18030 text.
size_t AdvanceWritableChars(std::string_view bytes,
                            size_t chars,
                            SourceEncoding encoding,
                            size_t* passed,
                            bool* writable);
