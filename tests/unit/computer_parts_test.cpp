// The computer driver's parts with logic of their own: the road planner on a field laid out by hand,
// and the few keys one look may press.
#include "computer/computer_driver.h"
#include "computer/road.h"

#include <gtest/gtest.h>

using namespace squeakrun;

namespace {

// A field seen by player 1 with player 2's car out of the way (hidden), and no devices laid.
struct Field {
    GameState s{1};
    MainWindow& w = s.window;
    Control& other = w.*kPlayers[1].car;
    Field() { other.visible = false; }
    Road road(Margins m = {90, 20}, float otherDx = 0, float otherDy = 0) const {
        return Road(w, 0, m, otherDx, otherDy);
    }
};

// A target round a point in the open middle of the field, at row 2000.
const Box kTarget = touching(3000, 2000, kCarBox, kCarBox, -30);

} // namespace

TEST(Road, OnAnOpenFieldTheRoadIsTheWayThereAndShrinksWithEveryStep) {
    Field f;
    Road road = f.road();
    road.aimAt(kTarget, nullptr);
    road.plan();
    EXPECT_EQ(road.roadFrom(3000, 2000), 0);
    const float straight = kTarget.x0 - 1000; // from (1000, 2000), along the row
    EXPECT_NEAR(road.roadFrom(1000, 2000), straight, kCell);
    EXPECT_GT(road.roadFrom(1000, 2000), road.roadFrom(1080, 2000));
    EXPECT_GT(road.roadFrom(1000, 1000), road.roadFrom(1000, 1080)); // down towards it counts too
}

TEST(Road, TheOtherCarIsGivenABerthNowAndWhereItWillBe) {
    Field f;
    f.other.visible = true;
    f.other.left = 2000;
    f.other.top = 2000;
    Road road = f.road({90, 20}, 80, 0); // it drives right, 80 a step
    road.aimAt(kTarget, nullptr);
    road.plan();
    // Right in the way: the road goes round it.
    EXPECT_GT(road.roadFrom(1000, 2000), kTarget.x0 - 1000 + 2 * kCell);
    const float reach = kCarBox + 90;
    EXPECT_TRUE(road.danger(2000 - reach, 2000, 0));
    EXPECT_FALSE(road.danger(2000 - reach - 1, 2000, 0));
    EXPECT_FALSE(road.danger(2000 - reach, 2000, 0, false)); // only the berth, no real touch
    EXPECT_TRUE(road.danger(2000 + 800 + reach, 2000, 10));  // where it will be ten steps on
    EXPECT_FALSE(road.danger(2000 + 800 + reach, 2000, 0));
}

TEST(Road, EverythingLaidOnTheFieldIsSeenAtOnce) {
    Field f;
    Control& trap = f.w.*kPlayers[1].trap;
    trap.visible = true;
    trap.left = 2000;
    trap.top = 1000;
    trap.width = 255;
    trap.height = 135;
    for (int i = 0; i < 2; ++i) {
        Control& slick = f.w.*kPlayers[i].slick;
        slick.visible = true;
        slick.left = 3000 + 1000 * static_cast<float>(i);
        slick.top = 3000;
    }
    Control& cheese = f.w.*kPlayers[1].cheese;
    cheese.visible = true;
    cheese.left = 1000;
    cheese.top = 3500;
    Road road = f.road();
    road.setCheeseStep(240, 0);
    road.aimAt(kTarget, nullptr);
    road.plan();
    // The other player's trap, both slicks, and the place where the other car comes back after a
    // crash: as many things as a look can see lying still, its list of them full.
    EXPECT_TRUE(road.danger(2000 + 255 + 10, 1000, 0));
    EXPECT_FALSE(road.danger(2000 + 255 + 10, 1000, 0, false)); // in its margin only
    EXPECT_TRUE(road.danger(3000, 3000, 0));
    EXPECT_TRUE(road.danger(4000, 3000, 0));
    EXPECT_TRUE(road.danger(kPlayers[1].startLeft, kPlayers[1].startTop, 0));
    // The cheese rolls on: three steps on it is 720 further.
    EXPECT_TRUE(road.danger(1720, 3500, 3));
    EXPECT_FALSE(road.danger(1720 + kCarBox + 30, 3500, 0));
    EXPECT_TRUE(road.danger(300, 2000, 0)); // the wall
}

TEST(Road, ItParksOnlyInTheStationItMeansAndTheOtherIsAWall) {
    Field f;
    const Control& gas = f.w.gasStation;
    const Control& upgrade = f.w.upgradeStation;
    Road road = f.road();
    road.aimAt(touching(gas.left, gas.top, kStationWidth, kStationHeight, -20), &gas);
    road.plan();
    EXPECT_TRUE(road.parks(gas.left, gas.top + 100));
    EXPECT_FALSE(road.parks(upgrade.left, upgrade.top + 100));
    EXPECT_TRUE(road.danger(upgrade.left, upgrade.top + 100, 0));
    EXPECT_LT(road.roadFrom(3000, 2000), Road::kNoRoad);

    road.aimAt(kTarget, nullptr);
    road.plan();
    EXPECT_FALSE(road.parks(3000, 2000)); // a place, not a station: it drives on through it
}

TEST(Road, ATargetInTheWallHasNoRoad) {
    Field f;
    Road road = f.road();
    road.aimAt({0, 0, kWallLow, kWallLow}, nullptr);
    road.plan();
    EXPECT_EQ(road.roadFrom(3000, 2000), Road::kNoRoad);
}

TEST(KeyPresses, AFullLookRefusesMoreKeysAndKeepsTheirOrder) {
    KeyPresses keys;
    for (char key : std::string_view("WASD"))
        EXPECT_TRUE(keys.push(key));
    EXPECT_FALSE(keys.push('Q'));
    EXPECT_EQ(std::string(keys.begin(), keys.end()), "WASD");
}
