// Where bonus items land and what they are, over many placements: always inside the allowed area, the
// four kinds in their proportions, rows and columns independent, and no corner of the area left out.
// Also the reseed that placement leans on: reseeding twice in one millisecond still gives new numbers.
#include "headless/headless_platform.h"
#include "rules/events.h"
#include "rules/state.h"
#include "window/random.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <map>
#include <string>
#include <vector>

using namespace squeakrun;

namespace {

struct Placement {
    double left, top;
    std::string picture;
};

// Runs the bonus-item tick every 50 ms of game time, taking both items away before each tick.
std::vector<Placement> placeMany(int ticks, std::uint64_t seed) {
    HeadlessPlatform platform(".", nullptr);
    Game g(platform, seed);
    g.carsMayMove = true;
    std::vector<Placement> placed;
    const std::array<Control*, 2> pictures = {&g.window.bonusItem1, &g.window.bonusItem2};
    for (int tick = 0; tick < ticks; ++tick) {
        for (BonusItem& item : g.bonusItems)
            item.placed = false;
        g.clock.now += 50;
        bonusItemTick(g);
        for (int n = 0; n < 2; ++n) {
            if (!g.bonusItems[n].placed) continue; // a draw exactly on a bound waits for the next tick
            const Control& c = *pictures[n];
            EXPECT_TRUE(c.visible);
            placed.push_back({c.left, c.top, c.picture});
        }
    }
    return placed;
}

constexpr int kTicks = 10000;

const std::vector<Placement>& placements() {
    static const std::vector<Placement> all = placeMany(kTicks, 12345);
    return all;
}

} // namespace

TEST(BonusPlacement, EveryTakenItemIsReplacedOnTheNextTick) {
    // Only a draw exactly on a bound may leave an item for the next tick, and that is rare.
    EXPECT_GE(placements().size(), 2u * kTicks - 2);
}

TEST(BonusPlacement, EveryItemLiesStrictlyInsideTheAllowedArea) {
    for (const Placement& p : placements()) {
        ASSERT_GT(p.left, 1200);
        ASSERT_LT(p.left, 5520);
        ASSERT_GT(p.top, 960);
        ASSERT_LT(p.top, 3960);
    }
}

TEST(BonusPlacement, KindsComeHalfCheeseThreeTenthsStrawberryAndATenthEachOfTheDeviceBonuses) {
    std::map<std::string, double> seen;
    for (const Placement& p : placements())
        seen[p.picture] += 1;
    ASSERT_EQ(seen.size(), 4u);
    const double n = static_cast<double>(placements().size());
    const std::map<std::string, double> chance = {
        {"cheese.gif", 0.5}, {"strawb.gif", 0.3}, {"slickpup.gif", 0.1}, {"cheeseblob.gif", 0.1}};
    for (const auto& [picture, p] : chance) {
        const double sigma = std::sqrt(n * p * (1 - p));
        EXPECT_NEAR(seen[picture], n * p, 4 * sigma) << picture;
    }
}

TEST(BonusPlacement, RowAndColumnAreUncorrelated) {
    // With a reseed that merely restarted the generator from the clock, both numbers of a place would
    // be the same draw and every item would sit on one diagonal line (r = 1).
    double sx = 0, sy = 0, sxx = 0, syy = 0, sxy = 0;
    for (const Placement& p : placements()) {
        sx += p.left;
        sy += p.top;
        sxx += p.left * p.left;
        syy += p.top * p.top;
        sxy += p.left * p.top;
    }
    const double n = static_cast<double>(placements().size());
    const double cov = sxy / n - (sx / n) * (sy / n);
    const double r = cov / std::sqrt((sxx / n - (sx / n) * (sx / n)) * (syy / n - (sy / n) * (sy / n)));
    // One standard error of r for independent values is 1/sqrt(n), about 0.007 here.
    EXPECT_LT(std::fabs(r), 0.04);
}

TEST(BonusPlacement, PlacesCoverTheWholeArea) {
    // An 8 x 8 grid over the area: each cell expects about 20000 / 64 = 312 items (one standard
    // deviation about 18), so even half of that would mean a part of the field is neglected.
    constexpr int kCells = 8;
    std::array<std::array<int, kCells>, kCells> grid{};
    for (const Placement& p : placements()) {
        const int col = static_cast<int>((p.left - 1200) / (5520 - 1200) * kCells);
        const int row = static_cast<int>((p.top - 960) / (3960 - 960) * kCells);
        ++grid[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)];
    }
    const double expected = static_cast<double>(placements().size()) / (kCells * kCells);
    for (int row = 0; row < kCells; ++row)
        for (int col = 0; col < kCells; ++col)
            EXPECT_GT(grid[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)], expected / 2)
                << "cell row " << row << " column " << col;
}

TEST(BonusPlacement, EachKindCarriesItsOwnPrizeAndNothingElse) {
    HeadlessPlatform platform(".", nullptr);
    Game g(platform, 7);
    g.carsMayMove = true;
    std::map<std::string, int> checked;
    for (int tick = 0; tick < 400; ++tick) {
        for (BonusItem& item : g.bonusItems)
            item.placed = false;
        g.clock.now += 50;
        bonusItemTick(g);
        for (int n = 0; n < 2; ++n) {
            const BonusItem& item = g.bonusItems[n];
            const std::string& picture = (n == 0 ? g.window.bonusItem1 : g.window.bonusItem2).picture;
            const Count points = picture == "cheese.gif" ? 30 : picture == "strawb.gif" ? 40 : 0;
            EXPECT_EQ(item.points[0], points) << picture;
            EXPECT_EQ(item.points[1], points) << picture;
            EXPECT_EQ(item.givesCheese, picture == "cheeseblob.gif");
            EXPECT_EQ(item.givesSlicks, picture == "slickpup.gif");
            ++checked[picture];
        }
    }
    EXPECT_EQ(checked.size(), 4u);
}

TEST(RandomReseed, TwoReseedsInTheSameMillisecondGiveDifferentNumbers) {
    Random rng(99);
    int repeats = 0;
    for (std::int64_t ms = 0; ms < 1000; ++ms) {
        rng.randomize(ms);
        const float first = rng.next();
        rng.randomize(ms);
        const float second = rng.next();
        if (first == second) ++repeats;
    }
    EXPECT_EQ(repeats, 0);

    // Reseeding twice in a row without drawing in between must not undo itself either.
    Random a(5), b(5);
    a.randomize(40);
    b.randomize(40);
    b.randomize(40);
    EXPECT_NE(a.next(), b.next());
}
