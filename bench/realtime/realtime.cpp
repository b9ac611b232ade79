// squeakrun-realtime: how the real game window keeps time while two players drive. The real main
// window runs on the scripted platform (every box takes its default), a game is started with the real
// start button, and for 15 s of wall time both cars are steered round their own loops by key events
// posted to the window. Measured: each timer's ticks against the count it should reach, how late each
// tick's handler starts, how long a key takes to show on screen, the cost of painting one frame at
// scale 3, the CPU time and peak memory of the whole program with the sound on, and the time from a
// cue to its sound at a null sink. A measurement, not a test: it always
// exits 0 and marks each figure PASS or MISS against its goal.
//
//   squeakrun-realtime [--runs N] [--seconds S]     defaults: 3 runs of 15 s, medians at the end
//   squeakrun-realtime --computer SKILL             the computer drives player 2 (easy, average, hard)
//
// With more than one run, each run is a fresh process (so memory and warm caches do not carry over).
// After each run the floor (a bare widget driving two boxes, `--floor SCALE`) and the peer (`--peer
// COMMAND`) are measured for as long in processes of their own, and our CPU is set beside theirs.
#include "figures.h"
#include "floor.h"
#include "sink_listener.h"
#include "thread_use.h"

#include "virtual_pad.h"

#include "headless/headless_platform.h"
#include "qt/clock_driver.h"
#include "qt/computer_choice.h"
#include "qt/gamepads.h"
#include "qt/main_window.h"
#include "qt/pixmap_cache.h"
#include "qt/playfield_painter.h"
#include "qt/playfield_view.h"
#include "qt/signature.h"
#include "qt/speaker.h"
#include "qt/windowed_game.h"
#include "rules/events.h"
#include "rules/state.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <map>
#include <optional>
#include <string>
#include <vector>

using namespace squeakrun;
using namespace squeakrun::realtime;

namespace {

Heading turnFor(Heading h, float x, float y, const Loop& l) {
    switch (h) {
    case Right:
        return x >= l.x1 ? Down : h;
    case Down:
        return y >= l.y1 ? Left : h;
    case Left:
        return x <= l.x0 ? Up : h;
    case Up:
        return y <= l.y0 ? Right : h;
    default: // standing (start of a game, after a crash): head for the loop
        if (y > l.y1) return Up;
        if (y < l.y0) return Down;
        return x > l.x1 ? Left : Right;
    }
}

std::int64_t vmHwmKiB() {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmHWM:")) return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    return -1;
}

// Runs the event loop for `ms` with nothing else waking it (QTest::qWait would poll every few ms), and
// returns the CPU the whole process spent meanwhile as a percentage of one core.
double standingCpu(const qt::ClockDriver& driver, int ms) {
    const std::int64_t wall0 = driver.wallNanos(), cpu0 = cpuNanos();
    QEventLoop loop;
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
    return 100.0 * static_cast<double>(cpuNanos() - cpu0) / static_cast<double>(driver.wallNanos() - wall0);
}

// The application, watching every event: when the playfield is painted, when a posted key has been
// handled, and when the frame painted after it is complete (painted and handed to the window system:
// the end of the outermost event that contained the paint).
class ProbeApp : public QApplication {
  public:
    using QApplication::QApplication;

