// The pictures of a skinned push button and their one owner: four pre-rendered faces (states 0
// normal, 1 hover, 2 pressed, 3 disabled) and the picture the window shows, which each fade step
// blends a face into in place, so that no step has to read the screen back.
#pragma once

#include <windows.h>

#include <array>
#include <string>

#include "paint/dib_surface.h"

inline constexpr int kButtonStateCount = 4;

// One face: the ButtonSkin frame of the state stretched over width x height, the caption in
// the font (black, or the disabled colour for state 3) and, when focused, the focus box.
void PaintButtonFace(HDC face, int width, int height, int state, const std::string& caption, HFONT font, bool focused);

class ButtonFaces {
  public:
    // Makes (or remakes) the faces and the shown picture at the size; the shown picture takes
    // face `state` once the faces are rendered. False when a picture could not be made.
    bool Resize(int width, int height);
    // Renders the four faces from the window's caption, font and focus.
    void Render(HWND window);
    // Frees every picture.
    void Release();

    // Stores "HDCn" and "BMPn" on the window for the four faces, or removes them.
    void Publish(HWND window) const;
    static void Withdraw(HWND window);

    // Blends face `state` over the shown picture with constant opacity level (0-255, clamped)
    // and copies the result to dc. Nothing for a state outside 0-3 or a face that is missing.
    void BlendOnto(HDC dc, int state, int level);
    // The shown picture becomes face `state` (nothing for a state outside 0-3).
    void ShowFace(int state);
    // Copies the shown picture to dc.
    void Present(HDC dc) const;

    const DibSurface& face(int state) const { return faces_[state]; }
    const DibSurface& shown() const { return shown_; }

  private:
    std::array<DibSurface, kButtonStateCount> faces_;
    DibSurface shown_;
};
