#include "rules/ticks.h"

#include "rules/events.h"
#include "rules/state.h"

namespace squeakrun {

namespace {
constexpr TickHandler kTicks[GameClock::kTimers] = {crashCheckTick, bonusItemTick,   contactTick,
                                                    movementTick,   secondTick,      rollingTick,
                                                    refuelTick,     keyBoxUpkeepTick};
} // namespace

void setTimer(Game& g, TickTimer timer, bool on) {
    g.clock.enable(static_cast<int>(timer), on);
}

void setPlayTimers(Game& g, bool on) {
    for (TickTimer timer : {TickTimer::CrashChecks, TickTimer::BonusItems, TickTimer::Contacts,
                            TickTimer::Movement, TickTimer::EverySecond, TickTimer::Rolling})
        setTimer(g, timer, on);
}

TickHandler tickHandler(int timer) {
    return kTicks[timer];
}

void advanceClock(Game& g, std::int64_t target) {
    g.clock.advance(
        target, [&g](int timer) { kTicks[timer](g); }, [&g] { return g.exited; });
}

} // namespace squeakrun
