// The colour finder's questions: two tints side by side, "which is more
// comfortable?", round after round, as overlay assessments do it: first a
// round over hues at equal lightness and saturation (twelve and a grey), then
// the strength along the chosen hue, then ever finer steps around the best so
// far, then the winner against no tint. Every answer weighs the tints that could
// be the reader's over a fine grid of chromaticities, allowing for the odd
// answer given in error, so a "Same" or a slip narrows the search instead of
// derailing it; each question is the pair of its round that best splits what is
// still likely.
#pragma once

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "tools/finder/colour.h"

namespace velmora::tools {

class FinderProcedure {
public:
    enum class Answer { Left, Right, Same };

    // strengths: the alphas the strength slider can store, ascending.
    FinderProcedure(std::vector<int> strengths, std::uint32_t seed);

    bool done() const { return asked_ >= kQuestions; }
    // The number of the question now asked, from 1.
    int number() const { return asked_ + (confirming_ ? 2 : 1); }
    static constexpr int kQuestions = 26;

    // The page colours of the two sides now; never the same.
    std::pair<platform::Color, platform::Color> pages() const { return pair_; }
    void answer(Answer answer);

    // Once done: the tint found; a white tint when the reader chose no tint.
    colour::Tint result() const;
    // The page colour the result shows.
    platform::Color resultPage() const { return final_; }
    // The tint that shows a page colour, at the least strength the slider has.
    colour::Tint tintOf(platform::Color page) const;

private:
    struct Point {
        colour::Chromaticity at;
        double weight = 1;
    };
    void ask();
    // How unforeseeable the answer to this pair is now: the higher, the more it tells.
    double splitScore(platform::Color left, platform::Color right) const;
    // The pair of these candidates not asked before whose answer tells most.
    std::pair<platform::Color, platform::Color> bestPair(const std::vector<platform::Color>& candidates);
    colour::Chromaticity mean() const;
    platform::Color estimate() const;
    bool flip();

    std::vector<int> strengths_;
    std::uint32_t random_;
    std::vector<Point> grid_;
    std::pair<platform::Color, platform::Color> pair_{};
    std::vector<std::pair<platform::Color, platform::Color>> askedPairs_;
    platform::Color final_ = 0x00FFFFFF;
    bool noTintOnLeft_ = false;
    bool confirming_ = false;  // no tint was chosen once: asked again before it is taken
    int asked_ = 0;
};

}  // namespace velmora::tools
