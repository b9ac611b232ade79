#include "game/window/qt/clock_driver.h"

#include "game/state.h"
#include "game/window/qt/qt_platform.h"
#include "game/window/scheduler.h"

#include <algorithm>

namespace squeakrun::qt {

ClockDriver::ClockDriver(Game& game, const ModalWatch* watch, QObject* parent)
    : QObject(parent), g_(game), watch_(watch) {
    wall_.start();
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &ClockDriver::wake);
    if (watch_) seenClosed_ = watch_->boxesClosed();
}

void ClockDriver::start() {
    running_ = true;
    dropBoxTime();
    arm();
}

void ClockDriver::stop() {
    running_ = false;
    timer_.stop();
}

bool ClockDriver::busy() const {
    return busy_ || g_.inHandler || (watch_ && watch_->boxOpen());
}

void ClockDriver::dropBoxTime() {
    if (!watch_ || watch_->boxesClosed() == seenClosed_) return;
    // A box was open since the clock last moved: the game stood still all that time.
    seenClosed_ = watch_->boxesClosed();
    dropped_ = std::max(dropped_, now() - g_.clock);
}

std::int64_t ClockDriver::target() {
    dropBoxTime();
    std::int64_t t = now() - dropped_;
    if (t - g_.clock > kMaxStep) {
        dropped_ += t - g_.clock - kMaxStep;
        t = g_.clock + kMaxStep;
    }
    return std::max(t, g_.clock);
}

void ClockDriver::wake() {
    if (!running_ || busy() || g_.exited) return; // whoever holds the game re-arms when done
    const std::int64_t to = target();
    busy_ = true;
    byEvent_ = false;
    if (onTick_) {
        // The scheduler's own walk, with the observer told of each tick as it starts.
        runDueTimers(
            g_.f1.timers, g_.clock, to,
            [this](int i) {
                onTick_(i, g_.clock, g_.clock + dropped_);
                g_.inHandler = true;
                timerHandler(i + 1)(g_);
                g_.inHandler = false;
            },
            [this] { return g_.exited; });
    } else {
        advanceClock(g_, to);
    }
    busy_ = false;
    afterRun();
}

bool ClockDriver::runEvent(const std::function<void(Game&)>& handler) {
    if (busy()) return false;
    busy_ = true;
    byEvent_ = true;
    handler(g_);
    busy_ = false;
    afterRun();
    return true;
}

void ClockDriver::afterRun() {
    dropBoxTime();
    emit modelTouched();
    arm();
}

void ClockDriver::arm() {
    if (!running_ || g_.exited) {
        timer_.stop();
        return;
    }
    const Timer* next = nullptr;
    for (const Timer& t : g_.f1.timers)
        if (t.Enabled && (!next || t.due < next->due)) next = &t;
    if (!next) {
        timer_.stop();
        return;
    }
    const std::int64_t gameNow = std::max(g_.clock, now() - dropped_);
    const std::int64_t wait = std::clamp<std::int64_t>(next->due - gameNow, 0, kMaxStep);
    timer_.start(static_cast<int>(wait));
}

} // namespace squeakrun::qt
