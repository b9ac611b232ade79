// A game with its seats: the game and which cars the computer drives, walked through time together so
// that each seated driver looks at its fixed steps of game time wherever the clock is moved. The
// window, the headless runner, autoplay and the tournament all play a game this way.
#pragma once

#include "computer/computer_driver.h"
#include "rules/state.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>

namespace squeakrun {

// Which car the computer drives, at what skill. Plain, copyable.
struct ComputerSeats {
    std::array<std::optional<ComputerDriver>, 2> drivers;

    // Seats a driver of `skill` at `player` (0 or 1), or empties the seat for nullopt. Its slips come
    // from a stream of its own, made from the session's seed and the player, so that a recorded session
    // plays the same again.
    void set(int player, std::optional<Skill> skill, std::uint64_t sessionSeed);
    bool drives(int player) const { return drivers[player].has_value(); }
    bool any() const { return drives(0) || drives(1); }
    // Told how long each look took, when set; for measuring the driver's cost. Without it no look
    // reads the clock.
    std::function<void(int player, std::chrono::nanoseconds took)> onLook;
};

// Looks made on a copy of a game played ahead, kept for the game itself to take over when it comes to
// them: the same driver looking at the same window at the same time presses the same keys, so the
// window pays for each look once rather than twice. Whoever keeps them forgets them as soon as the
// game's future is no longer the copy's (an event came, or the copy starts afresh).
class ForeseenLooks {
  public:
    void keep(const ComputerDriver& after, std::int64_t at, const KeyPresses& keys);
    // The keys `driver` presses at `at` and the driver as it leaves that look, when it was foreseen.
    bool take(ComputerDriver& driver, std::int64_t at, KeyPresses& keys);
    void forget() { looks_.clear(); }

  private:
    // Two seconds ahead holds fewer; a look beyond is simply made again.
    static constexpr std::size_t kMax = 256;
    struct Look {
        std::int64_t at;
        KeyPresses keys;
        ComputerDriver after;
    };
    std::deque<Look> looks_;
};

// The game time of the drivers' first look after `now`, or -1 when the computer drives no car.
std::int64_t nextLook(const ComputerSeats& seats, std::int64_t now);

class SeatedGame {
    std::unique_ptr<Game> own_; // a game of its own, or none when it seats a game held elsewhere

  public:
    // A game of its own, on `platform` from `seed`.
    SeatedGame(Platform& platform, std::uint64_t seed)
        : own_(std::make_unique<Game>(platform, seed)), game(*own_) {}
    // The seats of a game held elsewhere (the window's, which its widgets share).
    explicit SeatedGame(Game& held) : game(held) {}
    SeatedGame(const SeatedGame&) = delete;
    SeatedGame& operator=(const SeatedGame&) = delete;

    Game& game;
    ComputerSeats seats;
    // Where its drivers' looks are taken from when already made on a copy played ahead, and where the
    // looks it makes are kept for the game it is a copy of. Not copied by copyFrom.
    ForeseenLooks* foreseen = nullptr;
    ForeseenLooks* keepLooks = nullptr;

    // Like advanceClock: runs every tick due by `target`; at each look time on the way, after the ticks
    // due by then, each seated driver looks and its keys are pressed through pressKey, as a player's are.
    // A look found in `foreseen` is taken from there instead of made; a look made is kept in `keepLooks`.
    void advance(std::int64_t target);
    // The next step of the game's own: its next tick or its drivers' next look; -1 when none comes.
    std::int64_t nextStep() const;
    // Becomes the very game `other` is, drivers and all (not `other`'s platform or onLook), to play
    // ahead of it.
    void copyFrom(const SeatedGame& other);
};

} // namespace squeakrun
