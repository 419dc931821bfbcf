// The sponsor panel: a small white panel in the screen's lower-right corner,
// above other windows, with a link to the sponsor's page.
#pragma once

#include "toolkit/controls.h"

namespace velmora {

class Application;

class Form2 : public toolkit::Form {
public:
    explicit Form2(Application& app);

    // Both the link's caption and the page the shell opens.
    static constexpr const char* kSponsorPage = "https://www.gutenberg.org/";

    // The lower-right corner of the screen, where the panel stands (outer size, twips).
    void placeInCorner();

    toolkit::Label Label1;
    toolkit::Label Label2;
    toolkit::Label Label3;

protected:
    void Form_Load() override;

private:
    void Label2_Click();

    Application& app_;
};

}  // namespace velmora
