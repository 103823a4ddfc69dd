#include "ui/form_resources.h"

#include <cstdint>

#include "ui/art/help_picture_art.h"
#include "ui/resources/resource_ids.h"
#include "win/dib_section.h"

HFONT CreateMessageFont() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
        return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    }
    return CreateFontIndirectW(&metrics.lfMessageFont);
}

HBITMAP CreateHelpPictureBitmap() {
    uint32_t* pixels = nullptr;
    HBITMAP bitmap = CreateTopDownDib32(kHelpPicture.width, kHelpPicture.height, &pixels);
    if (!bitmap)
        return nullptr;
    for (int y = 0; y < kHelpPicture.height; ++y) {
        for (int x = 0; x < kHelpPicture.width; ++x) {
            const Rgba c = kHelpPicture.At(x, y);
            const auto premultiply = [&](uint8_t v) { return static_cast<uint32_t>((v * c.alpha + 127) / 255); };
            pixels[y * kHelpPicture.width + x] = (static_cast<uint32_t>(c.alpha) << 24) | (premultiply(c.red) << 16) |
                                                 (premultiply(c.green) << 8) | premultiply(c.blue);
        }
    }
    GdiFlush();
    return bitmap;
}

FormResources::FormResources(HINSTANCE instance)
    : instance_(instance),
      font_(CreateMessageFont()),
      big_icon_(static_cast<HICON>(LoadImageW(instance,
                                              MAKEINTRESOURCEW(IDI_OPEN_BOOK),
                                              IMAGE_ICON,
                                              GetSystemMetrics(SM_CXICON),
                                              GetSystemMetrics(SM_CYICON),
                                              LR_SHARED))),
      small_icon_(static_cast<HICON>(LoadImageW(instance,
                                                MAKEINTRESOURCEW(IDI_OPEN_BOOK),
                                                IMAGE_ICON,
                                                GetSystemMetrics(SM_CXSMICON),
                                                GetSystemMetrics(SM_CYSMICON),
                                                LR_SHARED))),
      hand_cursor_(LoadCursorW(instance, MAKEINTRESOURCEW(IDC_POINTING_HAND))),
      help_picture_(CreateHelpPictureBitmap()) {
    if (!hand_cursor_)
        hand_cursor_ = LoadCursorW(nullptr, MAKEINTRESOURCEW(32649));  // IDC_HAND
}

void FormResources::DrawHelpPicture(HDC dc, int x, int y) const {
    if (!help_picture_)
        return;
    ScopedCreatedDC source(CreateCompatibleDC(dc));
    ScopedSelect selected(source.get(), help_picture_.get());
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    AlphaBlend(dc, x, y, kHelpPicture.width, kHelpPicture.height, source.get(), 0, 0, kHelpPicture.width,
               kHelpPicture.height, blend);
}
