// The clock driver on a wall clock the test turns by hand: the game follows the wall clock, stands
// still behind an open box, drops what a box or a stall took (but not a sleep of its own), lets one
// event in at a time with the game brought up to now, and wakes once per step while the cars drive.
#include "headless/headless_platform.h"
#include "headless/temp_folder.h"
#include "qt/clock_driver.h"
#include "qt/qt_platform.h"
#include "qt/signature.h"
#include "rules/events.h"
#include "rules/key_box.h"
#include "rules/state.h"
#include "rules/ticks.h"

#include <QTest>

#include <map>
#include <set>

using namespace squeakrun;
using namespace squeakrun::qt;

namespace {

struct FakeBoxes : ModalWatch {
    bool open = false;
    std::int64_t closed = 0;
    bool boxOpen() const override { return open; }
    std::int64_t boxesClosed() const override { return closed; }
};

struct Bench {
    Bench()
        : platform(std::filesystem::temp_directory_path(), nullptr), game(platform, 1), clock(game, &boxes) {
        clock.setWallClock([this] { return wall; });
        clock.setFrameNanos(20'000'000);
    }
    // Turns the wall clock on one frame at a time, waking the driver each time, for `ms`.
    void frames(std::int64_t ms) {
        for (const std::int64_t end = wall + ms; wall < end;) {
            wall += 20;
            clock.wake();
        }
    }
    std::int64_t wall = 0;
    FakeBoxes boxes;
    HeadlessPlatform platform;
    Game game;
    ClockDriver clock;
};

// When the key box upkeep, which runs every 10 ms from the start, is due next.
std::int64_t upkeepDue(const Game& g) {
    return g.clock.timers[7].due;
}

// A whole game played for four seconds of wall time with the same keys at the same moments, its driver
// woken every `wakeEvery` ms (and by the keys themselves), or with 0 whenever it means to wake,
// looking ahead at the playfield. Display frames are 20 ms long.
struct Played {
    QString end;                                   // what the game looks like at the end
    std::map<std::int64_t, std::uint64_t> shown;   // the playfield after each wake, by wall time
    std::map<std::int64_t, std::uint64_t> changes; // the wakes that changed it
    std::set<std::int64_t> runs;                   // wakes and events, after which the window follows
};

// With `computer`, the computer drives player 2's car at Hard and only player 1's keys are typed.
Played play(std::int64_t wakeEvery, bool computer = false) {
    TempFolder folder;
    HeadlessPlatform platform(folder.path(), nullptr);
    Game game(platform, 7);
    ClockDriver clock(game, nullptr);
    std::int64_t wall = 0;
    clock.setWallClock([&] { return wall; });
    clock.setFrameNanos(20'000'000);
    if (wakeEvery == 0) clock.setSignature([](const GameState& g) { return shownSignature(g); });
    platform.answers = {std::string("Ann"), std::string("Bob"), std::string("1")};
    clock.runEvent(startUp);
    platform.useDefaults = true;
    if (computer) clock.changeSeats([](ComputerSeats& seats) { seats.set(1, Skill::Hard, 15); });
    clock.start();
    // Each player's keys by role: up, down, left, right.
    const auto key = [](int player, int role) {
        return std::string(1, static_cast<char>(kPlayers[player].keys[role] - 'A' + 'a'));
    };
    const struct {
        std::int64_t at;
        int player, role;
    } keys[] = {{403, 0, 3},  {517, 1, 2},  {1209, 0, 1}, {1210, 1, 0},
                {2333, 0, 2}, {2871, 1, 3}, {3456, 0, 0}};
    std::size_t next = 0;
    Played played;
    for (wall = 1; wall <= 4000; ++wall) {
        if (wall == 100) {
            clock.runEvent(pressStartButton);
            played.runs.insert(wall);
        }
        if (wakeEvery ? wall % wakeEvery == 0 : wall >= clock.plannedWake() + clock.dropped()) {
            const std::uint64_t before = shownSignature(game);
            clock.wake();
            const std::uint64_t after = played.shown[wall] = shownSignature(game);
            if (after != before) played.changes[wall] = after;
            played.runs.insert(wall);
        }
        if (next < std::size(keys) && keys[next].at == wall) {
            const std::string typed = key(keys[next].player, keys[next].role);
            if (!computer || keys[next].player == 0) clock.runEvent([&](Game& g) { pressKey(g, typed); });
            played.runs.insert(wall);
            ++next;
        }
    }
    wall = 4000; // the players look at the screen
    clock.wake();
    QString& seen = played.end;
    seen = QStringLiteral("clock %1 dropped %2").arg(game.clock.now).arg(clock.dropped());
    for (int i = 0; i < 2; ++i)
        seen += QStringLiteral(" | car %1 at %2,%3 heading %4 gas %5 score %6")
                    .arg(i)
                    .arg(game.car(i).left)
                    .arg(game.car(i).top)
                    .arg(game.players[i].heading)
                    .arg(game.players[i].shownGas)
                    .arg(game.players[i].score);
    seen += QStringLiteral(" | next draw %1").arg(game.rng.next());
    for (Cue cue : platform.heard)
        seen += QStringLiteral(" %1").arg(cueName(cue).data());
    return played;
}

} // namespace

