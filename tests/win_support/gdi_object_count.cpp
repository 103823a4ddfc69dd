#include "win_support/gdi_object_count.h"

#include <winternl.h>

#include <cstddef>
#include <cstdint>

namespace {

// One entry of the GDI handle table that the process environment block points to
// (GdiSharedHandleTable), laid out alike on Windows and Wine: 24 bytes, with a non-zero type
// byte while its handle is alive.
struct GdiHandleEntry {
    uint64_t object;
    uint32_t owner;
    uint16_t unique;
    uint8_t type;
    uint8_t flags;
    uint64_t userPointer;
};
static_assert(sizeof(GdiHandleEntry) == 24);
constexpr size_t GdiHandleTableSize = 0x10000;

const GdiHandleEntry* GdiHandleTable() {
    const auto* peb = reinterpret_cast<const BYTE*>(NtCurrentTeb()->ProcessEnvironmentBlock);
    constexpr size_t offset = sizeof(void*) == 8 ? 0xF8 : 0x94;
    return *reinterpret_cast<const GdiHandleEntry* const*>(peb + offset);
}

}  // namespace

DWORD GdiObjectCount() {
    DWORD reported = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (reported != 0)
        return reported;
    const GdiHandleEntry* table = GdiHandleTable();
    if (!table)
        return 0;
    // Wine keeps one table per process, so every occupied entry is one of ours.
    DWORD live = 0;
    for (size_t i = 0; i < GdiHandleTableSize; ++i)
        if (table[i].type != 0)
            ++live;
    return live;
}
