// Bonus items land strictly inside the allowed area, anywhere in it, each kind in its share and with its
// prize. Rows and columns are independent, and reseeding twice in one millisecond still gives new numbers.
#include "headless/headless_platform.h"
#include "rules/events.h"
#include "rules/state.h"
#include "window/random.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <map>
#include <string>

using namespace squeakrun;

TEST(BonusPlacement, TenThousandTicksOfTakenItems) {
    // Both items are taken before every tick, which replaces them; only a draw exactly on a bound waits.
    HeadlessPlatform platform(".", nullptr);
    Game g(platform, 12345);
    g.carsMayMove = true;
    constexpr int kTicks = 10000, kCells = 8;
    std::map<std::string, double> kinds;
    std::array<std::array<int, kCells>, kCells> grid{};
    double n = 0, sx = 0, sy = 0, sxx = 0, syy = 0, sxy = 0;
    for (int tick = 0; tick < kTicks; ++tick) {
        for (BonusItem& item : g.bonusItems)
            item.placed = false;
        g.clock.now += 50;
        bonusItemTick(g);
        for (int i = 0; i < 2; ++i) {
            const BonusItem& item = g.bonusItems[i];
            const Control& c = i == 0 ? g.window.bonusItem1 : g.window.bonusItem2;
            if (!item.placed) continue;
            ASSERT_TRUE(c.visible);
            ASSERT_TRUE(c.left > 1200 && c.left < 5520 && c.top > 960 && c.top < 3960)
                << c.left << ", " << c.top;
            // Cheese is worth 30, a strawberry 40; the two device bonuses give devices and no points.
            const Count points = c.picture == "cheese.gif" ? 30 : c.picture == "strawb.gif" ? 40 : 0;
            ASSERT_EQ(item.points[0], points) << c.picture;
            ASSERT_EQ(item.points[1], points) << c.picture;
            ASSERT_EQ(item.givesCheese, c.picture == "cheeseblob.gif");
            ASSERT_EQ(item.givesSlicks, c.picture == "slickpup.gif");
            kinds[c.picture] += 1;
            ++grid[static_cast<std::size_t>((c.top - 960) / 3000 * kCells)]
                  [static_cast<std::size_t>((c.left - 1200) / 4320 * kCells)];
            n += 1;
            sx += c.left;
            sy += c.top;
            sxx += c.left * c.left;
            syy += c.top * c.top;
            sxy += c.left * c.top;
        }
    }
    EXPECT_GE(n, 2.0 * kTicks - 2);
    // Half cheese, three tenths strawberries, a tenth each of the device bonuses, within 4 sigma.
    const std::map<std::string, double> chance = {
        {"cheese.gif", 0.5}, {"strawb.gif", 0.3}, {"slickpup.gif", 0.1}, {"cheeseblob.gif", 0.1}};
    EXPECT_EQ(kinds.size(), 4u);
    for (const auto& [picture, p] : chance)
        EXPECT_NEAR(kinds[picture], n * p, 4 * std::sqrt(n * p * (1 - p))) << picture;
    // Each cell of an 8 x 8 grid expects about 312 items (sigma about 18): half of that means neglect.
    for (const auto& row : grid)
        for (int cell : row)
            EXPECT_GT(cell, n / (kCells * kCells) / 2);
    // A reseed that merely restarted the generator from the clock would put every item on one diagonal
    // (r = 1); for independent values one standard error of r is about 0.007.
    const double r =
        (sxy / n - sx / n * sy / n) / std::sqrt((sxx / n - sx / n * sx / n) * (syy / n - sy / n * sy / n));
    EXPECT_LT(std::fabs(r), 0.04);
}

TEST(RandomReseed, TwoReseedsInTheSameMillisecondGiveDifferentNumbers) {
    Random rng(99);
    int repeats = 0;
    for (std::int64_t ms = 0; ms < 1000; ++ms) {
        rng.randomize(ms);
        const float first = rng.next();
        rng.randomize(ms);
        if (first == rng.next()) ++repeats;
    }
    EXPECT_EQ(repeats, 0);
    // Reseeding twice in a row without drawing in between must not undo itself either.
    Random a(5), b(5);
    a.randomize(40);
    b.randomize(40);
    b.randomize(40);
    EXPECT_NE(a.next(), b.next());
}
