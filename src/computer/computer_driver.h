// The computer driver: a player that sees only what the window shows and the game time, and drives
// one car by pressing that player's keys, as a person at the keyboard would. Its judgement lives here:
// what it remembers between looks, where it wants to go, which heading takes it there, when it shops
// and when it drops a device.
#pragma once

#include "computer/road.h"
#include "computer/sight.h"
#include "computer/skills.h"
#include "rules/state.h"
#include "rules/ticks.h"
#include "window/random.h"

#include <array>
#include <cstdint>
#include <optional>

namespace squeakrun {

// The drivers look once a movement tick, at multiples of it, so the same seed and the same keys give
// the same game in the window and headless.
inline constexpr std::int64_t kLookStepMs = kMovementTickMs;

// The keys a driver presses at one look, in order. Full at kMax: push refuses a key then, and the
// driver keeps it for its next look.
struct KeyPresses {
    static constexpr int kMax = 4;
    std::array<char, kMax> keys{};
    int count = 0;

    bool push(char key) {
        if (count == kMax) return false;
        keys[count++] = key;
        return true;
    }
    const char* begin() const { return keys.data(); }
    const char* end() const { return keys.data() + count; }
};

// What the driver remembers of a thing it saw at its last look: where it was and whether it showed.
struct SeenThing {
    float left = 0, top = 0;
    bool visible = false;
};

// One computer driver for one car: plain, copyable data (the window plays ahead on a copy of the game
// and its drivers). It sees only what the window shows and the game time.
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
    // Where it wants to go: a box of places for its car, and the station when it means to drive in.
    struct Target {
        Box box;
        const Control* station = nullptr;
    };

    const SkillTraits& traits() const { return traitsOf(skill_); }
    void remember(const Sight& v, std::int64_t now);
    void decide(const Sight& v, std::int64_t now);
    // The bonus item worth most for the way there; nullopt when none is worth going for.
    std::optional<Box> bestItem(const Sight& v) const;
    Target chooseTarget(const Sight& v) const;
    Heading chooseHeading(const Sight& v, const Road& road) const;
    void steer(const Sight& v, std::int64_t now);
    void shop(const Sight& v, std::int64_t now);
    void useDevices(const Sight& v, std::int64_t now);
    bool queue(KeyRole role, std::int64_t now);

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

} // namespace squeakrun
