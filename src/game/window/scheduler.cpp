#include "game/window/scheduler.h"

#include "game/handlers.h"
#include "game/state.h"

namespace squeakrun {

TimerHandler timerHandler(int number) {
    static constexpr TimerHandler kHandlers[] = {Form1_Timer1_Timer, Form1_Timer2_Timer, Form1_Timer3_Timer,
                                                 Form1_Timer4_Timer, Form1_Timer5_Timer, Form1_Timer6_Timer,
                                                 Form1_Timer7_Timer, Form1_Timer8_Timer};
    return kHandlers[number - 1];
}

std::int64_t nextDue(const std::array<Timer, 8>& timers) {
    std::int64_t best = -1;
    for (const Timer& t : timers)
        if (t.Enabled && (best < 0 || t.due < best)) best = t.due;
    return best;
}

void runDueTimers(std::array<Timer, 8>& timers, std::int64_t& clock, std::int64_t target,
                  const std::function<void(int)>& tick, const std::function<bool()>& stop) {
    while (!stop()) {
        int next = -1;
        for (int i = 0; i < 8; ++i) {
            const Timer& t = timers[i];
            if (t.Enabled && t.due <= target && (next < 0 || t.due < timers[next].due)) next = i;
        }
        if (next < 0) break;
        Timer& t = timers[next];
        clock = t.due;
        t.due += t.Interval;
        tick(next);
    }
    if (target > clock) clock = target;
}

void advanceClock(Game& g, std::int64_t target) {
    if (g.inHandler) return;
    runDueTimers(
        g.f1.timers, g.clock, target,
        [&g](int i) {
            g.inHandler = true;
            timerHandler(i + 1)(g);
            g.inHandler = false;
        },
        [&g] { return g.exited; });
}

} // namespace squeakrun
