#include "engine/control_kind.h"

#include <algorithm>
#include <iterator>

namespace {

struct KindRow {
    ControlKind kind;
    std::string_view lower_class_name;
};

// The "thunder" names are the program's own form and control classes; the others are the
// system's classes of the same kinds of window. The size comes from the rows themselves, so a
// row cannot go missing into a default-filled slot.
constexpr KindRow kKindRows[] = {
    {ControlKind::kForm, "#32770"},
    {ControlKind::kForm, "thunderformdc"},
    {ControlKind::kForm, "thunderrt6formdc"},
    {ControlKind::kForm, "form"},
    {ControlKind::kPushButton, "thundercommandbutton"},
    {ControlKind::kPushButton, "thunderrt6commandbutton"},
    {ControlKind::kPushButton, "button"},
    {ControlKind::kCombo, "thundercombobox"},
    {ControlKind::kCombo, "thunderrt6combobox"},
    {ControlKind::kCombo, "combo"},
    {ControlKind::kCombo, "combobox"},
    {ControlKind::kCombo, "thunderdrivelistbox"},
    {ControlKind::kCombo, "thunderrt6drivelistbox"},
    {ControlKind::kCheck, "thundercheckbox"},
    {ControlKind::kCheck, "thunderrt6checkbox"},
    {ControlKind::kOption, "thunderoptionbutton"},
    {ControlKind::kOption, "thunderrt6optionbutton"},
    {ControlKind::kProgress, "progressbar20wndclass"},
    {ControlKind::kProgress, "progressbarwndclass"},
    {ControlKind::kHeader, "msvb_lib_header"},
    {ControlKind::kHeader, "sysheader32"},
};

constexpr bool EveryKindHasAClass() {
    for (size_t kind = 0; kind < kControlKindCount; ++kind) {
        if (static_cast<ControlKind>(kind) == ControlKind::kPlain)
            continue;
        if (std::none_of(std::begin(kKindRows), std::end(kKindRows),
                         [&](const KindRow& row) { return row.kind == static_cast<ControlKind>(kind); }))
            return false;
    }
    return true;
}

constexpr bool NamesAreLowerCaseAndPresent() {
    for (const KindRow& row : kKindRows) {
        if (row.lower_class_name.empty() || row.kind == ControlKind::kPlain)
            return false;
        for (char c : row.lower_class_name) {
            if (c >= 'A' && c <= 'Z')
                return false;
        }
    }
    return true;
}

static_assert(EveryKindHasAClass(), "every skinned kind needs at least one class name");
static_assert(NamesAreLowerCaseAndPresent(), "class names are matched after lower-casing");

}  // namespace

std::string GetWindowClassName(HWND window) {
    char buffer[256] = {};
    int length = GetClassNameA(window, buffer, 255);
    return length > 0 ? std::string(buffer, static_cast<size_t>(length)) : std::string();
}

std::string GetLowerClassName(HWND window) {
    std::string name = GetWindowClassName(window);
    for (char& c : name) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return name;
}

ControlKind FindControlKind(std::string_view lower_class_name) {
    for (const KindRow& row : kKindRows) {
        if (row.lower_class_name == lower_class_name)
            return row.kind;
    }
    return ControlKind::kPlain;
}

ControlKind ControlKindOf(HWND window) {
    return FindControlKind(GetLowerClassName(window));
}