    bool notify(QObject* o, QEvent* e) override {
        // Only the game's own thread: the sound thread's events come through here too, and counted in
        // they would make a key's frame look unfinished until the next one.
        if (!watching || QThread::currentThread() != thread()) return QApplication::notify(o, e);
        const bool outermost = depth_++ == 0;
        const bool keyArrives =
            e->type() == QEvent::KeyPress && o == window && key.posted && !key.pad && !key.handled;
        // A pad's push arrives in the event that reads the pads, and shows as its car's turn.
        const bool padAwaited = outermost && key.pad && !key.handled;
        const std::uint64_t before = keyArrives ? qt::shownSignature(*game) : 0;
        const std::int64_t start = keyArrives || padAwaited ? driver->wallNanos() : 0;
        const bool result = QApplication::notify(o, e);
        --depth_;
        // The view paints within the event that changed the game, through its paint events or
        // straight into the window's backing store.
        if (view->paintCount() != paintsSeen) {
            paintsSeen = view->paintCount();
            const auto [began, ended] = view->lastPaint();
            if (!frameStart_) frameStart_ = began;
            if (measuring) paintNanos.push_back(ended - began);
        }
        if (keyArrives) {
            key.handled = true;
            key.arrivedAt = start;
            if (qt::shownSignature(*game) ==
                before) { // refused (a crashed or parked car): no frame to wait for
                ++keysWithoutEffect;
                key = {};
            }
        }
        if (padAwaited && game->players[key.player].heading == key.want) {
            key.handled = true;
            key.arrivedAt = start;
            key.pad->hold(key.button, false); // let go, so that its next push is a push again
        }
        if (outermost && frameStart_) {
            const std::int64_t end = driver->wallNanos();
            if (measuring) ++frames;
            // The frame may be painted within the key's own event, as soon as it is handled.
            if (key.handled && frameStart_ >= key.arrivedAt) {
                if (key.pad ? timingPads : measuring)
                    (key.pad ? padNanos : keyNanos).push_back(end - key.postedAt);
                key = {};
            }
            // The clock's changes that this frame was the first to show.
            std::erase_if(shownTicks, [&](const ShownTick& t) {
                if (frameStart_ < t.ranAt) return false;
                tickToScreenNanos.push_back(end - t.dueNs);
                return true;
            });
            frameStart_ = 0;
        }
        return result;
    }

    // A tick that changed the screen: its due time and when it ran, on the wall clock.
    struct ShownTick {
        std::int64_t dueNs, ranAt;
    };

    // A key posted to the window, or a pad's button pushed for a player's turn to `want`.
    struct PendingKey {
        bool posted = false, handled = false;
        std::int64_t postedAt = 0, arrivedAt = 0;
        qt::testing::VirtualPad* pad = nullptr;
        SDL_GameControllerButton button = SDL_CONTROLLER_BUTTON_INVALID;
        int player = 0;
        Heading want = None;
    };

    bool watching = false, measuring = false, timingPads = false;
    const Game* game = nullptr;
    const qt::ClockDriver* driver = nullptr;
    const QObject* window = nullptr;
    const qt::PlayfieldView* view = nullptr;
    PendingKey key;
    std::vector<ShownTick> shownTicks;
    std::vector<std::int64_t> paintNanos, keyNanos, padNanos, tickToScreenNanos;
    long long frames = 0, keysWithoutEffect = 0;
    int paintsSeen = 0;

  private:
    int depth_ = 0;
    std::int64_t frameStart_ = 0;
};

// The scripted platform, heard: each cue also goes to the speaker, as on the desktop, and its moment is
// noted on the monotonic clock.
class HeardPlatform : public HeadlessPlatform {
  public:
    HeardPlatform(std::filesystem::path folder, qt::Speaker& speaker)
        : HeadlessPlatform(std::move(folder), nullptr), speaker_(speaker) {}
    void cue(Cue cue) override {
        cueNanos.push_back(std::chrono::duration_cast<std::chrono::nanoseconds>(
                               std::chrono::steady_clock::now().time_since_epoch())
                               .count());
        speaker_.play(cue);
    }
    std::vector<std::int64_t> cueNanos;

