#include "app/commands.h"

#include <algorithm>
#include <cstdio>
#include <iterator>

#include "tools/ReadingTool.h"
#include "velmora_version.h"

namespace velmora {

namespace {
// The program's own, each acting as the menu entry or button of the same name.
constexpr const char* kOwnCommands[] = {"show", "hide", "toggle", "settings", "picker", "about", "quit"};
}  // namespace

std::vector<std::string> commandWords() {
    std::vector<std::string> words(std::begin(kOwnCommands), std::end(kOwnCommands));
    for (const char* word : tools::commandWords()) words.emplace_back(word);
    return words;
}

CommandLine parseCommandLine(const std::vector<std::string>& args) {
    CommandLine line;
    const auto known = commandWords();
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--platform") {
            ++i;
            continue;
        }
        // Qt's own options and their values are Qt's.
        if (arg.rfind("--", 0) != 0) continue;
        const std::string word = arg.substr(2);
        if (word == "help") return {CommandLine::Kind::Help, {}};
        if (word == "version") return {CommandLine::Kind::Version, {}};
        if (!line.command.empty() || std::find(known.begin(), known.end(), word) == known.end()) {
            return {CommandLine::Kind::Wrong, arg};
        }
        line.command = word;
    }
    return line;
}

std::optional<int> answerCommandLine(const CommandLine& line) {
    switch (line.kind) {
        case CommandLine::Kind::Help:
            std::fputs(helpText().c_str(), stdout);
            return 0;
        case CommandLine::Kind::Version:
            std::fputs(versionText().c_str(), stdout);
            return 0;
        case CommandLine::Kind::Wrong:
            std::fputs((usageLine() + "\n").c_str(), stderr);
            return 2;
        case CommandLine::Kind::Run:
            break;
    }
    return std::nullopt;
}

std::string usageLine() {
    std::string line = "usage: velmora [";
    bool first = true;
    for (const std::string& word : commandWords()) {
        line += (first ? "--" : " | --") + word;
        first = false;
    }
    return line + " | --help | --version]";
}

std::string helpText() {
    return usageLine() +
           "\n\nVelmora lays a coloured tint over what you read. Started again while it runs, it acts in\n"
           "the running copy; with none running it starts first.\n\n"
           "  --show          show the tint\n"
           "  --hide          hide the tint (starts nothing when none runs)\n"
           "  --toggle        show or hide the tint\n"
           "  --settings      open Settings\n"
           "  --picker        open the colour picker\n"
           "  --about         open the About box\n"
           "  --quit          end the running copy (starts nothing)\n"
           "  --clickthrough  let clicks through the tint, or stop\n"
           "  --ruler         show or hide the reading ruler\n"
           "  --rulerup       step a ruler that stays put up\n"
           "  --rulerdown     step a ruler that stays put down\n"
           "  --finder        open the colour finder\n"
           "  --help          print this and end\n"
           "  --version       print the version and end\n";
}

std::string versionText() {
    return "Velmora " + std::to_string(VELMORA_VERSION_MAJOR) + "." + std::to_string(VELMORA_VERSION_MINOR) + "." +
           std::to_string(VELMORA_VERSION_PATCH) + "\n";
}

}  // namespace velmora
