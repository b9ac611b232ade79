// Two random players: each presses a random key of its own every 50 to 400 ms, every box takes its
// default, and a finished game is started again. A car the computer drives gets no random keys.
// Drives soak runs, timedemos, the tournament and the runner's autoplay.
#pragma once

#include "computer/seated_game.h"
#include "headless/headless_platform.h"
#include "rules/state.h"

#include <array>
#include <cstdint>
#include <functional>

namespace squeakrun {

struct AutoplayOptions {
    std::uint64_t seed = 1;      // the key stream's seed; the stream is apart from the game's own
    std::int64_t stepMs = 0;     // when > 0, the clock advances at most this far between checks
    std::function<void()> check; // called after every step, for invariant checks
    std::array<bool, 2> randomKeys{true, true}; // false: that player presses nothing (a car that never moves)
    std::function<bool()> stop;                 // asked after every step: true ends the play early
};

// Plays `ms` milliseconds of game time; returns how many keys were pressed. The seated drivers look as
// the clock goes.
long long autoplay(SeatedGame& game, HeadlessPlatform& platform, std::int64_t ms,
                   const AutoplayOptions& options);
// The same for a game the computer does not drive.
long long autoplay(Game& g, HeadlessPlatform& platform, std::int64_t ms, const AutoplayOptions& options);

} // namespace squeakrun
