// The reading tools, in the order of their rows in Settings and of their keys,
// each with the word of its command (velmora --<word>), if it has one.
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
    const char* command;
};

constexpr Listed kTools[] = {
    {make<Strength>, nullptr},     {make<ClickThrough>, "clickthrough"}, {make<ReadingRuler>, "ruler"},
    {make<ColourFilter>, nullptr}, {make<ColourFinder>, "finder"},       {make<Favourites>, nullptr},
};
}  // namespace

std::vector<std::unique_ptr<ReadingTool>> makeReadingTools(Application& app) {
    std::vector<std::unique_ptr<ReadingTool>> list;
    for (const Listed& tool : kTools) list.push_back(tool.make(app));
    return list;
}

std::vector<const char*> toolCommands() {
    std::vector<const char*> words;
    for (const Listed& tool : kTools) words.push_back(tool.command);
    return words;
}

std::vector<const char*> commandWords() {
    std::vector<const char*> words;
    for (const Listed& tool : kTools) {
        if (tool.command != nullptr) words.push_back(tool.command);
    }
    return words;
}

}  // namespace velmora::tools
