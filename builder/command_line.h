// Windows command-line quoting, kept portable so that it can be tested everywhere.
#pragma once

#include <string>
#include <vector>

// Quotes one argument so that CommandLineToArgvW (and the C runtime) give it back unchanged:
// backslashes are doubled only where they precede a quotation mark or the closing quote.
// `always` puts quotation marks around arguments that would not need them.
std::string QuoteCommandLineArg(const std::string& arg, bool always = false);
// Program and arguments, every one in quotation marks, separated by blanks.
std::string BuildCommandLine(const std::string& program, const std::vector<std::string>& args);
