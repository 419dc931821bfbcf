#include "tools/finder/frmFinder.h"

#include <random>
#include <string>

#include "app/Application.h"
#include "overlay/FrmMain.h"
#include "tools/favourites/Favourites.h"
#include "tools/filter/ColourFilter.h"
#include "tools/strength/Strength.h"

namespace velmora::tools {

namespace {
constexpr unsigned kLeftKey = 0x25, kRightKey = 0x27, kDownKey = 0x28;

// Everyday words of our own choosing, shown in a new order each time, so that
// the page reads like text without inviting reading for its sense.
constexpr const char* kWords[] = {
    "garden", "window", "morning", "bread",  "river",  "paper",  "yellow", "quiet",  "table",  "letter",
    "summer", "coffee", "little",  "walk",   "house",  "green",  "simple", "music",  "friend", "water",
    "story",  "light",  "evening", "apple",  "corner", "street", "warm",   "orange", "early",  "basket",
    "cloud",  "bright", "button",  "kettle", "market", "pencil", "stone",  "winter", "open",   "field",
    "chair",  "gentle", "bridge",  "candle", "ladder", "silver", "travel", "forest", "honey",  "smile"};

std::string sampleText(std::uint32_t seed) {
    std::mt19937 order(seed);
    std::uniform_int_distribution<std::size_t> pick(0, std::size(kWords) - 1);
    std::string text;
    for (int i = 0; i < 72; ++i) text += std::string(i == 0 ? "" : " ") + kWords[pick(order)];
    return text;
}

std::vector<int> sliderStrengths() {
    std::vector<int> strengths;
    for (int percent = 10; percent <= 100; ++percent) {
        const int alpha = alphaOfPercent(percent);
        if (strengths.empty() || strengths.back() != alpha) strengths.push_back(alpha);
    }
    return strengths;
}

toolkit::LookDesign sample() { return {.backColor = 0x00FFFFFF, .font = {.name = "MS Sans Serif", .points = 14.0F}}; }
}  // namespace

frmFinder::frmFinder(Application& app)
    : toolkit::Form(app, {.name = "frmFinder",
                          .caption = kCaption,
                          .minMaxButtons = false,
                          .client = {9600, 6900},
                          .closeOnEscape = true,
                          .fitsWorkArea = true}),
      // Takes the focus: the arrow keys answer.
      picSamples(*this,
                 {.name = "picSamples",
                  .at = {0, 0, 9600, 5340},
                  .look = {.tabIndex = 0,
                           .accessibleName = "Two samples of the same page",
                           .accessibleDescription = "Which side is more comfortable to read? Left arrow, right "
                                                    "arrow, or down arrow for no difference"}},
                 toolkit::ScaleMode::Twips),
      lblLeft(*this, {.name = "lblLeft", .at = {0, 0, 4800, 5340}, .look = sample()}, &picSamples),
      lblRight(*this, {.name = "lblRight", .at = {4800, 0, 4800, 5340}, .look = sample()}, &picSamples),
      lblProgress(*this, {.name = "lblProgress", .at = {240, 5520, 3000, 285}, .look = {.transparentBack = true}}),
      cmdLeft(*this, {.name = "cmdLeft", .at = {3360, 5460, 1455, 495}, .look = {.text = "&Left", .tabIndex = 1}}),
      cmdSame(*this, {.name = "cmdSame", .at = {4935, 5460, 1455, 495}, .look = {.text = "&Same", .tabIndex = 2}}),
      cmdRight(*this, {.name = "cmdRight", .at = {6510, 5460, 1455, 495}, .look = {.text = "&Right", .tabIndex = 3}}),
      cmdUse(*this, {.name = "cmdUse",
                     .at = {3360, 5460, 2400, 495},
                     .look = {.text = "&Use this colour", .tabIndex = 4, .isDefault = true}}),
      chkFavourite(*this, {.name = "chkFavourite",
                           .at = {240, 6180, 3600, 375},
                           .look = {.text = "Keep it as a &favourite named:", .tabIndex = 5}}),
      txtName(*this, {.name = "txtName",
                      .at = {3900, 6210, 3000, 315},
                      .look = {.tabIndex = 6, .accessibleName = "Favourite's name"}}),
      app_(app) {
    picSamples.KeyDown = [this](unsigned key, int) {
        if (key == kLeftKey) answered(FinderProcedure::Answer::Left);
        if (key == kRightKey) answered(FinderProcedure::Answer::Right);
        if (key == kDownKey) answered(FinderProcedure::Answer::Same);
    };
    lblLeft.Click = [this] { answered(FinderProcedure::Answer::Left); };
    lblRight.Click = [this] { answered(FinderProcedure::Answer::Right); };
    cmdLeft.Click = [this] { answered(FinderProcedure::Answer::Left); };
    cmdSame.Click = [this] { answered(FinderProcedure::Answer::Same); };
    cmdRight.Click = [this] { answered(FinderProcedure::Answer::Right); };
    cmdUse.Click = [this] { useThisColour(); };
}

frmFinder::~frmFinder() = default;

void frmFinder::Form_Load() {
    std::random_device seed;
    const std::uint32_t order = seed();
    procedure_ = std::make_unique<FinderProcedure>(sliderStrengths(), order);
    const std::string text = sampleText(order);
    lblLeft.setCaption(text);
    lblRight.setCaption(text);
    for (toolkit::Control* shown : std::initializer_list<toolkit::Control*>{&cmdUse, &chkFavourite, &txtName}) {
        shown->setVisible(false);
    }
    showSides();
}

void frmFinder::answered(FinderProcedure::Answer answer) {
    if (!procedure_ || procedure_->done()) return;
    procedure_->answer(answer);
    showSides();
    if (!procedure_->done()) return;
    for (toolkit::Control* asking : std::initializer_list<toolkit::Control*>{&cmdLeft, &cmdSame, &cmdRight}) {
        asking->setVisible(false);
    }
    for (toolkit::Control* shown : std::initializer_list<toolkit::Control*>{&cmdUse, &chkFavourite, &txtName}) {
        shown->setVisible(true);
    }
    chkFavourite.setValue(1);
    txtName.setText("Found colour");
}

void frmFinder::showSides() {
    if (procedure_->done()) {
        showSide(lblLeft, procedure_->resultPage());
        showSide(lblRight, procedure_->resultPage());
        lblProgress.setCaption("Your colour, on both sides");
        return;
    }
    const auto [left, right] = procedure_->pages();
    showSide(lblLeft, left);
    showSide(lblRight, right);
    lblProgress.setCaption("Choice " + std::to_string(procedure_->number()) + " of about " +
                           std::to_string(FinderProcedure::kQuestions));
}

// A white page with black text, as the tint would show it in the current tint mode.
void frmFinder::showSide(toolkit::Label& side, platform::Color page) {
    const colour::Tint tint = procedure_->tintOf(page);
    const bool filtered = app_.model().get(kTintMode) == 1;
    side.setBackColor(page);
    side.setForeColor(filtered ? 0 : colour::textThroughWindow(tint.color, tint.alpha));
}

void frmFinder::useThisColour() {
    if (!procedure_ || !procedure_->done()) return;
    const colour::Tint tint = procedure_->result();
    const int red = static_cast<int>(tint.color & 0xFFU), green = static_cast<int>((tint.color >> 8) & 0xFFU),
              blue = static_cast<int>((tint.color >> 16) & 0xFFU);
    app_.saveSetting(keys::red, std::to_string(red));
    app_.saveSetting(keys::green, std::to_string(green));
    app_.saveSetting(keys::blue, std::to_string(blue));
    app_.model().set(kAlpha, tint.alpha);
    if (chkFavourite.Value() == 1) addFavourite(app_, {red, green, blue, tint.alpha, txtName.Text()});
    Unload();
    // Applied at once, as a colour from the picker is.
    FrmMain& overlay = app_.form<FrmMain>();
    overlay.setVisible(true);
    overlay.Form_Load();
}

}  // namespace velmora::tools
