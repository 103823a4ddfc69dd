// The fixed texts from which the contents, index and project files are built, by id (1..35).
#pragma once

#include <string>

constexpr int kProjectStringCount = 35;

// The text with this id (UTF-8), or "" for an unknown id.
const std::string& ProjectString(int id);
