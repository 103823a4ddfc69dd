#include "ui/yield_pacer.h"

bool YieldPacer::Due(uint64_t now_ms) {
    if (!requested_ && now_ms - last_pass_ms_ < kIntervalMs)
        return false;
    requested_ = false;
    last_pass_ms_ = now_ms;
    return true;
}
