// The process's own console: arguments as UTF-8 and UTF-8 output that reads correctly in a
// Windows console as well as in a pipe.
#pragma once

#include <string>
#include <vector>

#include "cli/cli_app.h"

std::vector<std::string> CommandLineArgs(int argc, char** argv);

class ConsoleOutput : public CliOutput {
  public:
    ConsoleOutput();
    void Out(const std::string& line) override;
    void Err(const std::string& line) override;
    bool ErrIsTerminal() const override;
    bool OutLost() const override { return out_lost_; }

  private:
    bool out_lost_ = false;
};
