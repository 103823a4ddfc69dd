// Small non-copyable holders for GDI and user handles that one function creates and frees.
// Long-lived handles (the skin bitmaps, the button faces) have one owner and are not held here.
#pragma once

#include <windows.h>

#include <utility>

// Any GDI object (brush, bitmap, region, palette, font) that the holder deletes.
template <typename T>
class ScopedGdiObject {
  public:
    ScopedGdiObject() = default;
    explicit ScopedGdiObject(T object) : object_(object) {}
    ScopedGdiObject(const ScopedGdiObject&) = delete;
    ScopedGdiObject& operator=(const ScopedGdiObject&) = delete;
    ScopedGdiObject(ScopedGdiObject&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    ~ScopedGdiObject() {
        if (object_)
            DeleteObject(object_);
    }
    T get() const { return object_; }
    explicit operator bool() const { return object_ != nullptr; }
    // Gives up ownership, for handles that the system takes over (SetWindowRgn).
    T release() { return std::exchange(object_, nullptr); }

  private:
    T object_ = nullptr;
};

using ScopedBrush = ScopedGdiObject<HBRUSH>;
using ScopedBitmap = ScopedGdiObject<HBITMAP>;
using ScopedRegion = ScopedGdiObject<HRGN>;
using ScopedPalette = ScopedGdiObject<HPALETTE>;

// A DC made with CreateDCA / CreateCompatibleDC, freed with DeleteDC.
class ScopedCreatedDC {
  public:
    explicit ScopedCreatedDC(HDC dc) : dc_(dc) {}
    ScopedCreatedDC(const ScopedCreatedDC&) = delete;
    ScopedCreatedDC& operator=(const ScopedCreatedDC&) = delete;
    ~ScopedCreatedDC() {
        if (dc_)
            DeleteDC(dc_);
    }
    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }
    HDC release() { return std::exchange(dc_, nullptr); }

  private:
    HDC dc_;
};

// A window's DC taken with GetWindowDC (whole window) or GetDC (client area), given back
// with ReleaseDC.
class ScopedWindowDC {
  public:
    enum Area { kWholeWindow, kClientArea };
    explicit ScopedWindowDC(HWND window, Area area = kWholeWindow)
        : window_(window), dc_(area == kWholeWindow ? GetWindowDC(window) : GetDC(window)) {}
    ScopedWindowDC(const ScopedWindowDC&) = delete;
    ScopedWindowDC& operator=(const ScopedWindowDC&) = delete;
    ~ScopedWindowDC() {
        if (dc_)
            ReleaseDC(window_, dc_);
    }
    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

  private:
    HWND window_;
    HDC dc_;
};

// The DC a painter draws into: the caller's when it gives one (the paint DC of WM_PAINT),
// otherwise the window's own, taken for this call and given back at scope exit.
class ScopedTargetDC {
  public:
    ScopedTargetDC(HWND window, HDC given)
        : window_(window), dc_(given ? given : GetWindowDC(window)), owned_(given == nullptr) {}
    ScopedTargetDC(const ScopedTargetDC&) = delete;
    ScopedTargetDC& operator=(const ScopedTargetDC&) = delete;
    ~ScopedTargetDC() {
        if (owned_ && dc_)
            ReleaseDC(window_, dc_);
    }
    HDC get() const { return dc_; }

  private:
    HWND window_;
    HDC dc_;
    bool owned_;
};

// BeginPaint / EndPaint.
class ScopedPaint {
  public:
    explicit ScopedPaint(HWND window) : window_(window) { dc_ = BeginPaint(window, &paint_); }
    ScopedPaint(const ScopedPaint&) = delete;
    ScopedPaint& operator=(const ScopedPaint&) = delete;
    ~ScopedPaint() { EndPaint(window_, &paint_); }
    HDC get() const { return dc_; }
    const PAINTSTRUCT& info() const { return paint_; }

  private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// Selects an object into a DC and puts the previous one back on scope exit.
class ScopedSelect {
  public:
    ScopedSelect(HDC dc, HGDIOBJ object) : dc_(dc), previous_(object ? SelectObject(dc, object) : nullptr) {}
    ScopedSelect(const ScopedSelect&) = delete;
    ScopedSelect& operator=(const ScopedSelect&) = delete;
    ~ScopedSelect() {
        if (previous_)
            SelectObject(dc_, previous_);
    }

  private:
    HDC dc_;
    HGDIOBJ previous_;
};

// Selects a palette into a DC (forced to background) and realises it; on scope exit puts the
// DC's previous palette back, realised, with the given background flag, so the palette can
// then be deleted.
class ScopedSelectPalette {
  public:
    ScopedSelectPalette(HDC dc, HPALETTE palette, BOOL restore_forced = FALSE)
        : dc_(dc), restore_forced_(restore_forced) {
        if (dc_ && palette) {
            previous_ = SelectPalette(dc_, palette, TRUE);
            RealizePalette(dc_);
        }
    }
    ScopedSelectPalette(const ScopedSelectPalette&) = delete;
    ScopedSelectPalette& operator=(const ScopedSelectPalette&) = delete;
    ~ScopedSelectPalette() {
        if (previous_) {
            SelectPalette(dc_, previous_, restore_forced_);
            RealizePalette(dc_);
        }
    }

  private:
    HDC dc_;
    BOOL restore_forced_;
    HPALETTE previous_ = nullptr;
};
