// The computer driver's looking and pressing, and the walk of the clock that lets it look.
#include "computer/computer_driver.h"

#include "rules/ticks.h"
#include "rules/window_ops.h"

#include <string>

namespace squeakrun {

ComputerDriver::ComputerDriver(int player, Skill skill, std::uint64_t seed)
    : player_(player), skill_(skill), seed_(seed) {}

KeyPresses ComputerDriver::look(const MainWindow&, std::int64_t) {
    return {};
}

void ComputerSeats::set(int player, std::optional<Skill> skill, std::uint64_t seed) {
    if (skill)
        drivers[player].emplace(player, *skill, seed);
    else
        drivers[player].reset();
}

void advanceWithComputer(Game& g, ComputerSeats& seats, std::int64_t target) {
    if (!seats.any()) return advanceClock(g, target);
    std::int64_t next = (g.clock.now / kLookStepMs + 1) * kLookStepMs;
    while (next <= target && !g.exited) {
        advanceClock(g, next);
        if (g.clock.now != next) return; // a tick waits in a box: the clock holds still
        for (auto& driver : seats.drivers) {
            if (!driver) continue;
            for (char key : driver->look(g.window, next))
                pressKey(g, std::string(1, key));
        }
        next += kLookStepMs;
    }
    advanceClock(g, target);
}

} // namespace squeakrun
