// The skin's per-window state, kept as window properties under fixed ANSI names.
// An unset property reads as 0.
#pragma once

#include <windows.h>

#include <cstdint>

namespace prop {
inline constexpr const char ProcAddr[] = "PROCADDR";
inline constexpr const char OldStyle[] = "OLDSTYLE";
inline constexpr const char MouseFlag[] = "MOUSEFLAG";
inline constexpr const char TimerId[] = "TIMERID";
inline constexpr const char OldState[] = "OLDSTATE";
inline constexpr const char AlphaLevel[] = "ALPHALEVEL";
inline constexpr const char HdIndex[] = "HDINDEX";
inline constexpr const char HmIndex[] = "HMINDEX";
inline constexpr const char* const FaceDc[4] = {"HDC0", "HDC1", "HDC2", "HDC3"};
inline constexpr const char* const FaceBitmap[4] = {"BMP0", "BMP1", "BMP2", "BMP3"};
}  // namespace prop

inline INT_PTR GetSkinProp(HWND window, const char* name) {
    return reinterpret_cast<INT_PTR>(GetPropA(window, name));
}
inline void SetSkinProp(HWND window, const char* name, INT_PTR value) {
    SetPropA(window, name, reinterpret_cast<HANDLE>(value));
}
inline void RemoveSkinProp(HWND window, const char* name) {
    RemovePropA(window, name);
}
