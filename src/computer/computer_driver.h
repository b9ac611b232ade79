// The computer driver: a player that sees only what the window shows and the game time, and drives
// one car by pressing that player's keys, as a person at the keyboard would.
#pragma once

#include "rules/state.h"

#include <array>
#include <cstdint>
#include <optional>

namespace squeakrun {

// How well the computer drives: how soon it reacts, how many keys a second it presses, how well it
// judges. One table of numbers (computer_driver.cpp) holds the difference.
enum class Skill { Easy, Average, Hard };

// The drivers look every kLookStepMs of game time, at multiples of it, so the same seed and the same
// keys give the same game in the window and headless.
inline constexpr std::int64_t kLookStepMs = 30;

// The keys a driver presses at one look, in order: at most a few, so the list is plain fixed data.
struct KeyPresses {
    static constexpr int kMax = 4;
    std::array<char, kMax> keys{};
    int count = 0;

    void push(char key) {
        if (count < kMax) keys[count++] = key;
    }
    const char* begin() const { return keys.data(); }
    const char* end() const { return keys.data() + count; }
};

// One computer driver for one car: plain, copyable data (the window's clock driver copies it with the
// game to play ahead). It sees only what the window shows and the game time.
class ComputerDriver {
  public:
    ComputerDriver(int player /* 0: player 1, 1: player 2 */, Skill skill, std::uint64_t seed);

    // What it does at game time `now`: the keys of its own player to press now, in order.
    KeyPresses look(const MainWindow& window, std::int64_t now);

    int player() const { return player_; }
    Skill skill() const { return skill_; }

  private:
    int player_;
    Skill skill_;
    std::uint64_t seed_;
};

// Which car the computer drives, at what skill. Plain, copyable.
struct ComputerSeats {
    std::array<std::optional<ComputerDriver>, 2> drivers;

    // Seats a driver of `skill` at `player` (0 or 1), or empties the seat for nullopt.
    void set(int player, std::optional<Skill> skill, std::uint64_t seed);
    bool drives(int player) const { return drivers[player].has_value(); }
    bool any() const { return drives(0) || drives(1); }
};

// Like advanceClock: runs every tick due by `target`; at each look time on the way, after the ticks
// due by then, each seated driver looks and its keys are pressed through pressKey, as a player's are.
void advanceWithComputer(Game& g, ComputerSeats& seats, std::int64_t target);

} // namespace squeakrun
