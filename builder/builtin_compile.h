// Folvane's own compiler at work on a thread of its own, as one compile of the queue.
#pragma once

#include <memory>
#include <string>

#include "builder/compile_book.h"

// Compiles the project in `folder` into `book`. The book is written under a temporary name
// beside it and renamed at the end, so that it appears whole or not at all.
std::unique_ptr<CompileTask> StartBuiltinCompile(const std::string& folder, const std::string& book);