  private:
    qt::Speaker& speaker_;
};

// From each cue to the first sound that began at the sink after it and before the next cue (a sound
// a few ms "before" its cue is the same sound: the sink's clock is only known to a few ms). A cue with
// no sound of its own in that time is left out, and counted apart.
std::vector<std::int64_t> cueToSound(const std::vector<std::int64_t>& cues,
                                     const std::vector<std::int64_t>& onsets) {
    constexpr std::int64_t kSlack = 5'000'000;
    std::vector<std::int64_t> delays;
    for (std::size_t i = 0; i < cues.size(); ++i) {
        const std::int64_t until =
            i + 1 < cues.size() ? cues[i + 1] - kSlack : std::numeric_limits<std::int64_t>::max();
        const auto heard = std::lower_bound(onsets.begin(), onsets.end(), cues[i] - kSlack);
        if (heard != onsets.end() && *heard < until)
            delays.push_back(std::max<std::int64_t>(*heard - cues[i], 0));
    }
    return delays;
}

// The application folder: a fresh temporary folder holding a copy of the build's artwork.
std::unique_ptr<QTemporaryDir> appFolder() {
    auto dir = std::make_unique<QTemporaryDir>();
    QDir(dir->path()).mkdir(QStringLiteral("images"));
    QDir built(QStringLiteral(SQUEAKRUN_IMAGES_DIR));
    for (const QString& name :
         built.entryList({QStringLiteral("*.gif"), QStringLiteral("*.png")}, QDir::Files))
        QFile::copy(built.filePath(name), dir->path() + QStringLiteral("/images/") + name);
    return dir;
}

Figures runOnce(int argc, char** argv, int seconds, int standing, std::optional<Skill> computer) {
    qt::GameWindow::prepareWindowSystem(); // as the game does
    ProbeApp app(argc, argv);
    auto folder = appFolder();
    qt::Speaker speaker(SQUEAKRUN_SOUNDS_DIR); // sound on, as the players have it
    HeardPlatform platform(folder->path().toStdString(), speaker);
    // The session is recorded as the game records every session, so its cost is in every figure.
    qt::WindowedGame windowed({.platform = platform, .seed = 1, .recorded = true});
    Game& game = windowed.game;
    qt::ClockDriver& driver = windowed.clock;
    qt::GameWindow& window = windowed.window;
    if (computer) window.computer().choose({qt::Drivers::Player2, *computer}, false);

    platform.answers = {std::string("Ann"), std::string("Bob"), std::string("1")};
    windowed.startUp();
    platform.useDefaults = true; // the instructions, crashes, game overs and records all take their defaults
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) std::fprintf(stderr, "the window was never shown\n");
    driver.start();

    // The window waits for the start button: a second to settle, then what standing costs.
    QTest::qWait(1000);
    const double waitingCpu = standingCpu(driver, standing * 1000);

    app.game = &game;
    app.driver = &driver;
    app.window = &window;
    app.view = window.view();
    app.paintsSeen = window.view()->paintCount();
    app.paintNanos.reserve(4096);
    app.keyNanos.reserve(1024);
    app.watching = true;

    // Ticks: counted per timer, and how late each one's handler started, within the window only.
    const std::int64_t windowNs = std::int64_t{seconds} * 1'000'000'000;
    // Then, driving on for a few seconds more, which ticks change the screen and when it shows them:
    // a look at the screen between ticks costs more than the ticks, so not while CPU is measured.
    constexpr std::int64_t kTimingNs = 5'000'000'000;
    std::int64_t w0 = -1, w1 = -1, w2 = -1;
    std::array<long long, 8> ticks{};
    std::array<std::int64_t, 8> lastDue;
    lastDue.fill(-1);
    std::array<bool, 8> steady{};
    std::vector<std::int64_t> lateNanos;
    // Which ticks change the screen: within the window the screen's signature is taken between
    // ticks, and a tick whose effect shows waits for the first frame that starts after its run.
    std::uint64_t drawn = qt::shownSignature(game);
    std::int64_t lastTickDue = -1; // of the tick that ran last, within the window, on the wall clock (ns)
    std::int64_t lastTickRanAt = 0;
    const auto lookAtLastTick = [&] {
        const std::uint64_t now = qt::shownSignature(game);
        if (now != drawn && lastTickDue >= 0) app.shownTicks.push_back({lastTickDue, lastTickRanAt});
        drawn = now;
        lastTickDue = -1;
    };
    lateNanos.reserve(static_cast<std::size_t>(seconds) * 400);
    driver.setTickObserver([&](int timer, std::int64_t due, std::int64_t dueOnWall) {
        const std::int64_t now = driver.wallNanos();
        if (lastTickDue >= 0) lookAtLastTick();
        // A tick that does not follow its previous one by one interval means the timer was stopped
        // and started again (a game ended, a car went refuelling).
        if (lastDue[timer] >= 0 && due != lastDue[timer] + game.clock.timers[timer].interval)
            steady[timer] = false;
        lastDue[timer] = due;
        // A tick belongs to the window its due time falls in (the driver may run it a little later).
        const std::int64_t dueNs = dueOnWall * 1'000'000;
        if (w0 < 0 || dueNs < w0 || dueNs >= w2) return;
        if (dueNs < w1) {
            ++ticks[timer];
            lateNanos.push_back(now - dueNs);
            return;
        }
        if (lastTickDue < 0) drawn = qt::shownSignature(game); // as it stood before this tick
        lastTickDue = dueNs;
        lastTickRanAt = now;
    });
    QObject::connect(&driver, &qt::ClockDriver::modelTouched, [&] {
        if (lastTickDue >= 0) lookAtLastTick();
    });

