#include "skin/engine/control_kind.h"

#include <array>

namespace {

struct KindRow {
    ControlKind kind;
    std::string_view lowerClassName;
};

// Rows are tested in this order. The "thunder" names are the program's own form and control
// classes; the others are the system's classes of the same kinds of window.
constexpr std::array<KindRow, 21> KindTable{{
    {FormKind, "#32770"},
    {FormKind, "thunderformdc"},
    {FormKind, "thunderrt6formdc"},
    {FormKind, "form"},
    {PushButtonKind, "thundercommandbutton"},
    {PushButtonKind, "thunderrt6commandbutton"},
    {PushButtonKind, "button"},
    {ComboKind, "thundercombobox"},
    {ComboKind, "thunderrt6combobox"},
    {ComboKind, "combo"},
    {ComboKind, "combobox"},
    {ComboKind, "thunderdrivelistbox"},
    {ComboKind, "thunderrt6drivelistbox"},
    {CheckKind, "thundercheckbox"},
    {CheckKind, "thunderrt6checkbox"},
    {OptionKind, "thunderoptionbutton"},
    {OptionKind, "thunderrt6optionbutton"},
    {ProgressKind, "progressbar20wndclass"},
    {ProgressKind, "progressbarwndclass"},
    {HeaderKind, "msvb_lib_header"},
    {HeaderKind, "sysheader32"},
}};

}  // namespace

std::string GetWindowClassName(HWND window) {
    std::string buffer(255, '\0');
    int length = GetClassNameA(window, buffer.data(), 255);
    if (length == 0)
        return {};
    buffer.resize(buffer.find('\0') == std::string::npos ? buffer.size() : buffer.find('\0'));
    return buffer;
}

std::string GetLowerClassName(HWND window) {
    std::string name = GetWindowClassName(window);
    for (char& c : name) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return name;
}

ControlKind FindControlKind(std::string_view lowerClassName) {
    for (const KindRow& row : KindTable) {
        if (row.lowerClassName == lowerClassName)
            return row.kind;
    }
    return PlainKind;
}

ControlKind ControlKindOf(HWND window) {
    return FindControlKind(GetLowerClassName(window));
}
