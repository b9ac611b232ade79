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
// disables another timer due in the same millisecond keeps it from running. A template, so that the
// game's own walk, which runs about three hundred ticks per game second, calls its handlers directly.
template <class Tick, class Stop>
void runDueTimers(std::array<Timer, 8>& timers, std::int64_t& clock, std::int64_t target, Tick&& tick,
                  Stop&& stop) {
    while (!stop()) {
        int next = -1;
        std::int64_t nextDue = target;
        for (int i = 0; i < 8; ++i) {
            const Timer& t = timers[i];
            // Strictly earlier wins, so timers due together run in timer-number order.
            if (t.Enabled && (t.due < nextDue || (next < 0 && t.due == nextDue))) {
                next = i;
                nextDue = t.due;
            }
        }
        if (next < 0) break;
        Timer& t = timers[next];
        clock = t.due;
        t.due += t.Interval;
        tick(next);
    }
    if (target > clock) clock = target;
}

// The earliest due time of the enabled timers, or -1 when none runs.
std::int64_t nextDue(const std::array<Timer, 8>& timers);

// The handler of timer `number` (1 to 8).
using TimerHandler = void (*)(Game&);
TimerHandler timerHandler(int number);

} // namespace squeakrun
