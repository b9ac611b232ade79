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
