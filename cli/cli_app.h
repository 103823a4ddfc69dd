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
};

enum CliExit { kCliOk = 0, kCliBookFailed = 1, kCliUsage = 2 };

// args: the arguments after the program name.
int RunFolvaneCli(const std::vector<std::string>& args, CliOutput& out);
