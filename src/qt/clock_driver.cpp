#include "qt/clock_driver.h"

#include "qt/qt_platform.h"
#include "rules/state.h"

#include <algorithm>

namespace squeakrun::qt {

namespace {

// The world of the game played ahead: nothing may reach the real one, so whatever a tick wants from
// outside the game's state ends the look ahead there. Its cues are never heard; the driver only
// learns that one came, since the players hear it as soon as they would see a change.
struct NeedsTheWorld {};

class NoWorld final : public Platform {
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

} // namespace

ClockDriver::ClockDriver(Game& game, const ModalWatch* watch, QObject* parent)
    : QObject(parent), g_(game), watch_(watch), seated_(game) {
    wall_.start();
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &ClockDriver::wake);
    if (watch_) seenClosed_ = watch_->boxesClosed();
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
    aheadCurrent_ = false; // the event makes the game's future another
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
        noWorld_ = std::make_unique<NoWorld>(aheadHeard_);
        ahead_ = std::make_unique<SeatedGame>(*noWorld_, 0);
    }
    GameState& ahead = ahead_->game;
    // Had only ticks moved the real game since the last look, the game played ahead then is still
    // its future: it catches up to where the real game stands, with the very ticks the real game
    // ran. After an event, or a tick that wanted the world, it starts afresh from a copy.
    if (aheadCurrent_ && ahead.clock.now <= g_.clock.now) {
        const std::int64_t due = ahead.clock.nextDue();
        const std::int64_t look = nextLook(ahead_->seats, ahead.clock.now);
        try {
            ahead_->advance(g_.clock.now);
            if ((due >= 0 && due <= g_.clock.now) || (look >= 0 && look <= g_.clock.now))
                aheadLook_ = look_(ahead);
        } catch (const NeedsTheWorld&) {
            aheadCurrent_ = false;
        }
    } else {
        aheadCurrent_ = false;
    }
    if (!aheadCurrent_) {
        ahead_->copyFrom(seated_);
        ahead.clock.onTick = nullptr; // the ticks played ahead are not the game's own
        aheadLook_ = look_(ahead);
        aheadCurrent_ = true;
    }
    const std::uint64_t shown = aheadLook_;
    for (;;) {
        // The ticks due in one millisecond run together, as in any catch-up that reaches it; a look
        // of the computer's may press keys, so it is a step of its own.
        const std::int64_t look = nextLook(ahead_->seats, ahead.clock.now);
        const std::int64_t due = ahead_->nextStep();
        if (due < 0 || due > until) return -1;
        std::uint32_t running = 0;
        for (int i = 0; i < GameClock::kTimers; ++i)
            if (ahead.clock.timers[i].enabled && ahead.clock.timers[i].due == due) running |= 1u << i;
        aheadHeard_ = false;
        try {
            ahead_->advance(due);
        } catch (const NeedsTheWorld&) {
            aheadCurrent_ = false;
            return due;
        }
        if (ahead.exited) {
            aheadCurrent_ = false;
            return due;
        }
        if (!aheadHeard_ && !(running & ~unseenTimers_) && due != look) continue;
        aheadLook_ = look_(ahead);
        if (aheadHeard_ || aheadLook_ != shown) return due;
    }
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
