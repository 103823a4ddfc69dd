#include "engine/skinned_window.h"

#include <unordered_map>

namespace {

// Only the user-interface thread attaches and serves skinned windows, so no lock is needed.
std::unordered_map<HWND, std::unique_ptr<SkinnedWindow>>& Records() {
    static std::unordered_map<HWND, std::unique_ptr<SkinnedWindow>> records;
    return records;
}

}  // namespace

SkinnedWindow* FindSkinnedWindow(HWND window) {
    auto& records = Records();
    auto found = records.find(window);
    return found == records.end() ? nullptr : found->second.get();
}

SkinnedWindow& AddSkinnedWindow(HWND window) {
    auto record = std::make_unique<SkinnedWindow>();
    record->hwnd = window;
    SkinnedWindow& added = *record;
    Records()[window] = std::move(record);
    return added;
}

void DropIfUnused(SkinnedWindow& window) {
    if (window.link == SkinLink::kDetached && window.calls_under_way == 0)
        Records().erase(window.hwnd);
}
