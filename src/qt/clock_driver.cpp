#include "qt/clock_driver.h"

#include "qt/qt_platform.h"
#include "rules/state.h"
#include "rules/ticks.h"

#include <QSocketNotifier>

#include <algorithm>

#ifdef __linux__
#include <sys/timerfd.h>
#include <unistd.h>
#endif

namespace squeakrun::qt {

namespace {

// The world of the game played ahead: nothing may reach the real one, so whatever a tick wants from
// outside the game's state ends the look ahead there.
struct NeedsTheWorld {};

class NoWorld final : public Platform {
  public:
    Button messageBox(const std::string&, Buttons, const std::string&) override { throw NeedsTheWorld{}; }
    std::string inputBox(const std::string&, const std::string&, const std::string&) override {
        throw NeedsTheWorld{};
    }
    std::filesystem::path appFolder() override { throw NeedsTheWorld{}; }
    void quit() override { throw NeedsTheWorld{}; }
};

} // namespace

ClockDriver::ClockDriver(Game& game, const ModalWatch* watch, QObject* parent)
    : QObject(parent), g_(game), watch_(watch) {
    wall_.start();
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &ClockDriver::wake);
#ifdef __linux__
    timerFd_ = timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
    if (timerFd_ >= 0) {
        timerFdWatch_ = new QSocketNotifier(timerFd_, QSocketNotifier::Read, this);
        connect(timerFdWatch_, &QSocketNotifier::activated, this, [this] {
            // Reading the count of expiries makes the timer quiet until it is aimed again.
            std::uint64_t expiries = 0;
            [[maybe_unused]] const ssize_t got = ::read(timerFd_, &expiries, sizeof expiries);
            wake();
        });
    }
#endif
    if (watch_) seenClosed_ = watch_->boxesClosed();
}

ClockDriver::~ClockDriver() {
    delete timerFdWatch_;
#ifdef __linux__
    if (timerFd_ >= 0) ::close(timerFd_);
#endif
}

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
    advanceClock(g_, to);
    busy_ = false;
}

bool ClockDriver::runEvent(const std::function<void(Game&)>& handler) {
    if (busy()) return false;
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
    if (look_) {
        const std::int64_t untilNs = nowNs + (g_.paused ? kStandingLookNs : kLongestSleepNs);
        const std::int64_t change = firstChange((untilNs - nowNs + gameNowNs) / kMs);
        wakeNs = change < 0 ? nowNs + kLongestSleepNs : std::max(earliestNs, onWall(change));
    }
    const std::int64_t waitNs = std::max<std::int64_t>(wakeNs - nowNs, 0);
    plannedWake_ = (gameNowNs + waitNs + kMs - 1) / kMs;
    aim(waitNs);
}

std::int64_t ClockDriver::firstChange(std::int64_t until) {
    if (!ahead_) {
        noWorld_ = std::make_unique<NoWorld>();
        ahead_ = std::make_unique<Game>(*noWorld_, 0);
    }
    GameState& ahead = *ahead_;
    ahead = g_;
    ahead.clock.onTick = nullptr; // the ticks played ahead are not the game's own
    const std::uint64_t shown = look_(g_);
    for (;;) {
        // The ticks due in one millisecond run together, as in any catch-up that reaches it.
        const std::int64_t due = ahead.clock.nextDue();
        if (due < 0 || due > until) return -1;
        try {
            advanceClock(*ahead_, due);
        } catch (const NeedsTheWorld&) {
            return due;
        }
        if (ahead.exited || look_(ahead) != shown) return due;
    }
}

void ClockDriver::aim(std::int64_t waitNs) {
#ifdef __linux__
    if (timerFd_ >= 0) {
        itimerspec when{};
        const std::int64_t ns = std::max<std::int64_t>(waitNs, 1); // a zero time would disarm it
        when.it_value.tv_sec = static_cast<time_t>(ns / 1'000'000'000);
        when.it_value.tv_nsec = static_cast<long>(ns % 1'000'000'000);
        if (timerfd_settime(timerFd_, 0, &when, nullptr) == 0) return;
    }
#endif
    // Rounded up: a millisecond timer that fired early would find nothing due yet.
    timer_.start(static_cast<int>((waitNs + 999'999) / 1'000'000));
}

void ClockDriver::disarm() {
    timer_.stop();
#ifdef __linux__
    if (timerFd_ >= 0) {
        const itimerspec off{};
        timerfd_settime(timerFd_, 0, &off, nullptr);
    }
#endif
}

bool ClockDriver::armed() const {
    return armedIn() >= 0;
}

int ClockDriver::armedIn() const {
#ifdef __linux__
    itimerspec left{};
    if (timerFd_ >= 0 && timerfd_gettime(timerFd_, &left) == 0 &&
        (left.it_value.tv_sec || left.it_value.tv_nsec))
        return static_cast<int>(
            (std::int64_t{left.it_value.tv_sec} * 1'000'000'000 + left.it_value.tv_nsec + 999'999) /
            1'000'000);
#endif
    return timer_.isActive() ? timer_.remainingTime() : -1;
}

} // namespace squeakrun::qt
