#include "qt/clock_driver.h"

#include "qt/qt_platform.h"
#include "rules/state.h"
#include "rules/ticks.h"

#include <algorithm>

namespace squeakrun::qt {

ClockDriver::ClockDriver(Game& game, const ModalWatch* watch, QObject* parent)
    : QObject(parent), g_(game), watch_(watch), seated_(game) {
    wall_.start();
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &ClockDriver::wake);
    if (watch_) seenClosed_ = watch_->boxesClosed();
    // The computer looks once per step of game time: what the game played ahead saw, the game takes over.
    seated_.foreseen = &ahead_.foreseen();
}

ClockDriver::~ClockDriver() = default;

void ClockDriver::start() {
    running_ = true;
    dropBoxTime();
    arm();
}

void ClockDriver::stop() {
    running_ = false;
    disarm();
}

bool ClockDriver::busy() const {
    return busy_ || g_.clock.ticking() || (watch_ && watch_->boxOpen());
}

void ClockDriver::dropBoxTime() {
    if (!watch_ || watch_->boxesClosed() == seenClosed_) return;
    // A box was open since the clock last moved: the game stood still all that time.
    seenClosed_ = watch_->boxesClosed();
    dropped_ = std::max(dropped_, now() - g_.clock.now);
}

std::int64_t ClockDriver::target() {
    dropBoxTime();
    std::int64_t t = now() - dropped_;
    // A sleep the driver chose is no stall: only what lies beyond its planned wake counts.
    const std::int64_t limit = std::max(g_.clock.now, plannedWake_) + kMaxStep;
    if (t > limit) {
        dropped_ += t - limit;
        t = limit;
    }
    return std::max(t, g_.clock.now);
}

void ClockDriver::setTickObserver(TickObserver observer) {
    if (!observer) {
        g_.clock.onTick = nullptr;
        return;
    }
    g_.clock.onTick = [this, observer = std::move(observer)](int timer, std::int64_t due) {
        observer(timer, due, due + dropped_);
    };
}

void ClockDriver::wake() {
    if (!running_ || busy() || g_.exited) return; // whoever holds the game re-arms when done
    catchUp();
    afterRun();
}

void ClockDriver::catchUp() {
    const std::int64_t to = target();
    busy_ = true;
    seated_.advance(to);
    busy_ = false;
}

bool ClockDriver::play(const Input& input) {
    if (route_.take) return route_.take(input);
    return runEvent([this, &input](Game& g) {
        const std::optional<Input> said = applyInput(g, input);
        if (said && inputObserver_) inputObserver_(*said, g.clock.now);
    });
}

bool ClockDriver::changeSeats(const std::function<void(ComputerSeats&)>& change) {
    return runEvent([&](Game&) { change(seated_.seats); });
}

bool ClockDriver::runEvent(const std::function<void(Game&)>& handler) {
    if (busy() || refused_) return false;
    if (running_ && !g_.exited) {
        // The event sees the game as it is now. Had a tick before it shown a box or ended the
        // program on time, the event would have found the box open or the program gone.
        const std::int64_t closed = watch_ ? watch_->boxesClosed() : 0;
        catchUp();
        if (g_.exited || busy() || (watch_ && watch_->boxesClosed() != closed)) {
            afterRun();
            return false;
        }
    }
    busy_ = true;
    ahead_.forget(); // the event makes the game's future another
    handler(g_);
    busy_ = false;
    afterRun();
    return true;
}

void ClockDriver::afterRun() {
    dropBoxTime();
    emit modelTouched();
    lastRunNs_ = wallNanos();
    arm();
}

void ClockDriver::arm() {
    if (!running_ || g_.exited) {
        disarm();
        return;
    }
    const std::int64_t due = g_.clock.nextDue();
    if (due < 0) {
        disarm();
        return;
    }
    // Aimed in nanoseconds, so that a tick runs once its millisecond has begun on the wall clock.
    constexpr std::int64_t kMs = 1'000'000;
    const std::int64_t nowNs = wallNanos();
    const std::int64_t gameNowNs = std::max(g_.clock.now * kMs, nowNs - dropped_ * kMs);
    const auto onWall = [&](std::int64_t gameMs) { return nowNs + gameMs * kMs - gameNowNs; };
    // The picture changes at most once per display frame.
    const std::int64_t earliestNs = lastRunNs_ + frameNs_;
    std::int64_t wakeNs = std::max(earliestNs, onWall(due));
    if (ahead_.watching()) {
        const std::int64_t untilNs = nowNs + (g_.paused ? kStandingLookNs : kLongestSleepNs);
        std::int64_t change = ahead_.firstChange(seated_, (untilNs - nowNs + gameNowNs) / kMs);
        if (change >= 0 && !ahead_.changeNeedsTheWorld()) change = withTheCarsStep(change);
        wakeNs = change < 0 ? nowNs + kLongestSleepNs : std::max(earliestNs, onWall(change));
    }
    const std::int64_t waitNs = std::max<std::int64_t>(wakeNs - nowNs, 0);
    plannedWake_ = (gameNowNs + waitNs + kMs - 1) / kMs;
    aim(waitNs);
}

std::int64_t ClockDriver::withTheCarsStep(std::int64_t change) const {
    const Timer& movement = g_.clock.timers[static_cast<int>(TickTimer::Movement)];
    if (!movement.enabled) return change;
    const std::int64_t steps =
        std::max<std::int64_t>(change - movement.due + kMovementTickMs - 1, 0) / kMovementTickMs;
    return movement.due + steps * kMovementTickMs;
}

void ClockDriver::aim(std::int64_t waitNs) {
    // Rounded up: a millisecond timer that fired early would find nothing due yet.
    timer_.start(static_cast<int>((waitNs + 999'999) / 1'000'000));
}

void ClockDriver::disarm() {
    timer_.stop();
}

bool ClockDriver::armed() const {
    return timer_.isActive();
}

int ClockDriver::armedIn() const {
    return timer_.isActive() ? timer_.remainingTime() : -1;
}

} // namespace squeakrun::qt
