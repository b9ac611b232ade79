// The look ahead: it finds the first tick that changes what is shown without touching the game or its
// world, a look kept from one wake to the next answers as a fresh one would, the computer's looks made
// ahead play the game as its own would, and a tick that needs a box or makes a sound ends the look there.
#include "headless/headless_platform.h"
#include "headless/temp_folder.h"
#include "rules/events.h"
#include "rules/ticks.h"
#include "session/look_ahead.h"

#include <gtest/gtest.h>

#include <bit>
#include <chrono>

using namespace squeakrun;

namespace {

struct Table {
    TempFolder folder;
    HeadlessPlatform platform{folder.path(), nullptr};
    SeatedGame seated{platform, 7};
    Game& game = seated.game;
};

// Whether the key box upkeep, every 10 ms from the start, is due after 75 ms, and after 150 ms.
std::uint64_t upkeepPast75And150(const GameState& g) {
    const std::int64_t due = g.clock.timers[7].due;
    return (due > 75) + 2 * (due > 150);
}

// Where the cars are: what a player watches move.
std::uint64_t carsShown(const GameState& g) {
    std::uint64_t h = 0;
    for (const PlayerRow& row : kPlayers) {
        const Control& car = g.window.*row.car;
        h = h * 0x9E3779B97F4A7C15ull ^ std::bit_cast<std::uint32_t>(car.left) ^
            std::uint64_t{std::bit_cast<std::uint32_t>(car.top)} << 32;
    }
    return h;
}

} // namespace

TEST(LookAhead, FindsTheFirstTickThatChangesWhatIsShownAndLeavesTheGameAlone) {
    Table t;
    LookAhead ahead;
    ahead.setSignature(upkeepPast75And150);
    // The upkeep tick at 70 leaves it due at 80.
    EXPECT_EQ(ahead.firstChange(t.seated, 69), -1);
    EXPECT_EQ(ahead.firstChange(t.seated, 2000), 70);
    EXPECT_EQ(t.game.clock.now, 0);
    EXPECT_EQ(t.game.clock.timers[7].due, 10);

    // Once the game has run past both changes, nothing more changes; a look that only caught up
    // with the game would still think it showed what it showed at 70.
    advanceClock(t.game, 160);
    EXPECT_EQ(ahead.firstChange(t.seated, 2000), -1);
}

TEST(LookAhead, AKeptLookAnswersAsAFreshOneWhileTheComputerDrivesBothCars) {
    Table t;
    t.platform.answers = {std::string("Ann"), std::string("Bob"), std::string("3")};
    startUp(t.game);
    t.platform.useDefaults = true;
    pressStartButton(t.game);
    t.seated.seats.set(0, Skill::Hard, 11);
    t.seated.seats.set(1, Skill::Average, 11);
    LookAhead kept;
    kept.setSignature(carsShown);
    int changes = 0;
    for (std::int64_t at = 37; at < 4000; at += 37) {
        t.seated.advance(at);
        LookAhead fresh;
        fresh.setSignature(carsShown);
        const std::int64_t change = kept.firstChange(t.seated, at + 500);
        ASSERT_EQ(change, fresh.firstChange(t.seated, at + 500)) << "at " << at;
        changes += change > 0;
    }
    EXPECT_GT(changes, 50); // the cars were moving
}

TEST(LookAhead, TheGameTakesOverTheComputersLooksMadeAheadAndPlaysAsIfItMadeThem) {
    // Two games from one seed: one takes over the looks made ahead of it, the other makes every look
    // itself. On a screen that never changes each look ahead plays the whole half second. Half way the
    // computer's skill at player 2 changes, which makes the looks kept stale at once.
    Table shared, alone;
    int made = 0;
    for (Table* t : {&shared, &alone}) {
        t->platform.answers = {std::string("Ann"), std::string("Bob"), std::string("3")};
        startUp(t->game);
        t->platform.useDefaults = true;
        pressStartButton(t->game);
        t->seated.seats.set(0, Skill::Hard, 11);
        t->seated.seats.set(1, Skill::Average, 11);
    }
    LookAhead ahead;
    ahead.setSignature([](const GameState&) -> std::uint64_t { return 0; });
    shared.seated.foreseen = &ahead.foreseen();
    shared.seated.seats.onLook = [&](int, std::chrono::nanoseconds) { ++made; };
    for (std::int64_t at = 37; at < 4000; at += 37) {
        if (at == 37 * 50) {
            ahead.forget();
            for (Table* t : {&shared, &alone})
                t->seated.seats.set(1, Skill::Easy, 11);
        } else {
            ahead.firstChange(shared.seated, at + 500);
        }
        shared.seated.advance(at);
        alone.seated.advance(at);
        ASSERT_EQ(carsShown(shared.game), carsShown(alone.game)) << "at " << at;
    }
    EXPECT_EQ(shared.seated.seats.drivers[1]->skill(), Skill::Easy);
    // Two drivers look every step: nearly all of those looks were made once, ahead.
    EXPECT_LT(made, 2 * 4000 / kLookStepMs / 10);
}

TEST(LookAhead, ATickThatNeedsTheWorldOrMakesASoundEndsTheLookUnheardAndUnseen) {
    // The crash check at 50 ms finds player 2's car in the wall without a life left, and ends the game
    // with a box; or on player 1's trap, which the players hear snap though nothing here shows it.
    for (const bool trapped : {false, true}) {
        Table t;
        if (trapped) {
            t.game.players[0].trapLaid = true;
            t.game.players[0].trapHeading = Left;
            Control& trap = t.game.control(kPlayers[0].trap);
            trap.left = t.game.car(1).left;
            trap.top = t.game.car(1).top;
        } else {
            t.game.players[1].lives = 0;
            t.game.car(1).left = 0;
        }
        t.game.clock.timers[0].enabled = true;
        t.game.clock.timers[0].due = 50;
        LookAhead ahead;
        ahead.setSignature([](const GameState&) -> std::uint64_t { return 0; });
        EXPECT_EQ(ahead.firstChange(t.seated, 2000), 50);
        EXPECT_EQ(t.platform.messageCount, 0LL);
        EXPECT_TRUE(t.platform.heard.empty());
        // The box must come on time; the sound may come with the cars' next step.
        EXPECT_EQ(ahead.changeNeedsTheWorld(), !trapped);
        // Asked again, it plays that tick afresh rather than from a game left half-way through it.
        EXPECT_EQ(ahead.firstChange(t.seated, 2000), 50);
    }
}
