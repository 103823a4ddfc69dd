#include "win_support/bitmap_file.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

namespace {

template <typename T>
void Put(std::vector<uint8_t>& out, size_t at, T value) {
    std::memcpy(out.data() + at, &value, sizeof(value));
}

void AppendBigEndian(std::vector<uint8_t>& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<uint8_t>(value >> shift));
}

uint32_t Crc32(const uint8_t* data, size_t length) {
    static const auto table = [] {
        std::vector<uint32_t> entries(256);
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            entries[n] = c;
        }
        return entries;
    }();
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < length; ++i)
        crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

void AppendChunk(std::vector<uint8_t>& png, const char* type, const std::vector<uint8_t>& data) {
    AppendBigEndian(png, static_cast<uint32_t>(data.size()));
    std::vector<uint8_t> typed(type, type + 4);
    typed.insert(typed.end(), data.begin(), data.end());
    png.insert(png.end(), typed.begin(), typed.end());
    AppendBigEndian(png, Crc32(typed.data(), typed.size()));
}

// A zlib stream of stored blocks (at most 65535 bytes each) followed by its Adler-32.
std::vector<uint8_t> StoredZlib(const std::vector<uint8_t>& raw) {
    std::vector<uint8_t> z = {0x78, 0x01};
    size_t offset = 0;
    do {
        size_t length = std::min<size_t>(65535, raw.size() - offset);
        bool last = offset + length == raw.size();
        z.push_back(last ? 1 : 0);
        z.push_back(static_cast<uint8_t>(length & 0xFF));
        z.push_back(static_cast<uint8_t>(length >> 8));
        z.push_back(static_cast<uint8_t>(~length & 0xFF));
        z.push_back(static_cast<uint8_t>((~length >> 8) & 0xFF));
        z.insert(z.end(), raw.begin() + offset, raw.begin() + offset + length);
        offset += length;
    } while (offset < raw.size());
    uint32_t a = 1, b = 0;
    for (uint8_t byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    AppendBigEndian(z, (b << 16) | a);
    return z;
}

bool WriteBytes(const std::wstring& path, const std::vector<uint8_t>& bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    BOOL closed = CloseHandle(file);
    return ok && closed && written == bytes.size();
}

}  // namespace

std::vector<uint8_t> EncodeBmp(int width, int height, const uint32_t* pixels) {
    const size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~static_cast<size_t>(3);
    const size_t headers = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    std::vector<uint8_t> out(headers + stride * height, 0);

    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;  // "BM"
    file.bfSize = static_cast<DWORD>(out.size());
    file.bfOffBits = static_cast<DWORD>(headers);
    BITMAPINFOHEADER info{};
    info.biSize = sizeof(info);
    info.biWidth = width;
    info.biHeight = height;  // positive: bottom-up rows
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    info.biSizeImage = static_cast<DWORD>(stride * height);
    Put(out, 0, file);
    Put(out, sizeof(file), info);

    for (int y = 0; y < height; ++y) {
        uint8_t* row = out.data() + headers + stride * (height - 1 - y);
        for (int x = 0; x < width; ++x) {
            uint32_t word = pixels[static_cast<size_t>(y) * width + x];
            row[3 * x] = word & 0xFF;              // blue
            row[3 * x + 1] = (word >> 8) & 0xFF;   // green
            row[3 * x + 2] = (word >> 16) & 0xFF;  // red
        }
    }
    return out;
}

std::vector<uint8_t> EncodePng(int width, int height, const uint32_t* pixels) {
    // Raw scanlines: filter byte 0, then RGB.
    std::vector<uint8_t> raw;
    raw.reserve(static_cast<size_t>(height) * (1 + 3 * static_cast<size_t>(width)));
    for (int y = 0; y < height; ++y) {
        raw.push_back(0);
        for (int x = 0; x < width; ++x) {
            uint32_t word = pixels[static_cast<size_t>(y) * width + x];
            raw.push_back(static_cast<uint8_t>(word >> 16));
            raw.push_back(static_cast<uint8_t>(word >> 8));
            raw.push_back(static_cast<uint8_t>(word));
        }
    }

    std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    std::vector<uint8_t> header;
    AppendBigEndian(header, static_cast<uint32_t>(width));
    AppendBigEndian(header, static_cast<uint32_t>(height));
    header.insert(header.end(), {8, 2, 0, 0, 0});  // 8-bit RGB, deflate, no filter choice, no interlace
    AppendChunk(png, "IHDR", header);
    AppendChunk(png, "IDAT", StoredZlib(raw));
    AppendChunk(png, "IEND", {});
    return png;
}

bool WriteBmpFile(const std::wstring& path, int width, int height, const uint32_t* pixels) {
    return WriteBytes(path, EncodeBmp(width, height, pixels));
}

bool WritePngFile(const std::wstring& path, int width, int height, const uint32_t* pixels) {
    return WriteBytes(path, EncodePng(width, height, pixels));
}