    // The players: every 50 ms each car is checked against its loop, and a turn is a key posted to
    // the window as a keyboard would deliver it. One key is in flight at a time, so each one's way to
    // the screen is measured alone; a game that ended is started again with the start button. The
    // players look when the game has just moved, within that run, rather than on a timer or a turn
    // of the event loop of their own, so that they add no wake-ups to the program's CPU (the peer's
    // players are another process, whose CPU is not counted).
    long long keys = 0, pushes = 0, restarts = 0;
    int nextPlayer = 0;
    bool piloting = true;
    std::int64_t lastLook = 0;
    // Once the players hold gamepads, each steers with the one that drives their car.
    std::array<qt::testing::VirtualPad*, 2> padOf{};
    const auto steer = [&] {
        QPushButton* start = window.view()->startButton();
        if (start->isVisible() && start->isEnabled()) {
            if (app.measuring) ++restarts;
            // Clicked once the driver is done with the run that showed the button.
            QMetaObject::invokeMethod(
                start, [start] { QTest::mouseClick(start, Qt::LeftButton); }, Qt::QueuedConnection);
            return;
        }
        if (app.key.posted) {
            // A push that turned nobody within half a second (the car crashed or parked meanwhile) is
            // let go and left out.
            constexpr std::int64_t kGivenUpNs = 500'000'000;
            if (!app.key.pad || app.key.handled || driver.wallNanos() - app.key.postedAt < kGivenUpNs) return;
            app.key.pad->hold(app.key.button, false);
            app.key = {};
        }
        for (int k = 0; k < 2; ++k) {
            const int i = (nextPlayer + k) % 2;
            const Control& car = game.car(i);
            const Heading h = static_cast<Heading>(game.players[i].heading);
            const Heading want = turnFor(h, car.left, car.top, kLoops[i]);
            if (want == h || !car.visible || window.computer().seating().drives(i)) continue;
            nextPlayer = (i + 1) % 2;
            app.key = {};
            app.key.posted = true;
            app.key.postedAt = driver.wallNanos();
            if (padOf[i]) {
                static constexpr SDL_GameControllerButton kDpad[] = {
                    SDL_CONTROLLER_BUTTON_INVALID, SDL_CONTROLLER_BUTTON_DPAD_LEFT,
                    SDL_CONTROLLER_BUTTON_DPAD_DOWN, SDL_CONTROLLER_BUTTON_DPAD_RIGHT,
                    SDL_CONTROLLER_BUTTON_DPAD_UP}; // by heading
                app.key.pad = padOf[i];
                app.key.button = kDpad[want];
                app.key.player = i;
                app.key.want = want;
                padOf[i]->hold(app.key.button, true); // held until the game has turned the car
                if (app.timingPads) ++pushes;
                break;
            }
            static constexpr int kRole[] = {0, 2, 1, 3, 0}; // heading -> up, down, left, right letter
            const char letter = static_cast<char>(kPlayers[i].keys[kRole[want]] - 'A' + 'a');
            const Qt::Key qkey = static_cast<Qt::Key>(Qt::Key_A + (letter - 'a'));
            const QString text(QChar::fromLatin1(letter));
            QCoreApplication::postEvent(&window, new QKeyEvent(QEvent::KeyPress, qkey, Qt::NoModifier, text));
            QCoreApplication::postEvent(&window,
                                        new QKeyEvent(QEvent::KeyRelease, qkey, Qt::NoModifier, text));
            if (app.measuring) ++keys;
            break;
        }
    };
    QObject::connect(&driver, &qt::ClockDriver::modelTouched, &window, [&] {
        if (!piloting || driver.wallNanos() - lastLook < 50'000'000) return;
        lastLook = driver.wallNanos();
        steer(); // a key is only posted, so it reaches the window once the driver is done
    });
    QTest::mouseClick(window.view()->startButton(), Qt::LeftButton);

