#include "invariants.h"

#include <cmath>
#include <sstream>

namespace squeakrun::bench {

namespace {
bool onFiveStep(double v, double low, double high) {
    return v >= low && v <= high && std::fmod(v, 5) == 0;
}
} // namespace

GameWatch::GameWatch(Game& g, CountingPlatform& platform, bool onlyStartButton)
    : g_(g), platform_(platform), onlyStartButton_(onlyStartButton) {
    platform_.onOutcome = [this](const std::string& text, const std::string& title) { outcome(text, title); };
}

void GameWatch::check() {
    ++checks_;
    for (int i = 0; i < 2; ++i)
        checkPlayer(i);
    checkPositions();
    if (onlyStartButton_ && g_.window.startButton.visible) {
        // Between games (and before the first) everything stands still until the start button. (New
        // settings from the menu bring the start button back without stopping the timers.)
        if (!g_.paused) fail("the game is not paused between games");
        for (int n = 1; n <= 6; ++n)
            if (g_.clock.timers[n - 1].enabled) fail("Timer" + std::to_string(n) + " runs between games");
    }
    if (!wasOver_ && g_.gameScored) ++games_;
    if (wasOver_ && !g_.gameScored) outcomesBeforeThisGame_ = platform_.outcomes;
    wasOver_ = g_.gameScored;
    long long outcomes = platform_.outcomes - outcomesBeforeThisGame_;
    if (outcomes != (g_.gameScored ? 1 : 0))
        fail(std::to_string(outcomes) + " outcome boxes in a game that is " +
             (g_.gameScored ? "over" : "not over"));
}

void GameWatch::fail(const std::string& what) {
    std::ostringstream s;
    s << "at game time " << g_.clock.now << " ms: " << what;
    throw Breach{s.str()};
}

// Messages are only put together once a check has failed: the checks run a hundred times a game second.
void GameWatch::checkPlayer(int i) {
    const Player& pl = g_.players[i];
    auto who = [i] { return "player " + std::to_string(i + 1) + ": "; };
    if (pl.lives < 0) fail(who() + "lives below zero: " + std::to_string(pl.lives));
    if (pl.cheeseStock < 0 || pl.slickStock < 0) fail(who() + "a stock below zero");
    const int device = static_cast<int>(pl.device);
    if (device < 1 || device > 3) fail(who() + "device outside 1..3: " + std::to_string(device));
    for (Count heading : {pl.heading, pl.trapHeading, pl.skidHeading, pl.cheeseHeading})
        if (heading < 0 || heading > 4) fail(who() + "a heading outside 0..4: " + std::to_string(heading));
    // Tanks start at 20, 25 or 30 and move by 5: the station sells down to 10 and buys up to 995.
    if (!onFiveStep(double(pl.tankSize), 10, 995))
        fail(who() + "tank off the 5 steps of 10..995: " + std::to_string(pl.tankSize));
    // Speeds start at 50, 80 or 100 and move by 5: cheese crashes stop at 15, the station at 20 and 995.
    if (!onFiveStep(pl.speed, 15, 995))
        fail(who() + "speed off the 5 steps of 15..995: " + std::to_string(pl.speed));
    // Both gas counters move together, except that a slick cuts the second one further for a player
    // whose row says so; a trap hit, a refill or leaving the upgrade station makes them equal again.
    Count cut = kPlayers[i].slickExtraTankGasCut, apart = pl.shownGas - pl.tankGas;
    if (cut == 0 ? apart != 0 : apart < 0 || apart % cut != 0)
        fail(who() + "gas " + std::to_string(pl.shownGas) + " and gas1 " + std::to_string(pl.tankGas) +
             " differ by more than slick cuts of " + std::to_string(cut));
}

void GameWatch::checkPositions() {
    static constexpr Control MainWindow::*kMoving[] = {
        &MainWindow::player1Car,   &MainWindow::player2Car,       &MainWindow::player1Trap,
        &MainWindow::player2Trap,  &MainWindow::player1Cheese,    &MainWindow::player2Cheese,
        &MainWindow::player1Slick, &MainWindow::player2Slick,     &MainWindow::bonusItem1,
        &MainWindow::bonusItem2,   &MainWindow::player1Countdown, &MainWindow::player2Countdown};
    for (auto member : kMoving) {
        const Control& c = g_.window.*member;
        if (!std::isfinite(c.left) || !std::isfinite(c.top)) fail("a moving control left the finite numbers");
    }
}

// The outcome box of `endGame`, shown before the game resets: it must be the game's first and must name
// the player with more points, and promise a record only to a score that reaches the high score.
void GameWatch::outcome(const std::string& text, const std::string& title) {
    if (g_.gameScored) fail("a second outcome box in one game: " + text);
    Count s1 = g_.players[0].score, s2 = g_.players[1].score;
    if (title == "Tie Game!") {
        if (s1 != s2)
            fail("a tie announced with scores " + std::to_string(s1) + " and " + std::to_string(s2));
        return;
    }
    if (s1 == s2) fail("a winner announced with equal scores: " + text);
    int winner = s1 > s2 ? 0 : 1;
    if (text.rfind(g_.players[winner].name + " wins", 0) != 0)
        fail("player " + std::to_string(winner + 1) + " has more points, but the outcome says: " + text);
    bool promised = text.find("beat the high score") != std::string::npos;
    if (promised != (double(g_.players[winner].score) >= g_.highScore))
        fail("a record promised or denied wrongly against the high score: " + text);
}

} // namespace squeakrun::bench
