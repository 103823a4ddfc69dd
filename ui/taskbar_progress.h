// The run's progress on the window's taskbar button (Windows 7 and later).
#pragma once

#include "ui/win32.h"

#include <cstdint>
#include <memory>

class TaskbarProgress {
  public:
    virtual ~TaskbarProgress() = default;
    // A normal progress bar filled to done / total.
    virtual void Show(uint64_t done, uint64_t total) = 0;
    // No progress bar.
    virtual void Clear() = 0;
};

// The taskbar button of `window` through the shell's ITaskbarList3; null where the shell has
// none (before Windows 7, or under Wine), and the window then shows its progress alone.
std::unique_ptr<TaskbarProgress> CreateTaskbarProgress(HWND window);
