#include "builder/command_line.h"

std::string QuoteCommandLineArg(const std::string& arg, bool always) {
    if (!always && !arg.empty() && arg.find_first_of(" \t\n\v\"") == std::string::npos)
        return arg;
    std::string out = "\"";
    size_t backslashes = 0;
    for (char c : arg) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        if (c == '"') {
            out.append(backslashes * 2 + 1, '\\');
        } else {
            out.append(backslashes, '\\');
        }
        backslashes = 0;
        out += c;
    }
    // Trailing backslashes would escape the closing quotation mark.
    out.append(backslashes * 2, '\\');
    out += '"';
    return out;
}

std::string BuildCommandLine(const std::string& program, const std::vector<std::string>& args) {
    std::string line = QuoteCommandLineArg(program, true);
    for (const std::string& arg : args) {
        line += ' ';
        line += QuoteCommandLineArg(arg, true);
    }
    return line;
}
