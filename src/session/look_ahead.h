// Looking ahead at a game's future: its coming ticks played on a copy of the game, to find the first
// after which the screen would show something else. A front end that sleeps while its picture stands
// still wakes then, rather than for every tick.
#pragma once

#include "computer/seated_game.h"
#include "rules/state.h"

#include <cstdint>
#include <functional>
#include <memory>

namespace squeakrun {

class LookAhead {
  public:
    // What a screen shows of a game's state, as a number that changes whenever the picture does.
    using Signature = std::function<std::uint64_t(const GameState&)>;

    LookAhead();
    ~LookAhead();
    LookAhead(const LookAhead&) = delete;
    LookAhead& operator=(const LookAhead&) = delete;

    // `unseenTimers` (bit i for timer i) are the timers whose ticks never change the signature: after
    // a millisecond in which only they ran, the screen is not asked. Without a signature there is
    // nothing to look at.
    void setSignature(Signature signature, std::uint32_t unseenTimers = 0);
    bool watching() const { return static_cast<bool>(signature_); }

    // The game's future is no longer the one played ahead: an event came into it.
    void forget() {
        current_ = false;
        foreseen_.forget();
    }
    // The computer's looks made on the game played ahead, for the game itself to take over while its
    // future is the one played ahead.
    ForeseenLooks& foreseen() { return foreseen_; }

    // The due time of the first tick, or look of the computer's drivers, up to game time `until` after
    // which `game`, driven by its seated drivers, would show something else than now, make a sound, need
    // something outside its state (a box, its folder, quitting) or end; -1 when there is none. Neither
    // the game nor its world is touched: the ticks are played on a copy whose world hears and shows
    // nothing.
    std::int64_t firstChange(const SeatedGame& game, std::int64_t until);
    // Whether the change firstChange last found needs something outside the game's state or ends it.
    // Any other (a picture, a sound) may wait a little to be shown and heard together with the next.
    bool changeNeedsTheWorld() const { return needsTheWorld_; }

  private:
    class NoWorld;

    Signature signature_;
    std::uint32_t unseenTimers_ = 0;
    bool heard_ = false; // a tick played ahead made a sound
    bool needsTheWorld_ = false;
    std::unique_ptr<NoWorld> noWorld_;
    std::unique_ptr<SeatedGame> ahead_; // the game played ahead, with copies of the drivers
    ForeseenLooks foreseen_;
    bool current_ = false;             // ahead_ is the game's own future, as far as it was played
    std::uint64_t aheadSignature_ = 0; // what the screen would show of ahead_ as it stands
};

} // namespace squeakrun
