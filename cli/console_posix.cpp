#include <signal.h>
#include <unistd.h>

#include <cstdio>

#include "cli/console.h"

std::vector<std::string> CommandLineArgs(int argc, char** argv) {
    return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

ConsoleOutput::ConsoleOutput() {
    // A reader that goes away (folvane-cli DIR | head -1) must not end the run halfway through a
    // book: writes then fail with EPIPE instead, and the run finishes.
    signal(SIGPIPE, SIG_IGN);
}

void ConsoleOutput::Out(const std::string& line) {
    if (out_lost_)
        return;
    const bool written = std::fwrite(line.data(), 1, line.size(), stdout) == line.size() &&
                         std::fputc('\n', stdout) != EOF && std::fflush(stdout) == 0;
    if (!written) {
        out_lost_ = true;
        Err("folvane-cli: standard output was closed; the run goes on without it");
    }
}

void ConsoleOutput::Err(const std::string& line) {
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fputc('\n', stderr);
}

bool ConsoleOutput::ErrIsTerminal() const {
    return isatty(STDERR_FILENO) != 0;
}
