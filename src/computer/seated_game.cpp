// The walk of the clock that lets the seated drivers look, and the seats themselves.
#include "computer/seated_game.h"

#include "rules/key_box.h"
#include "rules/ticks.h"

#include <string_view>

namespace squeakrun {

void ComputerSeats::set(int player, std::optional<Skill> skill, std::uint64_t sessionSeed) {
    if (skill)
        drivers[player].emplace(player, *skill, sessionSeed * 2 + static_cast<std::uint64_t>(player));
    else
        drivers[player].reset();
}

namespace {

// One driver's look, timed only when someone measures.
KeyPresses lookTimed(ComputerDriver& driver, const ComputerSeats& seats, const MainWindow& window,
                     std::int64_t at) {
    if (!seats.onLook) return driver.look(window, at);
    const auto began = std::chrono::steady_clock::now();
    const KeyPresses keys = driver.look(window, at);
    seats.onLook(driver.player(), std::chrono::steady_clock::now() - began);
    return keys;
}

} // namespace

void ForeseenLooks::keep(const ComputerDriver& after, std::int64_t at, const KeyPresses& keys) {
    if (looks_.size() < kMax) looks_.push_back({at, keys, after});
}

bool ForeseenLooks::take(ComputerDriver& driver, std::int64_t at, KeyPresses& keys) {
    // Looks the game has already gone past (made while the copy caught up with it) are of no more use.
    while (!looks_.empty() && looks_.front().at < at)
        looks_.pop_front();
    if (looks_.empty() || looks_.front().at != at || looks_.front().after.player() != driver.player())
        return false;
    keys = looks_.front().keys;
    driver = looks_.front().after;
    looks_.pop_front();
    return true;
}

void SeatedGame::advance(std::int64_t target) {
    Game& g = game;
    if (!seats.any()) return advanceClock(g, target);
    std::int64_t next = nextLook(seats, g.clock.now);
    while (next <= target && !g.exited) {
        advanceClock(g, next);
        if (g.clock.now != next) return; // a tick waits in a box: the clock holds still
        for (auto& driver : seats.drivers) {
            if (!driver) continue;
            KeyPresses keys;
            if (!foreseen || !foreseen->take(*driver, next, keys))
                keys = lookTimed(*driver, seats, g.window, next);
            if (keepLooks) keepLooks->keep(*driver, next, keys);
            for (const char& key : keys)
                pressKey(g, std::string_view(&key, 1));
        }
        next += kLookStepMs;
    }
    advanceClock(g, target);
}

std::int64_t nextLook(const ComputerSeats& seats, std::int64_t now) {
    return seats.any() ? (now / kLookStepMs + 1) * kLookStepMs : -1;
}

std::int64_t SeatedGame::nextStep() const {
    const std::int64_t due = game.clock.nextDue(), look = nextLook(seats, game.clock.now);
    if (due < 0) return look;
    return look < 0 ? due : std::min(due, look);
}

void SeatedGame::copyFrom(const SeatedGame& other) {
    static_cast<GameState&>(game) = other.game;
    seats.drivers = other.seats.drivers;
}

} // namespace squeakrun
