// What both forms draw with: the system's message font, the icon, the pointing hand and the
// help picture. Made once by the program and shared by the main and the help window.
#pragma once

#include "ui/win32.h"

#include "win/gdi_handles.h"

class FormResources {
  public:
    explicit FormResources(HINSTANCE instance);
    FormResources(const FormResources&) = delete;
    FormResources& operator=(const FormResources&) = delete;

    HINSTANCE instance() const { return instance_; }
    HFONT font() const { return font_.get(); }
    HICON big_icon() const { return big_icon_; }
    HICON small_icon() const { return small_icon_; }
    HCURSOR hand_cursor() const { return hand_cursor_; }
    // Blends the help picture onto dc with its top left corner at (x, y).
    void DrawHelpPicture(HDC dc, int x, int y) const;

  private:
    HINSTANCE instance_;
    ScopedGdiObject<HFONT> font_;
    HICON big_icon_;  // shared resource icons: the system frees them
    HICON small_icon_;
    HCURSOR hand_cursor_;
    ScopedBitmap help_picture_;  // 32-bit premultiplied alpha
};

// The font that message boxes use: the user-interface font of the system's language.
HFONT CreateMessageFont();
// The help picture as a 32-bit top-down DIB section with premultiplied alpha.
HBITMAP CreateHelpPictureBitmap();
