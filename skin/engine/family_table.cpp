#include <array>

#include "engine/family.h"
#include "families/check_option/check_option.h"
#include "families/combo/combo.h"
#include "families/frames/frames.h"
#include "families/header/header.h"
#include "families/push_button/push_button.h"

namespace {

struct FamilyRow {
    ControlKind kind;
    const Family* family;
};

// One row per kind, in the order of ControlKind: the size and the order are checked below, so
// a kind added without a family does not compile.
constexpr std::array kFamilyRows = {
    FamilyRow{ControlKind::kForm, &kFramesFamily},        FamilyRow{ControlKind::kPushButton, &kPushButtonFamily},
    FamilyRow{ControlKind::kCombo, &kComboFamily},        FamilyRow{ControlKind::kCheck, &kCheckOptionFamily},
    FamilyRow{ControlKind::kOption, &kCheckOptionFamily}, FamilyRow{ControlKind::kProgress, &kFramesFamily},
    FamilyRow{ControlKind::kHeader, &kHeaderFamily},      FamilyRow{ControlKind::kPlain, &kFramesFamily},
};

constexpr bool RowsFollowTheKinds() {
    for (size_t i = 0; i < kFamilyRows.size(); ++i) {
        if (kFamilyRows[i].kind != static_cast<ControlKind>(i) || kFamilyRows[i].family == nullptr)
            return false;
    }
    return true;
}

static_assert(kFamilyRows.size() == kControlKindCount, "every control kind needs a family row");
static_assert(RowsFollowTheKinds(), "family rows follow the order of ControlKind");

}  // namespace

const Family& FamilyOf(ControlKind kind) {
    return *kFamilyRows[static_cast<size_t>(kind)].family;
}