    // Half a second to settle (pictures scaled, first frames), then the measured window.
    std::int64_t cpu0 = 0, cpu1 = 0;
    QTest::qWait(500);
    w0 = driver.wallNanos();
    w1 = w0 + windowNs;
    w2 = w1 + kTimingNs;
    cpu0 = cpuNanos();
    const auto threads0 = threadUse();
    for (int i = 0; i < 8; ++i)
        steady[i] = game.clock.timers[i].enabled;
    app.measuring = true;
    QTimer end;
    end.setSingleShot(true);
    end.setTimerType(Qt::PreciseTimer);
    std::int64_t wallSpent = 0;
    std::map<std::string, ThreadUse> threads1;
    // Last, while the cars drive on, a cue every 400 ms (a sound of its own each time) and the sink
    // listened to: the time from each cue to its sound.
    constexpr int kSoundMs = 10'000, kCueEveryMs = 400;
    SinkListener listener;
    bool listening = false, timing = false;
    QTimer cues;
    QObject::connect(&cues, &QTimer::timeout, [&] { platform.cue(Cue::Drop); });
    QObject::connect(&end, &QTimer::timeout, [&] {
        if (app.measuring) {
            app.measuring = false;
            cpu1 = cpuNanos();
            threads1 = threadUse();
            wallSpent = driver.wallNanos() - w0;
            timing = true;
            end.start(static_cast<int>(kTimingNs / 1'000'000));
            return;
        }
        if (timing) {
            timing = false;
            listening = listener.start();
            platform.cueNanos.clear();
            cues.start(kCueEveryMs);
            end.start(kSoundMs);
            return;
        }
        cues.stop();
        QCoreApplication::exit(0);
    });
    end.start(static_cast<int>((w1 - driver.wallNanos()) / 1'000'000));
    QApplication::exec();
    QTest::qWait(600); // the last cue's sound reaches the sink
    const std::vector<std::int64_t> soundNanos = cueToSound(platform.cueNanos, listener.stop());

    // Then the players take up a gamepad each and steer on with them for as long as the measured
    // window: each push is timed from its button going down to the frame that shows the turn, the
    // game reading the pads on its own, as it reads real ones.
    qt::testing::VirtualPad padOne("Pad One", nullptr), padTwo("Pad Two", nullptr);
    window.gamepads().poll(); // as when the system tells of a new device
    const bool oneDrivesFirst = window.gamepads().padOf(0) == std::optional(QStringLiteral("Pad One"));
    padOf = {oneDrivesFirst ? &padOne : &padTwo, oneDrivesFirst ? &padTwo : &padOne};
    app.timingPads = true;
    QTimer::singleShot(static_cast<int>(windowNs / 1'000'000), Qt::PreciseTimer,
                       [] { QCoreApplication::exit(0); });
    QApplication::exec();
    app.timingPads = false;
    piloting = false;
    app.watching = false;
    const std::int64_t hwm = vmHwmKiB();

    // The players pause (Ctrl+P): half a second to settle, then what standing paused costs.
    QTest::keyClick(&window, Qt::Key_P, Qt::ControlModifier);
    // Without a window manager the window may never be active, and then its shortcuts sleep.
    if (!game.paused) window.action(&MainWindow::pauseEntry)->trigger();
    const bool paused = game.paused && game.window.pauseEntry.caption != "Pause Game";
    // The pads put away: standing paused costs what it cost before they came.
    padOne.unplug();
    padTwo.unplug();
    QTest::qWait(500);
    const bool padsLeft = window.gamepads().polling();
    const double pausedCpu = standingCpu(driver, standing * 1000);
    driver.stop();

