// Build-time tool, compiled with the host compiler: writes the icon and cursor files that the
// resource compiler embeds, from the same pixel tables the program draws with.
//   write_art_files OUTPUT_FOLDER
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "ui/art/hand_cursor_art.h"
#include "ui/art/open_book_art.h"

namespace {

void Put16(std::vector<uint8_t>& out, uint32_t value) {
    out.push_back(value & 0xFF);
    out.push_back((value >> 8) & 0xFF);
}

void Put32(std::vector<uint8_t>& out, uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

int RowBytes(int width, int bits) {
    return ((width * bits + 31) / 32) * 4;
}

// The AND mask: 1 for transparent pixels, rows bottom-up.
void AppendMask(std::vector<uint8_t>& out, const PixelArt& art) {
    const int stride = RowBytes(art.width, 1);
    for (int y = art.height - 1; y >= 0; --y) {
        std::vector<uint8_t> row(stride, 0);
        for (int x = 0; x < art.width; ++x) {
            if (art.At(x, y).alpha == 0)
                row[x / 8] |= 0x80 >> (x % 8);
        }
        out.insert(out.end(), row.begin(), row.end());
    }
}

void AppendInfoHeader(std::vector<uint8_t>& out, const PixelArt& art, int bits, int colours) {
    Put32(out, 40);
    Put32(out, art.width);
    Put32(out, art.height * 2);  // colour bits and mask together
    Put16(out, 1);
    Put16(out, bits);
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, colours);
    Put32(out, 0);
}

// A 24-bit icon image: header, colour bits (black under the mask), mask.
std::vector<uint8_t> IconImage(const PixelArt& art) {
    std::vector<uint8_t> out;
    AppendInfoHeader(out, art, 24, 0);
    const int stride = RowBytes(art.width, 24);
    for (int y = art.height - 1; y >= 0; --y) {
        std::vector<uint8_t> row(stride, 0);
        for (int x = 0; x < art.width; ++x) {
            const Rgba c = art.At(x, y);
            if (c.alpha == 0)
                continue;
            row[x * 3] = c.blue;
            row[x * 3 + 1] = c.green;
            row[x * 3 + 2] = c.red;
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    AppendMask(out, art);
    return out;
}

// A monochrome cursor image: header, black and white palette, colour bits (1 = white), mask.
std::vector<uint8_t> CursorImage(const PixelArt& art) {
    std::vector<uint8_t> out;
    AppendInfoHeader(out, art, 1, 2);
    Put32(out, 0x00000000);
    Put32(out, 0x00FFFFFF);
    const int stride = RowBytes(art.width, 1);
    for (int y = art.height - 1; y >= 0; --y) {
        std::vector<uint8_t> row(stride, 0);
        for (int x = 0; x < art.width; ++x) {
            const Rgba c = art.At(x, y);
            if (c.alpha != 0 && c.red > 127)
                row[x / 8] |= 0x80 >> (x % 8);
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    AppendMask(out, art);
    return out;
}

struct DirectoryImage {
    const PixelArt* art;
    std::vector<uint8_t> bits;
    uint16_t planes_or_hot_x;
    uint16_t bit_count_or_hot_y;
};

// type 1: icon, 2: cursor.
std::vector<uint8_t> Directory(uint16_t type, const std::vector<DirectoryImage>& images) {
    std::vector<uint8_t> out;
    Put16(out, 0);
    Put16(out, type);
    Put16(out, static_cast<uint32_t>(images.size()));
    uint32_t offset = 6 + 16 * static_cast<uint32_t>(images.size());
    for (const DirectoryImage& image : images) {
        out.push_back(static_cast<uint8_t>(image.art->width & 0xFF));
        out.push_back(static_cast<uint8_t>(image.art->height & 0xFF));
        out.push_back(type == 2 ? 2 : 0);
        out.push_back(0);
        Put16(out, image.planes_or_hot_x);
        Put16(out, image.bit_count_or_hot_y);
        Put32(out, static_cast<uint32_t>(image.bits.size()));
        Put32(out, offset);
        offset += static_cast<uint32_t>(image.bits.size());
    }
    for (const DirectoryImage& image : images)
        out.insert(out.end(), image.bits.begin(), image.bits.end());
    return out;
}

bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: write_art_files OUTPUT_FOLDER\n");
        return 2;
    }
    const std::string folder = argv[1];
    const std::vector<uint8_t> icon =
        Directory(1, {{&kOpenBook32, IconImage(kOpenBook32), 1, 24}, {&kOpenBook16, IconImage(kOpenBook16), 1, 24}});
    const std::vector<uint8_t> cursor =
        Directory(2, {{&kHandCursor, CursorImage(kHandCursor), kHandCursorHotSpotX, kHandCursorHotSpotY}});
    if (!WriteFile(folder + "/open_book.ico", icon) || !WriteFile(folder + "/hand.cur", cursor)) {
        std::fprintf(stderr, "write_art_files: cannot write into %s\n", folder.c_str());
        return 1;
    }
    return 0;
}
