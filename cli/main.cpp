#include "cli/cli_app.h"
#include "cli/console.h"

int main(int argc, char** argv) {
    ConsoleOutput out;
    return RunFolvaneCli(CommandLineArgs(argc, argv), out);
}
