// Developer tool: draws the five skin bitmaps (every frame enlarged eight times) and a sheet
// of what the primitives make of them, and writes the picture as a BMP file.
//
//   skin_sheet [output.bmp|output.png]   (default: skin-sheet.bmp in the current folder)
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "paint/primitives.h"
#include "paint/skin_bitmaps.h"
#include "paint/skin_colours.h"
#include "win/gdi_handles.h"
#include "win_support/bitmap_file.h"
#include "win_support/pixel_canvas.h"

namespace {

constexpr int Scale = 8;
constexpr int SheetWidth = 1060;
constexpr int SheetHeight = 1130;
constexpr COLORREF Paper = RGB(236, 236, 236);
constexpr COLORREF Ink = RGB(40, 40, 40);
constexpr COLORREF Dialog = RGB(255, 255, 255);

struct Piece {
    const char* name;
    int x, y, width, height;
};

class Sheet {
  public:
    Sheet()
        : canvas_(SheetWidth, SheetHeight),
          font_(CreateFontW(-13, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma")) {
        canvas_.fill(Paper);
        SetBkMode(canvas_.dc(), TRANSPARENT);
        SetStretchBltMode(canvas_.dc(), COLORONCOLOR);
    }

    HDC dc() const { return canvas_.dc(); }
    const PixelCanvas& canvas() const { return canvas_; }

    void Caption(const char* text, int x, int y, int width = 400, COLORREF colour = Ink) {
        ScopedSelect font(dc(), font_.get());
        SetTextColor(dc(), colour);
        DrawTextBox(dc(), text, x, y, width, 16, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
    }

    // One bitmap, each piece enlarged with a thin frame around it; returns the height used.
    int Enlarged(HDC bitmap, const char* title, const Piece* pieces, int count, int x, int y) {
        Caption(title, x, y);
        int left = x, tallest = 0;
        for (int i = 0; i < count; ++i) {
            const Piece& p = pieces[i];
            const int w = p.width * Scale, h = p.height * Scale;
            Caption(p.name, left, y + 18, std::max(w + 8, 60));
            FrameSolid(dc(), left, y + 36, w + 2, h + 2, RGB(150, 150, 150));
            StretchBlt(dc(), left + 1, y + 37, w, h, bitmap, p.x, p.y, p.width, p.height, SRCCOPY);
            left += std::max(w + 2, 60) + 12;
            tallest = std::max(tallest, h + 2);
        }
        return 36 + tallest;
    }

  private:
    PixelCanvas canvas_;
    ScopedGdiObject<HFONT> font_;
};

const char* const StateNames[4] = {"normal", "hover", "pressed", "disabled"};

int DrawBitmaps(Sheet& sheet, int y) {
    const SkinBitmapSet& s = SkinBitmaps();
    const Piece button[] = {
        {"normal", 0, 0, 7, 21}, {"hover", 0, 21, 7, 21}, {"pressed", 0, 42, 7, 21}, {"disabled", 0, 63, 7, 21}};
    const Piece option[] = {
        {"normal", 0, 0, 13, 13}, {"hover", 0, 13, 13, 13}, {"pressed", 0, 26, 13, 13}, {"disabled", 0, 39, 13, 13}};
    const Piece header[] = {{"normal", 0, 0, 3, 20}, {"hover", 3, 0, 3, 20}, {"pressed", 6, 0, 3, 20}};
    const Piece combo[] = {{"hover", 0, 0, 4, 18},
                           {"pressed", 4, 0, 4, 18},
                           {"arrow", 8, 0, 7, 4},
                           {"disabled", 8, 4, 7, 4},
                           {"whole", 0, 0, 15, 18}};
    const Piece glyph[] = {{"check", 0, 0, 9, 8},     {"disabled", 9, 0, 9, 8}, {"square", 1, 9, 7, 7},
                           {"disabled", 10, 9, 7, 7}, {"dot", 2, 18, 5, 5},     {"disabled", 11, 18, 5, 5}};

    int used = sheet.Enlarged(s.button_skin, "ButtonSkin 7 x 84, frames 7 x 21 (x8)", button, 4, 10, y);
    sheet.Enlarged(s.option_skin, "OptionSkin 13 x 52, frames 13 x 13 (x8)", option, 4, 330, y);
    y += used + 14;
    used = sheet.Enlarged(s.combo_button_skin, "ComboButtonSkin 15 x 18 (x8)", combo, 5, 10, y);
    sheet.Enlarged(s.header_skin, "HeaderSkin 9 x 20, frames 3 x 20 (x8)", header, 3, 700, y);
    y += used + 14;
    used = sheet.Enlarged(s.glyph_skin, "GlyphSkin 18 x 24 (x8)", glyph, 6, 10, y);
    return y + used + 14;
}

// What the painters will make of the bitmaps: nine-sliced faces at real size, and keyed marks.
int DrawSamples(Sheet& sheet, int y) {
    HDC dc = sheet.dc();
    const SkinBitmapSet& s = SkinBitmaps();
    sheet.Caption("Push-button faces, nine-sliced from ButtonSkin (borders 3,3,3,3): 75 x 23 and 201 x 41", 10, y, 800);
    y += 20;
    FillSolid(dc, 10, y, 1040, 130, Dialog);
    for (int state = 0; state < 4; ++state) {
        const int x = 20 + state * 255;
        BlitSkinPiece(dc, x, y + 10, 75, 23, s.button_skin, 0, 21 * state, 7, 21, 3, 3, 3, 3);
        BlitSkinPiece(dc, x, y + 45, 201, 41, s.button_skin, 0, 21 * state, 7, 21, 3, 3, 3, 3);
        sheet.Caption(StateNames[state], x + 85, y + 14, 100);
        // A caption on the large face, as a button would show it.
        SetTextColor(dc, state == 3 ? kDisabledTextColour : RGB(0, 0, 0));
        DrawTextBox(dc, "Convert && Generate", x, y + 45, 201, 41, 0x8025);
        // The small face enlarged, to see its corners.
        SetStretchBltMode(dc, COLORONCOLOR);
        StretchBlt(dc, x, y + 92, 75 * 3 / 2, 23 * 3 / 2, dc, x, y + 10, 75, 23, SRCCOPY);
    }
    y += 140;

    sheet.Caption(
        "Keyed marks over coloured backgrounds (TransparentBlit / BlitSkinPiece with KeyColour), "
        "each also enlarged x4",
        10, y, 1000);
    y += 20;
    const COLORREF backgrounds[3] = {RGB(255, 214, 170), RGB(40, 120, 120), RGB(255, 255, 255)};
    for (int b = 0; b < 3; ++b) {
        const int top = y + b * 70;
        FillSolid(dc, 10, top, 1040, 64, backgrounds[b]);
        int x = 20;
        // Check marks, indeterminate squares and option dots, enabled and disabled.
        TransparentBlit(dc, x, top + 6, 9, 8, s.glyph_skin, 0, 0, kKeyColour);
        TransparentBlit(dc, x + 14, top + 6, 9, 8, s.glyph_skin, 9, 0, kKeyColour);
        TransparentBlit(dc, x + 28, top + 6, 7, 7, s.glyph_skin, 1, 9, kKeyColour);
        TransparentBlit(dc, x + 40, top + 6, 7, 7, s.glyph_skin, 10, 9, kKeyColour);
        TransparentBlit(dc, x + 52, top + 7, 5, 5, s.glyph_skin, 2, 18, kKeyColour);
        TransparentBlit(dc, x + 62, top + 7, 5, 5, s.glyph_skin, 11, 18, kKeyColour);
        TransparentBlit(dc, x + 72, top + 8, 7, 4, s.combo_button_skin, 8, 0, kKeyColour);
        TransparentBlit(dc, x + 84, top + 8, 7, 4, s.combo_button_skin, 8, 4, kKeyColour);
        StretchBlt(dc, x + 100, top + 2, 92 * 4, 14 * 4, dc, x, top + 2, 92, 14, SRCCOPY);
        // Option circles: real size, then nine-sliced larger (borders 5) with the dot inside.
        x = 500;
        for (int state = 0; state < 4; ++state) {
            BlitSkinPiece(dc, x + state * 18, top + 4, 13, 13, s.option_skin, 0, 13 * state, 13, 13, 5, 5, 5, 5,
                          kKeyColour);
            BlitSkinPiece(dc, x + state * 18, top + 24, 13, 13, s.option_skin, 0, 13 * state, 13, 13, 5, 5, 5, 5,
                          kKeyColour);
            TransparentBlit(dc, x + state * 18 + 4, top + 28, 5, 5, s.glyph_skin, state == 3 ? 11 : 2, 18, kKeyColour);
        }
        StretchBlt(dc, x + 80, top + 2, 72 * 4, 15 * 4, dc, x, top + 23, 72, 15, SRCCOPY);
    }
    y += 3 * 70 + 6;

    sheet.Caption("Check-box squares (frame + OptionSkin strip), combo drop buttons 17 x 21, header items 100 x 24", 10,
                  y, 1000);
    y += 20;
    FillSolid(dc, 10, y, 1040, 60, Dialog);
    // Check boxes: a 13 x 13 frame filled with the hover or pressed strip, with the mark.
    const struct {
        COLORREF frame;
        int stripY;  // -1: plain white
        int markX;
    } boxes[4] = {
        {kFrameColour, -1, 0}, {kFrameColour, 17, 0}, {kPressedFrameColour, 30, 0}, {kDisabledFrameColour, -1, 9}};
    for (int i = 0; i < 4; ++i) {
        const int x = 20 + i * 22;
        FrameSolid(dc, x, y + 8, 13, 13, boxes[i].frame);
        if (boxes[i].stripY < 0)
            FillSolid(dc, x + 1, y + 9, 11, 11, kWhite);
        else
            StretchBlt(dc, x + 1, y + 9, 11, 11, s.option_skin, 1, boxes[i].stripY, 11, 5, SRCCOPY);
        TransparentBlit(dc, x + 2, y + 10, 9, 8, s.glyph_skin, boxes[i].markX, 0, kKeyColour);
    }
    StretchBlt(dc, 20, y + 26, 88 * 2, 16 * 2, dc, 20, y + 6, 88, 16, SRCCOPY);
    // Combo drop buttons: a frame line, the face nine-sliced, the arrow keyed in the middle.
    for (int state = 0; state < 3; ++state) {
        const int x = 240 + state * 40;
        FrameSolid(dc, x, y + 8, 19, 23, kFrameColour);
        if (state > 0)
            BlitSkinPiece(dc, x + 1, y + 9, 17, 21, s.combo_button_skin, state == 1 ? 0 : 4, 0, 4, 18, 2, 1, 1, 1);
        else
            FillSolid(dc, x + 1, y + 9, 17, 21, kWhite);
        TransparentBlit(dc, x + 6, y + 18, 7, 4, s.combo_button_skin, 8, 0, kKeyColour);
    }
    // Header items across a header background.
    BlitSkinPiece(dc, 380, y + 8, 640, 24, s.header_skin, 1, 0, 1, 20, 0, 0, 0, 0);
    for (int state = 0; state < 3; ++state) {
        BlitSkinPiece(dc, 380 + state * 100, y + 8, 100, 24, s.header_skin, state * 3, 0, 3, 20, 1, 1, 1, 1);
        SetTextColor(dc, RGB(0, 0, 0));
        sheet.Caption(StateNames[state], 380 + state * 100 + 8, y + 12, 90);
    }
    return y + 66;
}

std::string Utf8(const std::wstring& text) {
    int length = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    if (length <= 1)
        return {};
    std::string out(static_cast<size_t>(length - 1), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, out.data(), length, nullptr, nullptr);
    return out;
}

std::wstring OutputPath() {
    int count = 0;
    LPWSTR* args = CommandLineToArgvW(GetCommandLineW(), &count);
    std::wstring path = L"skin-sheet.bmp";
    if (args && count > 1)
        path = args[1];
    if (args)
        LocalFree(args);
    return path;
}

}  // namespace

int main() {
    const std::wstring path = OutputPath();
    BuildSkinBitmaps();
    if (!SkinBitmaps().button_skin) {
        std::fprintf(stderr, "skin_sheet: the skin bitmaps could not be built\n");
        return 1;
    }
    int height = 0;
    {
        Sheet sheet;
        int y = DrawBitmaps(sheet, 10);
        y = DrawSamples(sheet, y);
        height = std::min(y + 4, SheetHeight);
        const bool png = path.size() > 4 && _wcsicmp(path.c_str() + path.size() - 4, L".png") == 0;
        const bool written = png ? WritePngFile(path, SheetWidth, height, sheet.canvas().bits())
                                 : WriteBmpFile(path, SheetWidth, height, sheet.canvas().bits());
        if (!written) {
            std::fprintf(stderr, "skin_sheet: cannot write %s\n", Utf8(path).c_str());
            ReleaseSkinBitmaps();
            return 1;
        }
    }
    ReleaseSkinBitmaps();
    std::printf("skin_sheet: wrote %s (%d x %d)\n", Utf8(path).c_str(), SheetWidth, height);
    return 0;
}
