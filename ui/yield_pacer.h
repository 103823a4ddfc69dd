// When a long run on the window's thread lets the message loop in: often enough that the
// window repaints, follows the mouse and fades its buttons, rarely enough that the run is
// not slowed by looking into an empty queue before every line it reads.
#pragma once

#include <cstdint>

class YieldPacer {
  public:
    static constexpr uint64_t kIntervalMs = 15;

    // True when a pass through the message loop is due at `now_ms`; the pass then counts as made.
    bool Due(uint64_t now_ms);
    // Makes the next Due() true, whatever the time: a new file has started and its progress
    // should show at once.
    void RequestPass() { requested_ = true; }

  private:
    bool requested_ = true;
    uint64_t last_pass_ms_ = 0;
};
