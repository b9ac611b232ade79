// The signature of a game: a number that two machines compare to learn whether their games are still
// the same one, without sending the game.
#pragma once

#include "rules/state.h"

#include <cstdint>

namespace squeakrun {

// Covers the clock and its timers, the random numbers to come, both players, the bonus items and every
// control of the main window; two games that differ in any of these differ in their signature (but
// for a chance of one in 2^64).
std::uint64_t gameSignature(const GameState& g);

} // namespace squeakrun
