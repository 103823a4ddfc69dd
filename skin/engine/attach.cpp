#include "engine/attach.h"

#include "engine/engine.h"
#include "engine/family.h"
#include "engine/window_proc.h"
#include "engine/window_props.h"

namespace {

// Frame and client area are drawn again at once, by whichever procedure now owns the window.
void RedrawWhole(HWND window) {
    SendMessageW(window, WM_NCPAINT, 1, 0);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_INTERNALPAINT);
}

bool SkinProcedureOnTop(HWND window) {
    return GetWindowLongPtrW(window, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&SkinWindowProc);
}

}  // namespace

int AttachSkin(HWND window) {
    if (!window)
        return 0;
    SkinnedWindow* record = FindSkinnedWindow(window);
    if (record && record->link == SkinLink::kAttached)
        return 0;
    // The engine and its state belong to this thread. A window of another thread or program
    // (another program's dialog box that takes the activation, say) is left alone: its buttons
    // would be switched to owner-drawn with nobody to draw them, and a subclassing that cannot
    // happen would leave it counted for ever.
    if (GetWindowThreadProcessId(window, nullptr) != GetCurrentThreadId())
        return 0;

    const ControlKind kind = ControlKindOf(window);
    if (kind == ControlKind::kForm)
        EnumChildWindows(window, AttachChildProc, 0);

    // A record still forwarding means SkinWindowProc is still in the window's chain, under a
    // later subclass: it serves the window again without a second subclassing, which would
    // make the chain call itself.
    const bool in_chain = record && record->link == SkinLink::kForwarding;
    if (!record)
        record = &AddSkinnedWindow(window);
    record->kind = kind;
    record->family = &FamilyOf(kind);
    record->family->attach(*record);

    CountAttachedWindow();
    record->link = SkinLink::kAttached;
    if (!in_chain) {
        record->old_proc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SkinWindowProc)));
    }
    SetSkinProp(window, prop::kProcAddr, reinterpret_cast<INT_PTR>(record->old_proc));
    RedrawWhole(window);
    return 1;
}

int DetachSkin(HWND window) {
    if (!window)
        return 0;
    SkinnedWindow* record = FindSkinnedWindow(window);
    if (!record || record->link != SkinLink::kAttached)
        return 0;
    CallOnWindow keep(*record);

    if (record->kind == ControlKind::kForm)
        EnumChildWindows(window, DetachChildProc, 0);
    record->family->detach(*record);
    RemoveSkinProp(window, prop::kProcAddr);

    // Putting the old procedure back is only right while the skin's is the window's own: a
    // subclass installed after the skin still calls SkinWindowProc, and would be cut out. The
    // skin then stays in the chain and passes every message on.
    if (SkinProcedureOnTop(window)) {
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(record->old_proc));
        record->link = SkinLink::kDetached;
    } else {
        record->link = SkinLink::kForwarding;
    }
    RedrawWhole(window);
    CountDetachedWindow();
    return 1;
}

BOOL CALLBACK AttachChildProc(HWND child, LPARAM) {
    AttachSkin(child);
    return TRUE;
}

BOOL CALLBACK DetachChildProc(HWND child, LPARAM) {
    DetachSkin(child);
    return TRUE;
}