    // The screen as the window system holds it, against the whole content painted afresh: the view
    // repaints only what changed, and this shows that what it left alone was still right.
    QTest::qWait(50);
    const qt::PlayfieldView* view = window.view();
    const QRect content = view->contentRect().translated(view->mapTo(&window, QPoint(0, 0)));
    const QImage shot =
        window.screen()
            ->grabWindow(window.winId(), content.x(), content.y(), content.width(), content.height())
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    const QImage fresh = window.view()->render(view->scale()).convertToFormat(QImage::Format_RGB32);
    long long differ = shot.size() == fresh.size() ? 0 : -1;
    for (int y = 0; differ >= 0 && y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            differ += shot.pixel(x, y) != fresh.pixel(x, y);

    Figures f;
    f.set("seconds", wallSpent / 1e9);
    f.set("scale", window.view()->scale());
    f.set("computer", computer ? 1 + static_cast<int>(*computer) : 0);
    f.set("keys", static_cast<double>(keys));
    f.set("keys.no_effect", static_cast<double>(app.keysWithoutEffect));
    f.set("restarts", static_cast<double>(restarts));
    f.set("frames", static_cast<double>(app.frames));
    f.set("screen.differ", static_cast<double>(differ));
    for (int i = 0; i < 8; ++i) {
        const std::string t = "ticks.Timer" + std::to_string(i + 1);
        const int interval = game.clock.timers[i].interval;
        f.set(t, static_cast<double>(ticks[i]));
        f.set("interval.Timer" + std::to_string(i + 1), interval);
        if (steady[i] && game.clock.timers[i].enabled)
            f.set("expected.Timer" + std::to_string(i + 1), static_cast<double>(windowNs) / 1e6 / interval);
    }
    f.set("shown.median", percentile(app.tickToScreenNanos, 50) / 1e6);
    f.set("shown.p99", percentile(app.tickToScreenNanos, 99) / 1e6);
    f.set("shown.max", percentile(app.tickToScreenNanos, 100) / 1e6);
    f.set("frame.period",
          1000.0 / (window.screen()->refreshRate() > 1 ? window.screen()->refreshRate() : 60.0));
    f.set("late.median", percentile(lateNanos, 50) / 1e6);
    f.set("late.p99", percentile(lateNanos, 99) / 1e6);
    f.set("late.max", percentile(lateNanos, 100) / 1e6);
    f.set("key.n", static_cast<double>(app.keyNanos.size()));
    f.set("key.p50", percentile(app.keyNanos, 50) / 1e6);
    f.set("key.p99", percentile(app.keyNanos, 99) / 1e6);
    f.set("pad.pushes", static_cast<double>(pushes));
    f.set("pad.n", static_cast<double>(app.padNanos.size()));
    f.set("pad.p50", percentile(app.padNanos, 50) / 1e6);
    f.set("pad.p99", percentile(app.padNanos, 99) / 1e6);
    f.set("pad.read_unplugged", padsLeft ? 1 : 0);
    f.set("paint.median", percentile(app.paintNanos, 50) / 1e6);
    f.set("paint.p99", percentile(app.paintNanos, 99) / 1e6);
    f.set("cpu.percent", 100.0 * static_cast<double>(cpu1 - cpu0) / static_cast<double>(wallSpent));
    f.set("rss.peak_mb", hwm / 1024.0);
    f.set("recording.kb", static_cast<double>(windowed.recorder()->size()) / 1024.0);
    for (const auto& [name, use] : threads1) {
        const ThreadUse before = threads0.contains(name) ? threads0.at(name) : ThreadUse{};
        f.set("cpu.thread." + name,
              100.0 * static_cast<double>(use.nanos - before.nanos) / static_cast<double>(wallSpent));
        f.set("wakes.thread." + name,
              1e9 * static_cast<double>(use.runs - before.runs) / static_cast<double>(wallSpent));
        f.set("writes.thread." + name,
              1e9 * static_cast<double>(use.writes - before.writes) / static_cast<double>(wallSpent));
    }
    f.set("cpu.waiting", waitingCpu);
    f.set("cpu.paused", pausedCpu);
    f.set("paused.ok", paused ? 1 : 0);
    if (listening && !soundNanos.empty()) {
        f.set("sound.n", static_cast<double>(soundNanos.size()));
        f.set("sound.cues", static_cast<double>(platform.cueNanos.size()));
        f.set("sound.p50", percentile(soundNanos, 50) / 1e6);
        f.set("sound.p95", percentile(soundNanos, 95) / 1e6);
        f.set("sound.max", percentile(soundNanos, 100) / 1e6);
    }

    // One frame at scale 3, as the view paints it into its backing store: into an image kept from
    // frame to frame, the cars where the drive left them. The first frame scales the pictures.
    QImage frame(qt::clientPixels() * 3, QImage::Format_ARGB32_Premultiplied);
    std::vector<std::int64_t> frameNanos;
    for (int n = 0; n <= 500; ++n) {
        const std::int64_t t = driver.wallNanos();
        QPainter painter(&frame);
        qt::paintMainWindow(painter, game.window, window.pictures(), 3);
        painter.end();
        if (n > 0) frameNanos.push_back(driver.wallNanos() - t);
    }
    f.set("frame3.median", percentile(frameNanos, 50) / 1e6);
    frameNanos.clear();
    for (int n = 0; n < 100; ++n) {
        const std::int64_t t = driver.wallNanos();
        const QImage image = window.view()->render(3);
        frameNanos.push_back(driver.wallNanos() - t);
    }
    f.set("render3.median", percentile(frameNanos, 50) / 1e6);
    f.set("qpa", QGuiApplication::platformName() == QStringLiteral("xcb") ? 1 : 0);
    return f;
}

int usage() {
    std::fprintf(stderr, "usage: squeakrun-realtime [--runs N] [--seconds S] [--standing S] [--peer COMMAND]"
                         " [--computer easy|average|hard]   (N, S positive)\n");
    return 2;
}

// Runs `command` and takes the "=figure" lines of its output into `into` (with `prefix` before each
// name); every other line is passed through.
void collect(const std::string& command, const std::string& prefix, Figures& into) {
    std::fflush(stdout);
    FILE* child = popen(command.c_str(), "r");
    if (!child) {
        std::perror("popen");
        return;
    }
    char line[512];
    while (std::fgets(line, sizeof line, child)) {
        Figures one;
        if (!one.read(line)) {
            std::fputs(line, stdout);
            continue;
        }
        for (const auto& [name, value] : one.values())
            into.set(prefix + name, value);
    }
    pclose(child);
}

std::string quoted(const std::string& s) {
    std::string out = "'";
    for (char c : s)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

} // namespace

int main(int argc, char** argv) {
    int runs = 3, seconds = 15, standing = 5, floorScale = 0;
    bool child = false;
    std::string peer;
    std::string computerArg; // passed on to each run
    std::optional<Skill> computer;
    for (int i = 1; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (!std::strcmp(argv[i], "--runs") && hasValue)
            runs = std::atoi(argv[++i]);
        else if (!std::strcmp(argv[i], "--seconds") && hasValue)
            seconds = std::atoi(argv[++i]);
        else if (!std::strcmp(argv[i], "--standing") && hasValue)
            standing = std::atoi(argv[++i]);
        else if (!std::strcmp(argv[i], "--peer") && hasValue)
            peer = argv[++i];
        else if (!std::strcmp(argv[i], "--computer") && hasValue) {
            computerArg = argv[++i];
            computer = qt::skillNamed(QString::fromStdString(computerArg));
            if (!computer) return usage();
        } else if (!std::strcmp(argv[i], "--child"))
            child = true;
        else if (!std::strcmp(argv[i], "--floor") && hasValue)
            floorScale = std::atoi(argv[++i]);
        else
            return usage();
    }
    if (runs < 1 || seconds < 1 || standing < 1) return usage();

    if (floorScale > 0) {
        runFloor(argc, argv, seconds, floorScale).write(stdout);
        return 0;
    }
    if (child) {
        const Figures f = runOnce(argc, argv, seconds, standing, computer);
        print(f, stdout);
        f.write(stdout);
        return 0;
    }
    // Each run in a process of its own, the floor's and the peer's right after it on the same display;
    // the figures come back as lines of the children's output.
    std::vector<Figures> all;
    for (int r = 1; r <= runs; ++r) {
        std::printf("== run %d of %d ==\n", r, runs);
        Figures f;
        collect(quoted(argv[0]) + " --child --seconds " + std::to_string(seconds) + " --standing " +
                    std::to_string(standing) + (computer ? " --computer " + computerArg : ""),
                "", f);
        if (f.get("scale") > 0)
            collect(quoted(argv[0]) + " --floor " + std::to_string(static_cast<int>(f.get("scale"))) +
                        " --seconds " + std::to_string(seconds),
                    "floor.", f);
        if (!peer.empty()) collect(peer + " " + std::to_string(seconds), "peer.", f);
        for (const std::string other : {"floor.", "peer."})
            if (f.get(other + "cpu.percent") > 0)
                f.set(other + "ratio", f.get("cpu.percent") / f.get(other + "cpu.percent"));
        printBeside(f, stdout);
        all.push_back(f);
    }
    if (runs > 1) {
        std::printf("== median of %d runs ==\n", runs);
        const Figures m = median(all);
        print(m, stdout);
        printBeside(m, stdout);
    }
    return 0;
}
