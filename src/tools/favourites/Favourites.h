// Favourite tints, one step away: up to nine, each a colour, a strength and a
// name, kept as "r,g,b,alpha,name" (the name may hold commas). The notification
// menu lists them, Settings keeps them, and a key steps to the next.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "tools/ReadingTool.h"
#include "tools/favourites/frmFavourites.h"

namespace velmora::tools {

struct Favourite {
    int red = 0;
    int green = 0;
    int blue = 0;
    int alpha = 0;
    std::string name;
    bool operator==(const Favourite&) const = default;
};

inline constexpr int kMaxFavourites = 9;
inline constexpr TextSetting kFavourites[kMaxFavourites] = {{"favourite1"}, {"favourite2"}, {"favourite3"},
                                                            {"favourite4"}, {"favourite5"}, {"favourite6"},
                                                            {"favourite7"}, {"favourite8"}, {"favourite9"}};
inline constexpr HotkeySetting kFavouriteKey{"hotkeyfavourite", "Ctrl+Alt+F"};

// None for nonsense: that favourite is skipped, never the program.
std::optional<Favourite> tryParseFavourite(const std::string& text);
std::string favouriteText(const Favourite& favourite);

// The stored favourites in order, nonsense skipped.
std::vector<Favourite> favourites(Application& app);
// Stored in order in the first slots, the rest cleared.
void storeFavourites(Application& app, const std::vector<Favourite>& list);
// Added at the end; false when all nine are taken.
bool addFavourite(Application& app, const Favourite& favourite);
inline constexpr const char* kFavouritesFull = "Velmora keeps nine favourites. Remove one in Settings to add another.";

class Favourites final : public ReadingTool {
public:
    explicit Favourites(Application& app) : app_(app) {}

    std::vector<KeyDesign> keys() const override;
    // Steps to the next favourite after the one in use.
    void pressed(std::size_t key) override;
    std::unique_ptr<ToolRows> makeRows(RowLayout& layout) override;
    std::vector<toolkit::Menu::Entry> menuEntries() override;

    // The tint as the reader uses it now, as a favourite without a name.
    Favourite current();
    // Stores its colour and strength and shows them at once.
    void use(const Favourite& favourite);
    frmFavourites& window();

private:
    Application& app_;
    std::unique_ptr<frmFavourites> window_;
};

}  // namespace velmora::tools
