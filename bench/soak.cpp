// squeakrun-soak: hours of game time played by two random players, the game checked after every 10 ms
// step against what must always hold: finite positions, no negative lives or stocks, a device and
// headings from their ranges, tanks and speeds on their 5-unit steps within the station's limits, gas
// counters that differ only by the extra slick cut of the player who has one, the game timers stopped
// between games, and exactly one outcome box per game, naming the right winner. The first breach is
// printed with the game time and the program exits 1.
//
//   squeakrun-soak HOURS SEED        HOURS may be a fraction (0.5 is half an hour)
#include "harness.h"

#include "game/window/headless/autoplay.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>

using namespace squeakrun;

namespace {

struct Breach {
    std::string what;
};

class Watch {
  public:
    Watch(Game& g, bench::CountingPlatform& platform) : g_(g), platform_(platform) {
        platform_.onOutcome = [this](const std::string& text, const std::string& title) {
            outcome(text, title);
        };
    }

    void check() {
        ++checks_;
        for (int i = 0; i < 2; ++i)
            checkPlayer(i);
        checkPositions();
        if (g_.f1.Command3.Visible) {
            // Between games (and before the first): everything stands still until the start button.
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

    long long games() const { return games_; }
    long long checks() const { return checks_; }

  private:
    void fail(const std::string& what) {
        std::ostringstream s;
        s << "at game time " << g_.clock << " ms: " << what;
        throw Breach{s.str()};
    }
    void expect(bool holds, const std::string& what) {
        if (!holds) fail("expected " + what);
    }

    static bool onFiveStep(double v, double low, double high) {
        return v >= low && v <= high && std::fmod(v, 5) == 0;
    }

    // Messages are only put together once a check has failed: the checks run a hundred times a game second.
    void checkPlayer(int i) {
        const Player& pl = g_.p[i];
        auto who = [i] { return "player " + std::to_string(i + 1) + ": "; };
        if (pl.lives < 0) fail(who() + "lives below zero: " + std::to_string(pl.lives));
        if (pl.cheesestock < 0 || pl.slickstock < 0) fail(who() + "a stock below zero");
        if (pl.name.empty()) return; // the program is still asking its start-up questions
        if (pl.device < 1 || pl.device > 3) fail(who() + "device outside 1..3: " + std::to_string(pl.device));
        for (Count heading : {pl.dir, pl.trapdir, pl.skiddir, pl.cheesedir})
            if (heading < 0 || heading > 4)
                fail(who() + "a heading outside 0..4: " + std::to_string(heading));
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

    void checkPositions() {
        static constexpr Control Form1::*kMoving[] = {
            &Form1::bmouse1,    &Form1::Command1,   &Form1::trap1,    &Form1::trap2,
            &Form1::piccheese1, &Form1::piccheese2, &Form1::picrasb1, &Form1::picrasb2,
            &Form1::Command2,   &Form1::Com2,       &Form1::fdown1,   &Form1::fdown2};
        for (auto member : kMoving) {
            const Control& c = g_.f1.*member;
            if (!std::isfinite(c.Left) || !std::isfinite(c.Top))
                fail("a moving control left the finite numbers");
        }
    }

    // The outcome box of `dead`, shown before the game resets: it must be the game's first and must name
    // the player with more points, and promise a record only to a score that reaches the high score.
    void outcome(const std::string& text, const std::string& title) {
        if (g_.outcomedone) fail("a second outcome box in one game: " + text);
        Count s1 = g_.p[0].score, s2 = g_.p[1].score;
        if (title == "Tie Game!") {
            expect(s1 == s2, "a tie only with equal scores");
            return;
        }
        expect(s1 != s2, "a winner only with different scores");
        int winner = s1 > s2 ? 0 : 1;
        expect(text.rfind(g_.p[winner].name + " wins", 0) == 0,
               "the outcome to name player " + std::to_string(winner + 1) + ": " + text);
        bool promised = text.find("beat the high score") != std::string::npos;
        expect(promised == (double(g_.p[winner].score) >= g_.highscore),
               "a record exactly when the high score is reached");
    }

    Game& g_;
    bench::CountingPlatform& platform_;
    bool wasOver_ = false;
    long long outcomesBeforeThisGame_ = 0, games_ = 0, checks_ = 0;
};

} // namespace

int main(int argc, char** argv) {
    char* end = nullptr;
    double hours = argc == 3 ? std::strtod(argv[1], &end) : -1;
    bool hoursOk = end && *end == '\0' && hours > 0 && hours <= 10000;
    long long seed = argc == 3 ? std::strtoll(argv[2], &end, 10) : -1;
    if (!hoursOk || *end != '\0' || seed < 0) {
        std::fprintf(stderr, "usage: squeakrun-soak HOURS SEED\n");
        return 2;
    }

    bench::Session session(static_cast<std::uint64_t>(seed));
    Watch watch(session.game, session.platform);
    AutoplayOptions options;
    options.seed = static_cast<std::uint64_t>(seed);
    options.stepMs = 10;
    options.check = [&watch] { watch.check(); };
    const auto gameMs = static_cast<std::int64_t>(std::llround(hours * 3600 * 1000));

    auto start = std::chrono::steady_clock::now();
    try {
        watch.check();
        long long keys = autoplay(session.game, session.platform, gameMs, options);
        std::chrono::duration<double> wall = std::chrono::steady_clock::now() - start;
        std::printf("soak %.2f game hours, seed %lld: %lld games, %lld records, %lld keys, %lld checks held "
                    "(%.1f s wall)\n",
                    hours, seed, watch.games(), session.platform.records, keys, watch.checks(), wall.count());
    } catch (const Breach& breach) {
        std::printf("soak seed %lld: BREACH %s\n", seed, breach.what.c_str());
        return 1;
    }
    return 0;
}
