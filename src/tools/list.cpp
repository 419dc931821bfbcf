// The reading tools, in the order of their rows in Settings and of their keys,
// each with the words of its commands (velmora --<word>), if it has any.
#include <array>
#include <iterator>

#include "tools/clickthrough/ClickThrough.h"
#include "tools/favourites/Favourites.h"
#include "tools/filter/ColourFilter.h"
#include "tools/finder/ColourFinder.h"
#include "tools/ruler/ReadingRuler.h"
#include "tools/strength/Strength.h"

namespace velmora::tools {

namespace {
template <class Tool>
std::unique_ptr<ReadingTool> make(Application& app) {
    return std::make_unique<Tool>(app);
}

struct Listed {
    std::unique_ptr<ReadingTool> (*make)(Application&);
    // The nth is the tool's commanded(n).
    std::array<const char*, 3> commands;
};

constexpr Listed kTools[] = {
    {make<Strength>, {}},
    {make<ClickThrough>, {"clickthrough"}},
    {make<ReadingRuler>, {"ruler", "rulerup", "rulerdown"}},
    {make<ColourFilter>, {}},
    {make<ColourFinder>, {"finder"}},
    {make<Favourites>, {}},
};
}  // namespace

std::vector<std::unique_ptr<ReadingTool>> makeReadingTools(Application& app) {
    std::vector<std::unique_ptr<ReadingTool>> list;
    for (const Listed& tool : kTools) list.push_back(tool.make(app));
    return list;
}

std::vector<ToolCommand> toolCommands() {
    std::vector<ToolCommand> commands;
    for (std::size_t tool = 0; tool < std::size(kTools); ++tool) {
        for (std::size_t which = 0; which < kTools[tool].commands.size(); ++which) {
            if (const char* word = kTools[tool].commands[which]) commands.push_back({tool, which, word});
        }
    }
    return commands;
}

std::vector<const char*> commandWords() {
    std::vector<const char*> words;
    for (const ToolCommand& command : toolCommands()) words.push_back(command.word);
    return words;
}

}  // namespace velmora::tools
