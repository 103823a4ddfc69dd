// What the skin keeps with each window it has subclassed: the kind decided at attach, the
// procedure it replaced and the family's own data. Kept in a table of the engine rather than in
// window properties, so that routing a message costs no property look-up.
#pragma once

#include <windows.h>

#include <memory>

#include "engine/control_kind.h"

struct Family;

// A family's per-window data beyond the published properties.
class FamilyData {
  public:
    virtual ~FamilyData() = default;
};

enum class SkinLink {
    kAttached,    // skinned; SkinWindowProc serves the window
    kForwarding,  // skin removed, but a later subclass still calls SkinWindowProc: it passes all on
    kDetached,    // skin removed and out of the chain; the record goes when no call uses it
};

struct SkinnedWindow {
    HWND hwnd = nullptr;
    WNDPROC old_proc = nullptr;
    ControlKind kind = ControlKind::kPlain;
    const Family* family = nullptr;
    SkinLink link = SkinLink::kAttached;
    int calls_under_way = 0;
    std::unique_ptr<FamilyData> data;
};

// The record of a window, attached or still forwarding; null for any other window.
SkinnedWindow* FindSkinnedWindow(HWND window);
// A new record for a window that has none.
SkinnedWindow& AddSkinnedWindow(HWND window);
// Removes a detached record once no message call on its window is under way.
void DropIfUnused(SkinnedWindow& window);

// Holds a record alive for the length of one message call on its window.
class CallOnWindow {
  public:
    explicit CallOnWindow(SkinnedWindow& window) : window_(window) { ++window_.calls_under_way; }
    CallOnWindow(const CallOnWindow&) = delete;
    CallOnWindow& operator=(const CallOnWindow&) = delete;
    ~CallOnWindow() {
        --window_.calls_under_way;
        DropIfUnused(window_);
    }

  private:
    SkinnedWindow& window_;
};

// Calls the replaced window procedure with the message exactly as received. The wide entry
// point keeps text messages in Unicode whatever the system's ANSI code page is.
inline LRESULT PassOn(const SkinnedWindow& window, UINT message, WPARAM w_param, LPARAM l_param) {
    return CallWindowProcW(window.old_proc, window.hwnd, message, w_param, l_param);
}

// The window's own procedure may take the skin off while it handles a message: a click whose
// code unskins or destroys the form. Whatever a handler does after passing a message on is
// skipped then, so that no property, fade timer or drawing of the skin is left behind on a
// window that no longer carries it.
inline bool StillSkinned(const SkinnedWindow& window) {
    return window.link == SkinLink::kAttached;
}

// Passes the message on, then does what the family does after it unless the pass-on took the
// skin off; the old procedure's answer is returned either way.
template <typename After>
LRESULT PassOnThen(SkinnedWindow& window, UINT message, WPARAM w_param, LPARAM l_param, After after) {
    LRESULT result = PassOn(window, message, w_param, l_param);
    if (StillSkinned(window))
        after();
    return result;
}

// The family data of a window, of the type its family stores (null when there is none).
template <typename Data>
Data* DataOf(const SkinnedWindow& window) {
    return static_cast<Data*>(window.data.get());
}
