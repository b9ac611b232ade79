// The game clock: the eight interval timers of the main window driven from one millisecond clock.
#pragma once

#include "game/window/controls.h"

#include <array>
#include <cstdint>
#include <functional>

namespace squeakrun {

struct Game;

// Runs, one at a time and in order of due time (timer number breaking ties), every tick that falls
// due at or before `target`, then leaves the clock at `target`. Does nothing while a handler runs:
// a handler waiting in a message box holds every other handler off.
void advanceClock(Game& g, std::int64_t target);

// The same walk over any set of timers: `tick(i)` runs timer i (0-based) with `clock` at its due time;
// `stop()` is asked before each tick. Each timer is checked just before it would run, so a tick that
// disables another timer due in the same millisecond keeps it from running.
void runDueTimers(std::array<Timer, 8>& timers, std::int64_t& clock, std::int64_t target,
                  const std::function<void(int)>& tick, const std::function<bool()>& stop);

// The earliest due time of the enabled timers, or -1 when none runs.
std::int64_t nextDue(const std::array<Timer, 8>& timers);

// The handler of timer `number` (1 to 8).
using TimerHandler = void (*)(Game&);
TimerHandler timerHandler(int number);

} // namespace squeakrun
