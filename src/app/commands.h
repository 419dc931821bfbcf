// Velmora's command line: one command for the running copy (`velmora --ruler`),
// or --help and --version. A command reaches the running copy over the one
// running copy's channel and acts as its menu entry, hotkey or button does;
// with none running, the program starts and then acts.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace velmora {

struct CommandLine {
    enum class Kind { Run, Help, Version, Wrong };
    Kind kind = Kind::Run;
    std::string command;  // without its "--"; empty for a plain start
};

// Qt's own options (one dash, or --platform, and their values) are left to it.
CommandLine parseCommandLine(const std::vector<std::string>& args);
// The program's own commands and the reading tools'.
std::vector<std::string> commandWords();

// For --help, --version or a wrong option: prints what is asked (the usage line
// on standard error) and gives the exit status; none when the program is to run.
std::optional<int> answerCommandLine(const CommandLine& line);

std::string usageLine();  // one line, for standard error
std::string helpText();
std::string versionText();

}  // namespace velmora
