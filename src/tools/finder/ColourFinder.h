// Find your colour: a guided colour finder that lays two tints side by side
// over the same page and asks which is more comfortable, round after round.
#pragma once

#include <memory>

#include "tools/ReadingTool.h"
#include "tools/finder/frmFinder.h"

namespace velmora::tools {

class ColourFinder final : public ReadingTool {
public:
    explicit ColourFinder(Application& app) : app_(app) {}
    ~ColourFinder() override;

    std::unique_ptr<ToolRows> makeRows(RowLayout& layout) override;
    void commanded(std::size_t) override { open(); }
    std::vector<toolkit::Menu::Entry> menuEntries() override;

    // Opens the finder afresh, in front.
    void open();

private:
    Application& app_;
    std::unique_ptr<frmFinder> window_;
};

}  // namespace velmora::tools
