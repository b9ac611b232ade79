// Where the devices a player drops land and how fast a cheese rolls, and the kinds of bonus item with
// what each gives. The ticks lay and stock by these tables; the computer driver plans by the same.
#pragma once

#include "rules/state.h"

#include <array>
#include <string_view>

namespace squeakrun {

// Where a dropped slick lands, one car length behind the car, by the car's heading (index 1 to 4).
struct SlickLanding {
    float dLeft, dTop;
};
inline constexpr std::array<SlickLanding, 5> kSlickBehind = {
    {{0, 0}, {255, 0}, {0, -255}, {-255, 0}, {0, 255}}};

// A trap lies across the road when the car drove left or right and stands along it otherwise; it
// is laid a little further back when the car drove down or right, clear of the car's own box.
struct TrapLanding {
    std::string_view picture;
    float dLeft, dTop, height, width;
};
inline constexpr std::array<TrapLanding, 5> kTrapBehind = {{{"", 0, 0, 0, 0},
                                                            {"trapleft.gif", 255, 0, 135, 255},
                                                            {"trapdown.gif", 0, -375, 255, 135},
                                                            {"trapright.gif", -375, 0, 135, 255},
                                                            {"trapup.gif", 0, 255, 255, 135}}};

// A dropped cheese rolls at this many times its car's speed.
inline constexpr double kCheeseRollFactor = 3;

// The kinds of bonus item: cheese half the time, strawberries less often, and the two device bonuses
// rarely. A cheese crate or a jam jar gives its taker kDeviceStock of its device.
struct BonusKind {
    double below; // the bonus-item tick's draw k falls below this
    std::string_view picture;
    bool givesCheese, givesSlicks;
    Count points;
};
inline constexpr std::array<BonusKind, 4> kBonusKinds = {{
    {0.5, "cheese.gif", false, false, 30},
    {0.8, "strawb.gif", false, false, 40},
    {0.9, "slickpup.gif", false, true, 0},
    {1.0, "cheeseblob.gif", true, false, 0},
}};
inline constexpr Count kDeviceStock = 5;

} // namespace squeakrun
