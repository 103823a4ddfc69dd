// folvane-cli: the Convert & Generate run over one folder, without windows.
#pragma once

#include <string>
#include <vector>

// Where folvane-cli writes. Lines are UTF-8, without line ends.
class CliOutput {
  public:
    virtual ~CliOutput() = default;
    virtual void Out(const std::string& line) = 0;
    virtual void Err(const std::string& line) = 0;
    // Progress lines are only worth printing for a person watching a terminal.
    virtual bool ErrIsTerminal() const = 0;
    // True once standard output could not be written (a reader that went away): the run goes
    // on and finishes its books, and the exit status tells.
    virtual bool OutLost() const { return false; }
};

enum CliExit { kCliOk = 0, kCliBookFailed = 1, kCliUsage = 2, kCliOutputLost = 3 };

// args: the arguments after the program name.
int RunFolvaneCli(const std::vector<std::string>& args, CliOutput& out);

// A name or line as it is safe to print: control characters as \xNN (or \n, \t ...), bytes that
// are not UTF-8 as U+FFFD.
std::string PrintableText(std::string_view text);
