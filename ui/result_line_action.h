// What a double-click on a line of the result list does, decided from the line's report.
#pragma once

#include <string>

#include "builder/run_controls.h"

enum class LineAction {
    kNothing,
    kOpenBook,     // a compiled book: open it with the shell
    kOpenFolder,   // a book made by an earlier run: open its folder
    kShowMessage,  // why the book failed, or that its compile has not ended yet
};

struct LineChoice {
    LineAction action = LineAction::kNothing;
    std::string path;   // what to open
    std::string title;  // the message box's title
    std::string text;   // the message
};

LineChoice ChooseLineAction(const BookReport& report);

// Why a book failed, how its source was read and, for a .txt source, how many chapter
// headings were found in it.
std::string FailureMessage(const BookReport& report);
