#include "tests/skin_paint/bmp_file.h"

#include <cstring>

namespace {

template <typename T>
void Put(std::vector<uint8_t>& out, size_t at, T value) {
    std::memcpy(out.data() + at, &value, sizeof(value));
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

bool WriteBmpFile(const std::wstring& path, int width, int height, const uint32_t* pixels) {
    std::vector<uint8_t> bytes = EncodeBmp(width, height, pixels);
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size();
}
