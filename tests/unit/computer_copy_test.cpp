// The window plays ahead on a copy of the game and its computer drivers, so a copy taken mid-game must
// play on exactly as the original: the drivers hold nothing that points into the game they came from.
#include "computer/computer_driver.h"
#include "headless/headless_platform.h"
#include "headless/temp_folder.h"
#include "rules/events.h"

#include <gtest/gtest.h>

using namespace squeakrun;

namespace {
// Where both cars stand and what both players hold, as far as a driver's play shows.
std::string snapshot(const GameState& s) {
    std::string out;
    for (int i = 0; i < 2; ++i) {
        const Control& car = s.window.*kPlayers[i].car;
        const Player& p = s.players[i];
        out += std::to_string(car.left) + "," + std::to_string(car.top) + " " + std::to_string(p.score) +
               " " + std::to_string(p.shownGas) + " " + std::to_string(p.lives) + "; ";
    }
    return out;
}
} // namespace

TEST(ComputerCopy, ACopyTakenMidGamePlaysOnAsTheOriginal) {
    TempFolder folder("squeakrun-computer-test");
    HeadlessPlatform platform(folder.path(), nullptr);
    platform.useDefaults = true;
    Game original(platform, 7);
    startUp(original);
    pressStartButton(original);
    ComputerSeats seats;
    seats.set(0, Skill::Easy, 14);
    seats.set(1, Skill::Hard, 15);
    advanceWithComputer(original, seats, original.clock.now + 20000);

    Game copy(platform, 0);
    static_cast<GameState&>(copy) = original;
    ComputerSeats copiedSeats = seats;
    advanceWithComputer(original, seats, original.clock.now + 20000);
    advanceWithComputer(copy, copiedSeats, copy.clock.now + 20000);
    EXPECT_EQ(snapshot(copy), snapshot(original));
    EXPECT_NE(original.players[1].score, 0); // the drivers did play
}
