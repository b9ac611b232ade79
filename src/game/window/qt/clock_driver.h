// Drives the game clock from the wall clock and lets the window's events into the game one at a time.
//
// The game's state only matters when something looks at it: the screen at each display frame, and
// an event of the window (a key, a click, a menu entry, a box's answer) when it arrives. So the driver
// runs every tick due up to now just before each event, and once per display frame while what the
// window shows keeps changing; that is exactly the sequence of states that running each tick at its
// own time would give, at a fraction of the wake-ups. While the game stands still (waiting for the
// start button, paused), what still runs only finishes, within a tick or two, what the last event or
// the last moving tick started; so once neither an event nor a change on screen came for 300 ms, the
// driver wakes only every two seconds, to keep the catch-up before the next event short.
//
// One precise single-shot timer is aimed at the next wake (on Linux a timerfd, which wakes the event
// loop within microseconds; Qt's own timers count whole milliseconds). Time while a modal box is open
// never counts (the game stands still behind the box), and a wake that comes more than 250 ms after
// the driver meant to wake moves the game only 250 ms past that point: when the machine stalled or
// the window was dragged, the excess is dropped rather than played in a burst. Nothing enters the
// game while a handler runs or a box is open.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <algorithm>
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
    // How long nothing shown may change, while the game stands, before the driver dozes (six ticks
    // of the slowest timer that still acts then); and how long it then sleeps between wakes (ns).
    static constexpr std::int64_t kQuietNs = 300'000'000;
    static constexpr std::int64_t kDozeNs = 2'000'000'000;

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

    // Told by whatever shows the game, while it follows the model, that what it shows has changed:
    // the driver wakes once per display frame until nothing has changed for a while.
    void shownChanged() { shownChanged_ = true; }
    // The length of one display frame in nanoseconds (the screen's refresh; 60 Hz unless told).
    void setFrameNanos(std::int64_t ns) { frameNs_ = std::max<std::int64_t>(ns, 1'000'000); }
    std::int64_t frameNanos() const { return frameNs_; }

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
    void setTickObserver(TickObserver observer) { onTick_ = std::move(observer); }

    // Milliseconds of wall time that never counted as game time (boxes, stalls).
    std::int64_t dropped() const { return dropped_; }
    // Whether the driver is dozing: the game stands and nothing shown has changed for a while.
    bool dozing() const { return dozing_; }
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
    void aim(std::int64_t waitNs);
    void disarm();

    Game& g_;
    const ModalWatch* watch_;
    QElapsedTimer wall_;
    std::function<std::int64_t()> now_;
    TickObserver onTick_;
    QTimer timer_;     // where there is no timerfd
    int timerFd_ = -1; // -1 when there is none
    QSocketNotifier* timerFdWatch_ = nullptr;
    std::int64_t dropped_ = 0;
    std::int64_t seenClosed_ = 0;
    std::int64_t frameNs_ = 1'000'000'000 / 60;
    std::int64_t nextFrameNs_ = 0;   // the next display frame on the wall clock
    std::int64_t lastShownNs_ = 0;   // when what is shown last changed, on the wall clock
    std::int64_t plannedWake_ = 0;   // the game time at which the driver means to wake next
    bool shownChanged_ = false;
    bool dozing_ = false;
    bool busy_ = false;
    bool running_ = false;
};

} // namespace squeakrun::qt
