// The kinds of window the skin tells apart, by their lower-cased class name. A window's kind is
// decided once, when the skin is attached, and kept with the window.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <string_view>

enum class ControlKind {
    kForm,
    kPushButton,
    kCombo,
    kCheck,
    kOption,
    kProgress,
    kHeader,
    kPlain,  // stays last: it closes the count below
};
inline constexpr size_t kControlKindCount = static_cast<size_t>(ControlKind::kPlain) + 1;

// The window's class name as GetClassNameA reports it (empty on failure).
std::string GetWindowClassName(HWND window);
// ASCII lower case of GetWindowClassName.
std::string GetLowerClassName(HWND window);
// Kind of a lower-cased class name: exact match against the class table; kPlain otherwise.
ControlKind FindControlKind(std::string_view lower_class_name);
ControlKind ControlKindOf(HWND window);
