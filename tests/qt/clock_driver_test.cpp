// The clock driver keeps game time to the wall clock, stops behind boxes, lets one event in at a time.
// The test turns the wall clock by hand; a box or a stall is dropped from game time, not made up for.
#include "headless/headless_platform.h"
#include "qt/clock_driver.h"
#include "qt/qt_platform.h"
#include "rules/events.h"
#include "rules/state.h"

#include <QTest>

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
        : platform(std::filesystem::temp_directory_path(), nullptr), game(platform, 1), driver(game, &boxes) {
        driver.setWallClock([this] { return wall; });
    }
    std::int64_t wall = 0;
    FakeBoxes boxes;
    HeadlessPlatform platform;
    Game game;
    ClockDriver driver;
};

// When the key box upkeep, which runs every 10 ms from the start, is due next.
std::int64_t upkeepDue(const Game& g) {
    return g.clock.timers[7].due;
}

} // namespace

class ClockDriverTest : public QObject {
    Q_OBJECT
  private slots:
    void followsTheWallClockFromStartUp();
    void oneAdvanceCoversAtMost250ms();
    void timeBehindAnOpenBoxNeverCounts();
    void eventsWaitForTheRunningHandlerAndForBoxes();
    void timerIsAimedAtTheNextDueTick();
};

void ClockDriverTest::followsTheWallClockFromStartUp() {
    Bench b;
    b.driver.start();
    b.wall = 9;
    b.driver.wake();
    QCOMPARE(b.game.clock.now, std::int64_t{9});
    QCOMPARE(upkeepDue(b.game), std::int64_t{10}); // not yet run
    b.wall = 10;
    b.driver.wake();
    QCOMPARE(b.game.clock.now, std::int64_t{10});
    QCOMPARE(upkeepDue(b.game), std::int64_t{20});
    b.wall = 105;
    b.driver.wake();
    QCOMPARE(b.game.clock.now, std::int64_t{105});
    QCOMPARE(upkeepDue(b.game), std::int64_t{110});
}

void ClockDriverTest::oneAdvanceCoversAtMost250ms() {
    Bench b;
    b.driver.start();
    b.wall = 100;
    b.driver.wake();
    // The machine stalls for almost two seconds: the game moves 250 ms and drops the rest ...
    b.wall = 2000;
    b.driver.wake();
    QCOMPARE(b.game.clock.now, std::int64_t{350});
    // ... and runs on from there at the wall clock's pace, without a burst.
    b.wall = 2040;
    b.driver.wake();
    QCOMPARE(b.game.clock.now, std::int64_t{390});
}

void ClockDriverTest::timeBehindAnOpenBoxNeverCounts() {
    Bench b;
    b.driver.start();
    b.wall = 200;
    b.driver.wake();
    QCOMPARE(b.game.clock.now, std::int64_t{200});

    b.boxes.open = true;
    b.wall = 230;
    b.driver.wake();
    QCOMPARE(b.game.clock.now, std::int64_t{200}); // the game stands still behind the box

    // The box stays open for ten seconds; once it is closed the game goes on from where it stood.
    b.wall = 10200;
    b.boxes.open = false;
    b.boxes.closed = 1;
    b.driver.wake();
    QCOMPARE(b.game.clock.now, std::int64_t{200});
    b.wall = 10230;
    b.driver.wake();
    QCOMPARE(b.game.clock.now, std::int64_t{230});
}

void ClockDriverTest::eventsWaitForTheRunningHandlerAndForBoxes() {
    Bench b;
    int ran = 0;
    bool nestedAccepted = true;
    QVERIFY(b.driver.runEvent([&](Game&) {
        ++ran;
        nestedAccepted = b.driver.runEvent([&](Game&) { ++ran; });
    }));
    QCOMPARE(ran, 1);
    QVERIFY(!nestedAccepted);

    b.boxes.open = true;
    QVERIFY(!b.driver.runEvent([&](Game&) { ++ran; }));
    QCOMPARE(ran, 1);
    b.boxes.open = false;
    QVERIFY(b.driver.runEvent([&](Game&) { ++ran; }));
    QCOMPARE(ran, 2);

    // Every event is followed by a look at the model.
    int touched = 0;
    QObject::connect(&b.driver, &ClockDriver::modelTouched, [&] { ++touched; });
    b.driver.runEvent(chooseRules);
    QCOMPARE(touched, 1);
}

void ClockDriverTest::timerIsAimedAtTheNextDueTick() {
    Bench b;
    b.wall = 3;
    b.driver.start();
    QVERIFY(b.driver.armed());
    // The key box upkeep is due at 10 ms of game time, 7 ms from now.
    QVERIFY2(b.driver.armedIn() >= 5 && b.driver.armedIn() <= 7,
             qPrintable(QString::number(b.driver.armedIn())));

    // Once the program has ended nothing ticks any more.
    b.driver.runEvent(chooseExit);
    QVERIFY(!b.driver.armed());
}

QTEST_MAIN(ClockDriverTest)
#include "clock_driver_test.moc"
