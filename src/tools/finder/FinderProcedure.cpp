#include "tools/finder/FinderProcedure.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace velmora::tools {

namespace {
using colour::Chromaticity;

// The reader sees no difference between two tints nearer than this.
constexpr double kUnseen = 0.005;
// How often a reader is taken to answer at random.
constexpr double kSlip = 0.15;
// How far from white the tints asked about may go, and the grid's spacing.
constexpr double kReach = 0.075;
constexpr double kSpacing = 0.003;
// The rounds, by the number of their last question.
constexpr int kHueRound = 5;
constexpr int kStrengthRound = kHueRound + 4;
constexpr int kFineRound = FinderProcedure::kQuestions - 1;
constexpr double kHueSaturation = 0.03;
constexpr platform::Color kGrey = 0x00E6E6E6;
constexpr platform::Color kNoTint = 0x00FFFFFF;

enum Ideal { kLeft, kRight, kSame };
Ideal idealAnswer(const Chromaticity& left, const Chromaticity& right, const Chromaticity& mind) {
    const double l = colour::distance(left, mind), r = colour::distance(right, mind);
    if (std::abs(l - r) <= kUnseen) return kSame;
    return l < r ? kLeft : kRight;
}

Chromaticity along(double angle, double radius) {
    const Chromaticity w = colour::white();
    return {w.u + radius * std::cos(angle), w.v + radius * std::sin(angle)};
}

// The brightest colour at that chromaticity, coming towards white until it is in the gamut.
std::optional<platform::Color> candidateAt(Chromaticity at) {
    const Chromaticity w = colour::white();
    for (int step = 0; step < 20; ++step) {
        if (const auto c = colour::brightestOf(at)) return c;
        at = {w.u + (at.u - w.u) * 0.9, w.v + (at.v - w.v) * 0.9};
    }
    return std::nullopt;
}
}  // namespace

FinderProcedure::FinderProcedure(std::vector<int> strengths, std::uint32_t seed)
    : strengths_(std::move(strengths)), random_(seed | 1U) {
    const Chromaticity w = colour::white();
    const int n = static_cast<int>(std::ceil(kReach / kSpacing));
    for (int i = -n; i <= n; ++i) {
        for (int j = -n; j <= n; ++j) {
            const Chromaticity at{w.u + i * kSpacing, w.v + j * kSpacing};
            if (colour::distance(at, w) <= kReach && colour::brightestOf(at)) grid_.push_back({at, 1});
        }
    }
    ask();
}

bool FinderProcedure::flip() {
    random_ = random_ * 1664525U + 1013904223U;
    return (random_ >> 16) & 1U;
}

Chromaticity FinderProcedure::mean() const {
    double u = 0, v = 0, total = 0;
    for (const Point& p : grid_) {
        u += p.weight * p.at.u;
        v += p.weight * p.at.v;
        total += p.weight;
    }
    return {u / total, v / total};
}

platform::Color FinderProcedure::estimate() const {
    if (const auto c = candidateAt(mean())) return *c;
    const auto best = std::max_element(grid_.begin(), grid_.end(),
                                       [](const Point& a, const Point& b) { return a.weight < b.weight; });
    return *colour::brightestOf(best->at);
}

double FinderProcedure::splitScore(platform::Color left, platform::Color right) const {
    const Chromaticity a = colour::chromaticityOf(left), b = colour::chromaticityOf(right);
    double mass[3] = {0, 0, 0};
    for (const Point& p : grid_) mass[idealAnswer(a, b, p.at)] += p.weight;
    const double total = mass[0] + mass[1] + mass[2];
    double entropy = 0;
    for (const double m : mass) {
        if (m > 0) entropy -= m / total * std::log(m / total);
    }
    return entropy;
}

