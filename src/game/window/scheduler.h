// The game clock: the eight interval timers of the main window driven from one millisecond clock.
#pragma once

#include <cstdint>

namespace squeakrun {

struct Game;

// Runs, one at a time and in order of due time (timer number breaking ties), every tick that falls
// due at or before `target`, then leaves the clock at `target`. Does nothing while a handler runs:
// a handler waiting in a message box holds every other handler off.
void advanceClock(Game& g, std::int64_t target);

// The handler of timer `number` (1 to 8).
using TimerHandler = void (*)(Game&);
TimerHandler timerHandler(int number);

} // namespace squeakrun