class ClockDriverTest : public QObject {
    Q_OBJECT
  private slots:
    void aWakeOver250msLateDropsTheExcess();
    void timeBehindAnOpenBoxNeverCounts();
    void eventsWaitForTheRunningHandlerAndForBoxes();
    void anEventAfterATickThatShowedABoxIsRefused();
    void wakesWhenTheFirstChangeOnScreenFallsDue();
    void anEventAsAWakeFallsDueLooksAheadAfresh();
    void theGamePlaysTheSameWhenTheDriverWakesLess();
};

void ClockDriverTest::aWakeOver250msLateDropsTheExcess() {
    Bench b;
    b.clock.start();
    b.wall = 100;
    b.clock.wake(); // the next wake is meant for the frame at 120
    // The machine stalls for almost two seconds: the game moves 250 ms past the planned wake and
    // drops the rest ...
    b.wall = 2000;
    b.clock.wake();
    QCOMPARE(b.game.clock.now, std::int64_t{370});
    QCOMPARE(b.clock.dropped(), std::int64_t{1630});
    // ... and runs on from there at the wall clock's pace, without a burst.
    b.wall = 2040;
    b.clock.wake();
    QCOMPARE(b.game.clock.now, std::int64_t{410});
}

void ClockDriverTest::timeBehindAnOpenBoxNeverCounts() {
    Bench b;
    b.clock.start();
    b.wall = 200;
    b.clock.wake();
    QCOMPARE(b.game.clock.now, std::int64_t{200});

    b.boxes.open = true;
    b.wall = 230;
    b.clock.wake();
    QCOMPARE(b.game.clock.now, std::int64_t{200}); // the game stands still behind the box

    // The box stays open for ten seconds; once it is closed the game goes on from where it stood.
    b.wall = 10200;
    b.boxes.open = false;
    b.boxes.closed = 1;
    b.clock.wake();
    QCOMPARE(b.game.clock.now, std::int64_t{200});
    b.wall = 10230;
    b.clock.wake();
    QCOMPARE(b.game.clock.now, std::int64_t{230});
}

void ClockDriverTest::eventsWaitForTheRunningHandlerAndForBoxes() {
    Bench b;
    int ran = 0;
    bool nestedAccepted = true;
    QVERIFY(b.clock.runEvent([&](Game&) {
        ++ran;
        nestedAccepted = b.clock.runEvent([&](Game&) { ++ran; });
    }));
    QCOMPARE(ran, 1);
    QVERIFY(!nestedAccepted);

    b.boxes.open = true;
    QVERIFY(!b.clock.runEvent([&](Game&) { ++ran; }));
    QCOMPARE(ran, 1);
    b.boxes.open = false;
    QVERIFY(b.clock.runEvent([&](Game&) { ++ran; }));
    QCOMPARE(ran, 2);
}

void ClockDriverTest::anEventAfterATickThatShowedABoxIsRefused() {
    Bench b;
    b.clock.start();
    // The tick at 10 ms shows a box, which the players answer and close.
    b.clock.setTickObserver([&](int, std::int64_t due, std::int64_t) {
        if (due == 10) ++b.boxes.closed;
    });
    b.wall = 15;
    bool ran = false;
    QVERIFY(!b.clock.runEvent([&](Game&) { ran = true; }));
    QVERIFY(!ran);
    QCOMPARE(b.game.clock.now, std::int64_t{15});
    // The next event goes in as usual.
    b.wall = 16;
    QVERIFY(b.clock.runEvent([&](Game&) { ran = true; }));
    QVERIFY(ran);
}

