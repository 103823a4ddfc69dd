// The skin's per-window state as other code sees it: window properties under fixed ANSI names.
// An unset property reads as 0.
#pragma once

#include <windows.h>

namespace prop {
inline constexpr char kProcAddr[] = "PROCADDR";
inline constexpr char kOldStyle[] = "OLDSTYLE";
inline constexpr char kMouseFlag[] = "MOUSEFLAG";
inline constexpr char kTimerId[] = "TIMERID";
inline constexpr char kOldState[] = "OLDSTATE";
inline constexpr char kAlphaLevel[] = "ALPHALEVEL";
inline constexpr char kHdIndex[] = "HDINDEX";
inline constexpr char kHmIndex[] = "HMINDEX";
inline constexpr const char* kFaceDc[4] = {"HDC0", "HDC1", "HDC2", "HDC3"};
inline constexpr const char* kFaceBitmap[4] = {"BMP0", "BMP1", "BMP2", "BMP3"};
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
