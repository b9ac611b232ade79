// Drives the game clock from the wall clock and lets the window's events into the game one at a time.
//
// One precise single-shot timer is aimed at the next due tick (on Linux a timerfd, which wakes the
// event loop within microseconds of the due time; Qt's own timers only count whole milliseconds
// from the moment they are started, so each tick would start up to a millisecond late, a little
// later every time round). Time while a modal box is open never
// counts (the game stands still behind the box), and one advance covers at most 250 ms: when the
// machine stalled or the window was dragged, the excess is dropped rather than played in a burst.
// Nothing enters the game while a handler runs or a box is open.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <cstdint>
#include <functional>

class QSocketNotifier;

namespace squeakrun {
struct Game;
}

namespace squeakrun::qt {

class ModalWatch;

class ClockDriver : public QObject {
    Q_OBJECT
  public:
    static constexpr std::int64_t kMaxStep = 250;

    // `watch` may be null (a scripted platform opens no real boxes). The wall clock starts now:
    // game time 0 is the moment the driver is made.
    ClockDriver(Game& game, const ModalWatch* watch, QObject* parent = nullptr);
    ~ClockDriver() override;

    // Start and stop following the wall clock.
    void start();
    void stop();
    bool running() const { return running_; }

    // Runs an event of the window (a key, a click, a menu entry) in the game; false when it was
    // refused because a handler is running or a box is open.
    bool runEvent(const std::function<void(Game&)>& handler);

    // True while a handler runs, a box is open or the clock is being advanced.
    bool busy() const;
    // Whether the latest change to the game came from an event of the window (a player's key or
    // click) rather than from the clock.
    bool lastRunWasEvent() const { return byEvent_; }

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
    void afterRun();
    void arm();
    void aim(std::int64_t waitNs);
    void disarm();

    Game& g_;
    const ModalWatch* watch_;
    QElapsedTimer wall_;
    std::function<std::int64_t()> now_;
    QTimer timer_;     // where there is no timerfd
    int timerFd_ = -1; // -1 when there is none
    QSocketNotifier* timerFdWatch_ = nullptr;
    std::int64_t dropped_ = 0;
    std::int64_t seenClosed_ = 0;
    bool busy_ = false;
    bool byEvent_ = false;
    bool running_ = false;
};

} // namespace squeakrun::qt
