// The game clock: eight interval timers on one millisecond clock. A timer enabled at time t first
// ticks at t + interval, then every interval after its previous due time, so it never drifts.
#pragma once

#include <array>
#include <cstdint>
#include <functional>

namespace squeakrun {

// One interval timer. The clock runs its tick at `due`, then every `interval` ms.
struct Timer {
    int interval = 0;
    bool enabled = false;
    std::int64_t due = 0;
};

struct GameClock {
    static constexpr int kTimers = 8;

    std::int64_t now = 0; // ms since start-up; while a tick runs, that tick's due time
    std::array<Timer, kTimers> timers{};
    // Told of each tick just before it runs: the timer (0-based) and its due time. For measuring.
    std::function<void(int timer, std::int64_t due)> onTick;

    // Enabling a stopped timer starts its interval now; enabling a running one changes nothing.
    void enable(int timer, bool on) {
        Timer& t = timers[timer];
        if (on && !t.enabled) t.due = now + t.interval;
        t.enabled = on;
    }

    // The earliest due time of the enabled timers, or -1 when none runs.
    std::int64_t nextDue() const {
        std::int64_t best = -1;
        for (const Timer& t : timers)
            if (t.enabled && (best < 0 || t.due < best)) best = t.due;
        return best;
    }

    // True while a tick runs: the clock does not re-enter, so a tick waiting in a message box holds
    // every other tick off.
    bool ticking() const { return ticking_; }

    // Runs, one at a time and in order of due time (timer number breaking ties), every tick that falls
    // due at or before `target`, then leaves the clock at `target`. `runTick(i)` runs timer i; `stop()`
    // is asked before each tick. Each timer is checked just before it would run, so a tick that
    // disables another timer due in the same millisecond keeps it from running. A template, so that
    // the game's walk, about three hundred ticks per game second, calls its ticks directly.
    template <class RunTick, class Stop> void advance(std::int64_t target, RunTick&& runTick, Stop&& stop) {
        if (ticking_) return;
        while (!stop()) {
            int next = -1;
            std::int64_t nextDue = target;
            for (int i = 0; i < kTimers; ++i) {
                const Timer& t = timers[i];
                // Strictly earlier wins, so timers due together run in timer-number order.
                if (t.enabled && (t.due < nextDue || (next < 0 && t.due == nextDue))) {
                    next = i;
                    nextDue = t.due;
                }
            }
            if (next < 0) break;
            Timer& t = timers[next];
            now = t.due;
            t.due += t.interval;
            if (onTick) onTick(next, now);
            // A tick that throws ends its run all the same: the clock must not stay shut to every
            // later tick.
            struct Ticking {
                bool& flag;
                explicit Ticking(bool& f) : flag(f) { flag = true; }
                ~Ticking() { flag = false; }
                Ticking(const Ticking&) = delete;
                Ticking& operator=(const Ticking&) = delete;
            } ticking(ticking_);
            runTick(next);
        }
        if (target > now) now = target;
    }

  private:
    bool ticking_ = false;
};

} // namespace squeakrun
