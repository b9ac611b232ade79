// The computer driver: a player that sees only what the window shows and the game time, and drives
// one car by pressing that player's keys, as a person at the keyboard would.
#pragma once

#include "rules/state.h"
#include "window/random.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

namespace squeakrun {

// How well the computer drives: how soon it reacts, how many keys a second it presses, how well it
// judges. One table of numbers (computer_driver.cpp) holds the difference.
enum class Skill { Easy, Average, Hard };

// The words that name the skills in scenario files, on the command line and in the player's settings
// ("easy", "average", "hard"); nullopt for a word that names none.
std::string_view skillWord(Skill skill);
std::optional<Skill> skillNamed(std::string_view word);

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

// What the driver remembers of a thing it saw at its last look: where it was and whether it showed.
struct SeenThing {
    float left = 0, top = 0;
    bool visible = false;
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

    // A key it has decided on and presses once its reaction time has passed.
    struct PendingKey {
        std::int64_t at = 0;
        char key = 0;
    };

  private:
    struct View;
    void remember(const View& v, std::int64_t now);
    void decide(const View& v, std::int64_t now);
    void steer(const View& v, std::int64_t now);
    void shop(const View& v, std::int64_t now);
    void useDevices(const View& v, std::int64_t now);
    bool queue(char key, std::int64_t now);

    int player_;
    Skill skill_;
    Random rng_; // its own slips and lapses; never the game's numbers

    // Keys waiting out the reaction time, oldest first.
    std::array<PendingKey, 8> pending_{};
    int pendingCount_ = 0;
    std::int64_t nextKeyAt_ = 0;       // the key rate: no key is decided on before this
    std::int64_t lapseUntil_ = 0;      // its attention wanders until then
    std::int64_t spinUntil_ = 0;       // its car skids: keys would be lost
    std::int64_t deviceBusyUntil_ = 0; // a device or shop key waits to show on the window
    std::int64_t steeredAt_ = 0;       // when the last steering key was pressed
    std::int64_t lastLook_ = -1;       // game time of its last look

    Heading heading_ = None;                 // where its last steering key points the car
    SeenThing self_, other_;                 // the two cars at the last look
    float otherDx_ = 0, otherDy_ = 0;        // the other car's last step
    SeenThing otherCheese_;                  // the other player's cheese ...
    float cheeseDx_ = 0, cheeseDy_ = 0;      // ... and its last step
    Heading lastSeenHeading_ = None;         // the heading its car's picture showed at the last look
    double speed_ = 0;                       // twips a movement tick, as last seen on the gauge or the road
    Count tank_ = 0;                         // a full tank, as last seen
    Count lives_ = -1;                       // as its lives label last read; fewer: it starts afresh
    Count cheeseStock_ = 0, slickStock_ = 0; // as last shown, and the crates and jars it drove over
    std::array<SeenThing, 2> items_{};       // the two bonus items at the last look ...
    std::array<int, 2> itemKinds_{};         // ... and what their pictures show them to be
};

// Which car the computer drives, at what skill. Plain, copyable.
struct ComputerSeats {
    std::array<std::optional<ComputerDriver>, 2> drivers;

    // Seats a driver of `skill` at `player` (0 or 1), or empties the seat for nullopt. Its slips come
    // from a stream of its own, made from the session's seed and the player, so that a recorded session
    // plays the same again.
    void set(int player, std::optional<Skill> skill, std::uint64_t sessionSeed);
    bool drives(int player) const { return drivers[player].has_value(); }
    bool any() const { return drives(0) || drives(1); }
    // Told how long each look took, when set; for measuring the driver's cost.
    std::function<void(int player, std::chrono::nanoseconds took)> onLook;
};

// Like advanceClock: runs every tick due by `target`; at each look time on the way, after the ticks
// due by then, each seated driver looks and its keys are pressed through pressKey, as a player's are.
void advanceWithComputer(Game& g, ComputerSeats& seats, std::int64_t target);
// The game time of the drivers' first look after `now`, or -1 when the computer drives no car.
std::int64_t nextLook(const ComputerSeats& seats, std::int64_t now);

} // namespace squeakrun