void ClockDriverTest::wakesWhenTheFirstChangeOnScreenFallsDue() {
    Bench b;
    // The window shows whether the key box upkeep is due after 75 ms.
    b.clock.setSignature([](const GameState& g) -> std::uint64_t { return g.clock.timers[7].due > 75; });
    b.wall = 3;
    b.clock.start();
    // The upkeep tick at 70 leaves it due at 80: that tick is the first to change the picture.
    QCOMPARE(b.clock.plannedWake(), std::int64_t{70});
    QVERIFY2(b.clock.armedIn() >= 65 && b.clock.armedIn() <= 67,
             qPrintable(QString::number(b.clock.armedIn())));
    QCOMPARE(upkeepDue(b.game), std::int64_t{10}); // nothing was played ahead on the game itself

    // An event in between looks again from where the game then is: with the upkeep every 30 ms its
    // tick at 50 leaves it due at 80, and that shows one frame after the event's own picture.
    b.wall = 42;
    b.clock.runEvent([](Game& g) { g.clock.timers[7].interval = 30; });
    QCOMPARE(b.clock.plannedWake(), std::int64_t{62});

    // While nothing shown changes the driver sleeps two seconds, and that sleep is no stall.
    b.clock.setSignature([](const GameState&) -> std::uint64_t { return 0; });
    b.wall = 62;
    b.clock.wake();
    QCOMPARE(b.clock.plannedWake(), std::int64_t{2062});
    b.wall = 2100;
    b.clock.wake();
    QCOMPARE(b.game.clock.now, std::int64_t{2100});
    QCOMPARE(b.clock.dropped(), std::int64_t{0});
}

void ClockDriverTest::anEventAsAWakeFallsDueLooksAheadAfresh() {
    Bench b;
    // The window shows whether the key box upkeep is due after 75 ms, and after 150 ms.
    b.clock.setSignature([](const GameState& g) -> std::uint64_t {
        const std::int64_t due = g.clock.timers[7].due;
        return (due > 75) + 2 * (due > 150);
    });
    b.wall = 3;
    b.clock.start();
    QCOMPARE(b.clock.plannedWake(), std::int64_t{70});
    // The event comes as that wake falls due and slows the upkeep to every 30 ms: its ticks at 80,
    // 110 and 140 leave it due at 170, so the next change is at 140, not at 150 as before the event.
    b.wall = 70;
    b.clock.runEvent([](Game& g) { g.clock.timers[7].interval = 30; });
    QCOMPARE(b.clock.plannedWake(), std::int64_t{140});
}

void ClockDriverTest::theGamePlaysTheSameWhenTheDriverWakesLess() {
    // Also while the computer drives a car: it looks on the exact clock however the driver wakes, and
    // the game played ahead carries it along, so that its turns are foreseen and shown on time.
    for (const bool computer : {false, true}) {
        // Woken every millisecond, each tick runs at its own time: the reference.
        const Played onTime = play(1, computer);
        // The cars were steered: both have turned from their start heading.
        QVERIFY2(!onTime.end.contains(QStringLiteral("heading 0")), qPrintable(onTime.end));
        const Played everyFrame = play(20, computer);
        QCOMPARE(everyFrame.end, onTime.end);
        QCOMPARE(play(240, computer).end, onTime.end); // a few times a second

        // Woken only when it means to, the driver shows each tick's change by the cars' next step,
        // shows what the game on time shows at that moment, and wakes hardly more often than the
        // picture changes (a few sleeps end with none). Once the cars drive (the start button at 100
        // starts their steps), a wake that shows something comes only with a step, or a frame after an
        // event that showed something just before the step: one frame a step.
        const Played planned = play(0, computer);
        QCOMPARE(planned.end, onTime.end);
        QVERIFY(onTime.changes.size() > 50);
        for (const auto& [due, signature] : onTime.changes) {
            const auto woke = planned.runs.lower_bound(due);
            QVERIFY2(woke != planned.runs.end() && *woke < due + kMovementTickMs,
                     qPrintable(QStringLiteral("the change at %1 was not shown by the next step").arg(due)));
        }
        for (const auto& [at, signature] : planned.changes)
            QVERIFY2(at < 100 || (at - 100) % kMovementTickMs == 0 || planned.runs.contains(at - 20),
                     qPrintable(QStringLiteral("the screen changed at %1, between the cars' steps").arg(at)));
        for (const auto& [at, signature] : planned.shown)
            QVERIFY2(signature == onTime.shown.at(at),
                     qPrintable(QStringLiteral("at %1 the picture differs").arg(at)));
        QVERIFY2(planned.shown.size() <= onTime.changes.size() + 5,
                 qPrintable(QStringLiteral("%1 wakes for %2 changes")
                                .arg(planned.shown.size())
                                .arg(onTime.changes.size())));
    }
}

QTEST_MAIN(ClockDriverTest)
#include "clock_driver_test.moc"