std::pair<platform::Color, platform::Color> FinderProcedure::bestPair(const std::vector<platform::Color>& candidates) {
    double bestScore = -1;
    std::pair<platform::Color, platform::Color> best{candidates.front(), candidates.back()};
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        for (std::size_t j = i + 1; j < candidates.size(); ++j) {
            const std::pair<platform::Color, platform::Color> pair{candidates[i], candidates[j]};
            if (pair.first == pair.second) continue;
            if (std::find(askedPairs_.begin(), askedPairs_.end(), pair) != askedPairs_.end()) continue;
            if (const double score = splitScore(pair.first, pair.second); score > bestScore) {
                bestScore = score;
                best = pair;
            }
        }
    }
    return best;
}

void FinderProcedure::ask() {
    std::vector<platform::Color> candidates;
    const Chromaticity w = colour::white();
    const Chromaticity m = mean();
    if (asked_ < kHueRound) {
        for (int hue = 0; hue < 12; ++hue) {
            if (const auto c = candidateAt(along(hue * std::numbers::pi / 6, kHueSaturation))) candidates.push_back(*c);
        }
        candidates.push_back(kGrey);
    } else if (asked_ < kStrengthRound) {
        const double angle = std::atan2(m.v - w.v, m.u - w.u);
        for (double radius = 0.005; radius <= kReach; radius += 0.01) {
            if (const auto c = candidateAt(along(angle, radius))) candidates.push_back(*c);
        }
    } else if (asked_ < kFineRound) {
        // Steps that shrink from 0.02 to about 0.006 over the round, in the direction that splits best.
        const double step = 0.02 * std::pow(0.88, asked_ - kStrengthRound);
        double bestScore = -1;
        for (int k = 0; k < 8; ++k) {
            const double angle = k * std::numbers::pi / 8;
            const auto a = candidateAt({m.u + step * std::cos(angle), m.v + step * std::sin(angle)});
            const auto b = candidateAt({m.u - step * std::cos(angle), m.v - step * std::sin(angle)});
            if (!a || !b || *a == *b) continue;
            if (const double score = splitScore(*a, *b); score > bestScore) {
                bestScore = score;
                candidates = {*a, *b};
            }
        }
    }
    if (asked_ >= kFineRound || candidates.size() < 2) {
        // The winner against no tint.
        final_ = estimate();
        noTintOnLeft_ = flip();
        pair_ = noTintOnLeft_ ? std::pair{kNoTint, final_} : std::pair{final_, kNoTint};
        if (final_ == kNoTint) {
            noTintOnLeft_ = false;
            pair_ = {kGrey, kNoTint};
        }
        asked_ = std::max(asked_, kFineRound);
        return;
    }
    const auto best = candidates.size() == 2 ? std::pair{candidates[0], candidates[1]} : bestPair(candidates);
    askedPairs_.push_back(best);
    pair_ = flip() ? std::pair{best.second, best.first} : best;
}

void FinderProcedure::answer(Answer answer) {
    if (done()) return;
    if (asked_ >= kFineRound) {
        const bool noTint = (answer == Answer::Left) == noTintOnLeft_ && answer != Answer::Same;
        if (noTint && !confirming_ && final_ != kNoTint) {
            // Once more, the sides swapped: a slip here would throw the whole search away.
            confirming_ = true;
            noTintOnLeft_ = !noTintOnLeft_;
            std::swap(pair_.first, pair_.second);
            return;
        }
        if (noTint || final_ == kNoTint) final_ = kNoTint;
        asked_ = kQuestions;
        return;
    }
    const Chromaticity left = colour::chromaticityOf(pair_.first), right = colour::chromaticityOf(pair_.second);
    const Ideal given = answer == Answer::Left ? kLeft : answer == Answer::Right ? kRight : kSame;
    double total = 0;
    for (Point& p : grid_) {
        p.weight *= idealAnswer(left, right, p.at) == given ? 1 - kSlip + kSlip / 3 : kSlip / 3;
        total += p.weight;
    }
    for (Point& p : grid_) p.weight /= total;
    ++asked_;
    ask();
}

colour::Tint FinderProcedure::tintOf(platform::Color page) const {
    return colour::tintForPage(page, strengths_.data(), static_cast<int>(strengths_.size()));
}

colour::Tint FinderProcedure::result() const { return tintOf(final_); }

}  // namespace velmora::tools
