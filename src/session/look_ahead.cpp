#include "session/look_ahead.h"

#include "window/platform.h"

namespace squeakrun {

namespace {
// Thrown out of the game played ahead by a tick that wants the world.
struct NeedsTheWorld {};
} // namespace

// The world of the game played ahead: nothing may reach the real one, so whatever a tick wants from
// outside the game's state ends the look there. Its cues are never heard; the look only learns that
// one came, since the players hear it as soon as they would see a change.
class LookAhead::NoWorld final : public Platform {
  public:
    explicit NoWorld(bool& heard) : heard_(heard) {}
    void cue(Cue) override { heard_ = true; }
    Button messageBox(const std::string&, Buttons, const std::string&) override { throw NeedsTheWorld{}; }
    std::string inputBox(const std::string&, const std::string&, const std::string&) override {
        throw NeedsTheWorld{};
    }
    std::filesystem::path appFolder() override { throw NeedsTheWorld{}; }
    void quit() override { throw NeedsTheWorld{}; }

  private:
    bool& heard_;
};

LookAhead::LookAhead()
    : noWorld_(std::make_unique<NoWorld>(heard_)), ahead_(std::make_unique<SeatedGame>(*noWorld_, 0)) {
    ahead_->keepLooks = &foreseen_;
}

LookAhead::~LookAhead() = default;

void LookAhead::setSignature(Signature signature, std::uint32_t unseenTimers) {
    signature_ = std::move(signature);
    unseenTimers_ = unseenTimers;
    current_ = false;
}

std::int64_t LookAhead::firstChange(const SeatedGame& seated, std::int64_t until) {
    if (!signature_) return -1;
    const Game& game = seated.game;
    GameState& ahead = ahead_->game;
    // Had only ticks moved the game since the last look, the game played ahead then is still its
    // future: it catches up to where the game stands, with the very ticks the game ran. After an
    // event, or a tick that wanted the world, it starts afresh from a copy.
    if (current_ && ahead.clock.now <= game.clock.now) {
        const std::int64_t due = ahead.clock.nextDue();
        const std::int64_t look = nextLook(ahead_->seats, ahead.clock.now);
        try {
            ahead_->advance(game.clock.now);
            if ((due >= 0 && due <= game.clock.now) || (look >= 0 && look <= game.clock.now))
                aheadSignature_ = signature_(ahead);
        } catch (const NeedsTheWorld&) {
            current_ = false;
        }
    } else {
        current_ = false;
    }
    if (!current_) {
        ahead_->copyFrom(seated);
        foreseen_.forget();           // the copy makes its looks afresh
        ahead.clock.onTick = nullptr; // the ticks played ahead are not the game's own
        aheadSignature_ = signature_(ahead);
        current_ = true;
    }
    const std::uint64_t shown = aheadSignature_;
    for (;;) {
        // The ticks due in one millisecond run together, as in any catch-up that reaches it; a look
        // of the computer's may press keys, so it is a step of its own.
        const std::int64_t look = nextLook(ahead_->seats, ahead.clock.now);
        const std::int64_t due = ahead_->nextStep();
        if (due < 0 || due > until) return -1;
        std::uint32_t running = 0;
        for (int i = 0; i < GameClock::kTimers; ++i)
            if (ahead.clock.timers[i].enabled && ahead.clock.timers[i].due == due) running |= 1u << i;
        heard_ = false;
        needsTheWorld_ = true;
        try {
            ahead_->advance(due);
        } catch (const NeedsTheWorld&) {
            current_ = false;
            return due;
        }
        if (ahead.exited) {
            current_ = false;
            return due;
        }
        needsTheWorld_ = false;
        if (!heard_ && !(running & ~unseenTimers_) && due != look) continue;
        aheadSignature_ = signature_(ahead);
        if (heard_ || aheadSignature_ != shown) return due;
    }
}

} // namespace squeakrun
