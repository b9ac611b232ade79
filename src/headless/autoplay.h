// Two random players: each presses a random key of its own every 50 to 400 ms, every box takes its
// default, and a finished game is started again. Drives soak runs, timedemos and the runner's autoplay.
#pragma once

#include "headless/headless_platform.h"
#include "rules/state.h"

#include <cstdint>
#include <functional>

namespace squeakrun {

struct AutoplayOptions {
    std::uint64_t seed = 1;      // the key stream's seed; the stream is apart from the game's own
    std::int64_t stepMs = 0;     // when > 0, the clock advances at most this far between checks
    std::function<void()> check; // called after every step, for invariant checks
};

// Plays `ms` milliseconds of game time; returns how many keys were pressed.
long long autoplay(Game& g, HeadlessPlatform& platform, std::int64_t ms, const AutoplayOptions& options);

} // namespace squeakrun
