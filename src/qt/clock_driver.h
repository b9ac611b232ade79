// Drives the game clock from the wall clock and lets the window's events into the game one at a time.
//
// The game's state only matters when something looks at it: the screen at each display frame, and
// an event of the window (a key, a click, a menu entry, a box's answer) when it arrives. So the driver
// runs every tick due up to now just before each event, and otherwise wakes only when a tick changes
// what the window shows, at most once per display frame, and while the cars drive only with their
// step (a change between steps waits for the next); that is exactly the sequence of states that
// running each tick at its own time would give, at a fraction of the wake-ups. Which tick that is the
// look ahead finds (session/look_ahead.h); the driver also wakes for a tick that needs the world (a
// box, the game's folder) or makes a sound, which the game played ahead never does itself. It looks
// at most two seconds ahead and wakes then all the same, to keep the catch-up before the next event
// short. While the game stands (waiting for the start button, paused) the ticks that still run only
// finish, within a few ticks, what the last event or the last moving tick started: there a look 300 ms
// ahead that finds no change is enough for the two-second sleep.
//
// One precise single-shot Qt timer is aimed at the next wake, rounded up to the millisecond: the
// event loop's own timer costs no system call, and a millisecond is small beside the frame a change
// may take to show. Time while a modal box is open never counts (the game stands still behind the
// box), and a wake that comes more than 250 ms after the driver meant to wake moves the game only
// 250 ms past that point: when the machine stalled or the window was dragged, the excess is dropped
// rather than played in a burst. Nothing enters the game while a handler runs or a box is open.
//
// The cars the computer drives look and press their keys at fixed steps of game time, wherever the
// clock is moved: in the real game and in the game played ahead, which carries copies of the drivers,
// so that a turn the computer makes is foreseen and shown on time like any tick's change.
#pragma once

#include "computer/seated_game.h"
#include "session/inputs.h"
#include "session/look_ahead.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <algorithm>
#include <cstdint>
#include <functional>

namespace squeakrun::qt {

class ModalWatch;

class ClockDriver : public QObject {
    Q_OBJECT
  public:
    static constexpr std::int64_t kMaxStep = 250;
    // The longest the driver sleeps while nothing shown changes, and how far it looks ahead while the
    // game stands (ns).
    static constexpr std::int64_t kLongestSleepNs = 2'000'000'000;
    static constexpr std::int64_t kStandingLookNs = 300'000'000;

    // `watch` may be null (a scripted platform opens no real boxes). The wall clock starts now:
    // game time 0 is the moment the driver is made.
    ClockDriver(Game& game, const ModalWatch* watch, QObject* parent = nullptr);
    ~ClockDriver() override;

    // Start and stop following the wall clock.
    void start();
    void stop();
    bool running() const { return running_; }

    // Runs an event of the window (a key, a click, a menu entry) in the game, after every tick due up
    // to now; false when it was refused because a handler is running or a box is open, or because
    // one of those ticks opened a box or ended the program (the event came too late for it).
    bool runEvent(const std::function<void(Game&)>& handler);
    // Runs a player's input as an event and tells the input observer, if any, what it amounted to at
    // which game time: the one place the window's inputs enter the game, and are recorded.
    bool play(const Input& input);
    using InputObserver = std::function<void(const Input&, std::int64_t now)>;
    void setInputObserver(InputObserver observer) { inputObserver_ = std::move(observer); }
    // While a replay is watched the game belongs to the replay: every event of the window is refused.
    void refuseEvents(bool refuse) { refused_ = refuse; }
    // While a game on another machine's clock fills the window (a network game), the players' inputs
    // go to `take` instead of this game, and `may` says which of them the player may make now: the
    // window shows an entry it refuses disabled.
    struct InputRoute {
        std::function<bool(const Input&)> take, may;
    };
    void routeInputs(InputRoute route) { route_ = std::move(route); }
    bool mayPlay(const Input& input) const { return !route_.may || route_.may(input); }

    // What the window shows of a game's state, as a number that changes whenever the picture does.
    // Without it the driver wakes for every tick, at most once per display frame. `unseenTimers`
    // (bit i for timer i) are the timers whose ticks never change it.
    void setSignature(LookAhead::Signature signature, std::uint32_t unseenTimers = 0) {
        ahead_.setSignature(std::move(signature), unseenTimers);
    }
    // The length of one display frame in nanoseconds (the screen's refresh; 60 Hz unless told).
    void setFrameNanos(std::int64_t ns) { frameNs_ = std::max<std::int64_t>(ns, 1'000'000); }
    std::int64_t frameNanos() const { return frameNs_; }

    // Changes which cars the computer drives. An event like any other: the game first catches up to
    // now with the seats as they were. False when refused, as runEvent.
    bool changeSeats(const std::function<void(ComputerSeats&)>& change);
    const ComputerSeats& seats() const { return seated_.seats; }

    // True while a handler runs, a box is open or the clock is being advanced.
    bool busy() const;

    // Moves the game clock up to the wall clock (what the timer does when it fires).
    void wake();

    // Replaces the wall clock (milliseconds since the driver was made), for tests.
    void setWallClock(std::function<std::int64_t()> now) { now_ = std::move(now); }
    // The wall clock in nanoseconds since the driver was made.
    std::int64_t wallNanos() const { return now_ ? now_() * 1'000'000 : wall_.nsecsElapsed(); }

    // Told just before each tick's handler runs, for measuring how well the game keeps time: the
    // timer (0-based), the tick's due time on the game clock, and where that due time lies on the
    // wall clock (the due time plus the wall time that never counted), both in ms.
    using TickObserver = std::function<void(int timer, std::int64_t due, std::int64_t dueOnWall)>;
    void setTickObserver(TickObserver observer);

    // Milliseconds of wall time that never counted as game time (boxes, stalls).
    std::int64_t dropped() const { return dropped_; }
    // The game time at which the driver means to wake next.
    std::int64_t plannedWake() const { return plannedWake_; }
    // Whether the precise timer is aimed, and in how many ms it fires.
    bool armed() const;
    int armedIn() const;

  signals:
    // The game may have changed: after every event and every advance of the clock.
    void modelTouched();

  private:
    std::int64_t now() const { return now_ ? now_() : wall_.elapsed(); }
    // The wall-clock time the game should be at, dropping box time and any excess over kMaxStep.
    std::int64_t target();
    void dropBoxTime();
    // Runs every tick due up to the wall clock.
    void catchUp();
    void afterRun();
    void arm();
    // While the cars drive, a change to the picture or a sound waits for their next step (at most one
    // step away), when the screen changes anyway: one frame a step, as the cars need, never one
    // between, and what is heard stays with what is seen. A change that needs the world (a box, the
    // end) keeps its own time when it comes first.
    std::int64_t withTheCarsStep(std::int64_t change) const;
    void aim(std::int64_t waitNs);
    void disarm();

    Game& g_;
    const ModalWatch* watch_;
    QElapsedTimer wall_;
    std::function<std::int64_t()> now_;
    InputObserver inputObserver_;
    InputRoute route_;
    bool refused_ = false;
    SeatedGame seated_; // g_ with the cars the computer drives in it
    LookAhead ahead_;
    QTimer timer_;
    std::int64_t dropped_ = 0;
    std::int64_t seenClosed_ = 0;
    std::int64_t frameNs_ = 1'000'000'000 / 60;
    std::int64_t lastRunNs_ = 0;   // the end of the last run of the clock or event, on the wall clock
    std::int64_t plannedWake_ = 0; // the game time at which the driver means to wake next
    bool busy_ = false;
    bool running_ = false;
};

} // namespace squeakrun::qt
