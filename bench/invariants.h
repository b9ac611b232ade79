// What must hold in every game at every moment, checked from outside the game: finite positions, no
// negative lives or stocks, a device and headings from their ranges, tanks and speeds on their 5-unit
// steps within the upgrade station's limits, gas counters that differ only by the extra slick cut of the
// player who has one, and exactly one outcome box per game, naming the right winner. Used by the soak run
// and by the fuzz target that plays the game through its menus.
#pragma once

#include "harness.h"

#include <string>

namespace squeakrun::bench {

// The first thing found not to hold, with the game time.
struct Breach {
    std::string what;
};

class GameWatch {
  public:
    // Watches a game whose load handler has run. With `onlyStartButton`, the game is driven by keys and
    // the start button alone (no menus), so between games everything must also stand still.
    GameWatch(Game& g, CountingPlatform& platform, bool onlyStartButton);
    // Throws Breach.
    void check();

    long long games() const { return games_; }
    long long checks() const { return checks_; }

  private:
    [[noreturn]] void fail(const std::string& what);
    void checkPlayer(int i);
    void checkPositions();
    void outcome(const std::string& text, const std::string& title);

    Game& g_;
    CountingPlatform& platform_;
    bool onlyStartButton_;
    bool wasOver_ = false;
    long long outcomesBeforeThisGame_ = 0, games_ = 0, checks_ = 0;
};

} // namespace squeakrun::bench
