#include <unistd.h>

#include <cstdio>

#include "cli/console.h"

std::vector<std::string> CommandLineArgs(int argc, char** argv) {
    return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

void ConsoleOutput::Out(const std::string& line) {
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void ConsoleOutput::Err(const std::string& line) {
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fputc('\n', stderr);
}

bool ConsoleOutput::ErrIsTerminal() const {
    return isatty(STDERR_FILENO) != 0;
}
