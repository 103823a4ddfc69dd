// Classification of windows into control kinds by their lower-cased class name.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

enum ControlKind {
    FormKind,
    PushButtonKind,
    ComboKind,
    CheckKind,
    OptionKind,
    ProgressKind,
    HeaderKind,
    PlainKind,
};

// The window's class name as GetClassNameA reports it (empty on failure).
std::string GetWindowClassName(HWND window);
// ASCII lower case of GetWindowClassName.
std::string GetLowerClassName(HWND window);
// Kind of a lower-cased class name: table rows tested in order, exact match; PlainKind otherwise.
ControlKind FindControlKind(std::string_view lowerClassName);
ControlKind ControlKindOf(HWND window);
