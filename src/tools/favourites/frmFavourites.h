// The favourite tints, kept: add the tint in use under a name, rename, remove,
// and move them up and down the list the menu shows.
#pragma once

#include "toolkit/controls.h"

namespace velmora {
class Application;
}

namespace velmora::tools {

class Favourites;

class frmFavourites : public toolkit::Form {
public:
    frmFavourites(Application& app, Favourites& tool);

    static constexpr const char* kCaption = "Velmora favourites";

    toolkit::Label lblList;
    toolkit::ListBox lstFavourites;
    toolkit::CommandButton cmdUse;
    toolkit::CommandButton cmdEarlier;
    toolkit::CommandButton cmdLater;
    toolkit::CommandButton cmdRemove;
    toolkit::Label lblName;
    toolkit::TextBox txtName;
    toolkit::CommandButton cmdAdd;
    toolkit::CommandButton cmdRename;

protected:
    void Form_Load() override;

private:
    // Shows the list as stored, the entry at this place chosen.
    void refresh(int chosen);
    void chosen();
    void add();
    void rename();
    void remove();
    void move(int by);
    void use();

    Application& app_;
    Favourites& tool_;
};

}  // namespace velmora::tools
