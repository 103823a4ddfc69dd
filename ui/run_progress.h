// How far a run is, as the status label and the taskbar button show it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

struct RunProgress {
    int index = -1;  // the source file being converted, from 0; -1 when none is
    int count = 0;
    std::string name;  // its file name, UTF-8
    int percent = -1;  // how far that file is; -1 until the run says

    bool Active() const { return index >= 0 && count > 0; }
    // "3/40 红楼梦 45%": the file's number, its book name (a long one shortened) and, once
    // known, how far it is.
    std::wstring Text() const;
    // The whole run as a part of `Total()`, for the taskbar button.
    uint64_t Done() const;
    uint64_t Total() const { return static_cast<uint64_t>(count) * 100; }
};

// The status text with the progress after it, while a file is being converted.
std::wstring StatusWithProgress(std::wstring_view status, const RunProgress& progress);
