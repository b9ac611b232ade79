// Which timer of the game clock runs which tick, and the game's walk of the clock.
#pragma once

#include "window/game_clock.h"

#include <array>
#include <cstdint>

namespace squeakrun {

struct Game;

// The game's eight timers, in the order the clock breaks ties of the same millisecond.
enum class TickTimer : int {
    CrashChecks,  // every 50 ms: cars in the wall, in each other, on a trap
    BonusItems,   // every 50 ms: a fresh bonus item where one was taken
    Contacts,     // every 10 ms: devices laid, gauges, pickups, hits and stations
    Movement,     // every 30 ms: cars driven one speed step; cheese crashes; the settings reset
    EverySecond,  // every second: cheese-crash countdowns and burning gas
    Rolling,      // every 30 ms: rolling cheese, skids and coasting
    Refuelling,   // every 150 ms while a car refuels
    KeyBoxUpkeep, // every 10 ms from start-up: stray letters out of the key box
};

// Each timer's interval in ms, in the order above. The cars move once a movement tick.
inline constexpr std::array<int, GameClock::kTimers> kTimerIntervals = {50, 50, 10, 30, 1000, 30, 150, 10};
inline constexpr std::int64_t kMovementTickMs = kTimerIntervals[static_cast<int>(TickTimer::Movement)];

// Starting a stopped timer begins its interval now; starting a running one changes nothing.
void setTimer(Game& g, TickTimer timer, bool on);

// The six timers of a game in play (all but refuelling and the key box upkeep): the start button
// starts them, the end of a game stops them.
void setPlayTimers(Game& g, bool on);

// Runs every tick due by `target` in order, then leaves the clock at `target`. Does nothing while a
// tick runs: a tick waiting in a message box holds every other tick off.
void advanceClock(Game& g, std::int64_t target);

// The tick that timer `timer` (0-based) runs when it falls due.
using TickHandler = void (*)(Game&);
TickHandler tickHandler(int timer);

} // namespace squeakrun
