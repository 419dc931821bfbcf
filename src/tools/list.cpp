// The reading tools, in the order of their rows in Settings and of their keys.
#include "tools/clickthrough/ClickThrough.h"
#include "tools/favourites/Favourites.h"
#include "tools/filter/ColourFilter.h"
#include "tools/finder/ColourFinder.h"
#include "tools/ruler/ReadingRuler.h"
#include "tools/strength/Strength.h"

namespace velmora::tools {

std::vector<std::unique_ptr<ReadingTool>> makeReadingTools(Application& app) {
    std::vector<std::unique_ptr<ReadingTool>> list;
    list.push_back(std::make_unique<Strength>(app));
    list.push_back(std::make_unique<ClickThrough>(app));
    list.push_back(std::make_unique<ReadingRuler>(app));
    list.push_back(std::make_unique<ColourFilter>(app));
    list.push_back(std::make_unique<ColourFinder>(app));
    list.push_back(std::make_unique<Favourites>(app));
    return list;
}

}  // namespace velmora::tools
