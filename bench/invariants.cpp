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
    if (onlyStartButton_ && g_.f1.Command3.Visible) {
        // Between games (and before the first) everything stands still until the start button. (New
        // settings from the menu bring the start button back without stopping the timers.)
        if (!g_.paused) fail("the game is not paused between games");
        for (int n = 1; n <= 6; ++n)
            if (g_.timer(n).Enabled) fail("Timer" + std::to_string(n) + " runs between games");
    }
    if (!wasOver_ && g_.outcomedone) ++games_;
    if (wasOver_ && !g_.outcomedone) outcomesBeforeThisGame_ = platform_.outcomes;
    wasOver_ = g_.outcomedone;
    long long outcomes = platform_.outcomes - outcomesBeforeThisGame_;
    if (outcomes != (g_.outcomedone ? 1 : 0))
        fail(std::to_string(outcomes) + " outcome boxes in a game that is " +
             (g_.outcomedone ? "over" : "not over"));
}

void GameWatch::fail(const std::string& what) {
    std::ostringstream s;
    s << "at game time " << g_.clock << " ms: " << what;
    throw Breach{s.str()};
}

// Messages are only put together once a check has failed: the checks run a hundred times a game second.
void GameWatch::checkPlayer(int i) {
    const Player& pl = g_.p[i];
    auto who = [i] { return "player " + std::to_string(i + 1) + ": "; };
    if (pl.lives < 0) fail(who() + "lives below zero: " + std::to_string(pl.lives));
    if (pl.cheesestock < 0 || pl.slickstock < 0) fail(who() + "a stock below zero");
    if (pl.device < 1 || pl.device > 3) fail(who() + "device outside 1..3: " + std::to_string(pl.device));
    for (Count heading : {pl.dir, pl.trapdir, pl.skiddir, pl.cheesedir})
        if (heading < 0 || heading > 4) fail(who() + "a heading outside 0..4: " + std::to_string(heading));
    // Tanks start at 20, 25 or 30 and move by 5: the station sells down to 10 and buys up to 995.
    if (!onFiveStep(double(pl.tgas), 10, 995))
        fail(who() + "tank off the 5 steps of 10..995: " + std::to_string(pl.tgas));
    // Speeds start at 50, 80 or 100 and move by 5: cheese crashes stop at 15, the station at 20 and 995.
    if (!onFiveStep(pl.speed, 15, 995))
        fail(who() + "speed off the 5 steps of 15..995: " + std::to_string(pl.speed));
    // Both gas counters move together, except that a slick cuts the second one further for a player
    // whose row says so; a trap hit, a refill or leaving the upgrade station makes them equal again.
    Count cut = kPlayers[i].slickExtraGas1Cut, apart = pl.gas - pl.gas1;
    if (cut == 0 ? apart != 0 : apart < 0 || apart % cut != 0)
        fail(who() + "gas " + std::to_string(pl.gas) + " and gas1 " + std::to_string(pl.gas1) +
             " differ by more than slick cuts of " + std::to_string(cut));
}

void GameWatch::checkPositions() {
    static constexpr Control Form1::*kMoving[] = {&Form1::bmouse1,  &Form1::Command1,   &Form1::trap1,
                                                  &Form1::trap2,    &Form1::piccheese1, &Form1::piccheese2,
                                                  &Form1::picrasb1, &Form1::picrasb2,   &Form1::Command2,
                                                  &Form1::Com2,     &Form1::fdown1,     &Form1::fdown2};
    for (auto member : kMoving) {
        const Control& c = g_.f1.*member;
        if (!std::isfinite(c.Left) || !std::isfinite(c.Top)) fail("a moving control left the finite numbers");
    }
}

// The outcome box of `dead`, shown before the game resets: it must be the game's first and must name
// the player with more points, and promise a record only to a score that reaches the high score.
void GameWatch::outcome(const std::string& text, const std::string& title) {
    if (g_.outcomedone) fail("a second outcome box in one game: " + text);
    Count s1 = g_.p[0].score, s2 = g_.p[1].score;
    if (title == "Tie Game!") {
        if (s1 != s2)
            fail("a tie announced with scores " + std::to_string(s1) + " and " + std::to_string(s2));
        return;
    }
    if (s1 == s2) fail("a winner announced with equal scores: " + text);
    int winner = s1 > s2 ? 0 : 1;
    if (text.rfind(g_.p[winner].name + " wins", 0) != 0)
        fail("player " + std::to_string(winner + 1) + " has more points, but the outcome says: " + text);
    bool promised = text.find("beat the high score") != std::string::npos;
    if (promised != (double(g_.p[winner].score) >= g_.highscore))
        fail("a record promised or denied wrongly against the high score: " + text);
}

} // namespace squeakrun::bench
