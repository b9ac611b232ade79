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

void advanceClock(Game& g, std::int64_t target) {
    if (g.inHandler) return;
    while (!g.exited) {
        // The next timer due; each is checked afresh, so a handler that stops another timer due in
        // the same millisecond keeps it from running.
        int next = -1;
        for (int i = 0; i < 8; ++i) {
            const Timer& t = g.f1.timers[i];
            if (t.Enabled && t.due <= target && (next < 0 || t.due < g.f1.timers[next].due)) next = i;
        }
        if (next < 0) break;
        Timer& t = g.f1.timers[next];
        g.clock = t.due;
        t.due += t.Interval;
        g.inHandler = true;
        timerHandler(next + 1)(g);
        g.inHandler = false;
    }
    if (target > g.clock) g.clock = target;
}

} // namespace squeakrun
