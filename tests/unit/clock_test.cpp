// The game clock: when timers tick, in which order, and what enabling and disabling them does.
#include "window/game_clock.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

using namespace squeakrun;

namespace {

struct Clock : GameClock {
    std::vector<std::string> log; // "T<number>@<ms>"
    std::function<void(int)> during = [](int) {};

    void start(int number, int interval) {
        timers[number - 1].interval = interval;
        enable(number - 1, true);
    }
    void advanceTo(std::int64_t target) {
        advance(
            target,
            [this](int i) {
                log.push_back("T" + std::to_string(i + 1) + "@" + std::to_string(now));
                during(i);
            },
            [] { return false; });
    }
};

} // namespace

TEST(GameClock, TimerFirstTicksOneIntervalAfterItIsEnabledAndNeverDrifts) {
    Clock c;
    c.now = 7;
    c.start(5, 1000);
    c.advanceTo(1006);
    EXPECT_TRUE(c.log.empty());
    c.advanceTo(3007);
    EXPECT_EQ(c.log, (std::vector<std::string>{"T5@1007", "T5@2007", "T5@3007"}));
    EXPECT_EQ(c.now, 3007);
}

TEST(GameClock, TimersDueTogetherRunInTimerNumberOrder) {
    Clock c;
    c.start(8, 10);
    c.start(3, 10);
    c.start(4, 30);
    c.start(1, 50);
    c.advanceTo(30);
    EXPECT_EQ(c.log,
              (std::vector<std::string>{"T3@10", "T8@10", "T3@20", "T8@20", "T3@30", "T4@30", "T8@30"}));
}

TEST(GameClock, ATickThatStopsAnotherTimerDueAtTheSameMomentKeepsItFromRunning) {
    Clock c;
    c.start(1, 50);
    c.start(2, 50);
    c.during = [&c](int i) {
        if (i == 0) c.timers[1].enabled = false;
    };
    c.advanceTo(50);
    EXPECT_EQ(c.log, (std::vector<std::string>{"T1@50"}));
}

TEST(GameClock, EnablingARunningTimerChangesNothingButRestartingItRestartsItsInterval) {
    Clock c;
    c.start(7, 150);
    c.advanceTo(100);
    c.start(7, 150); // already running: still due at 150
    c.advanceTo(150);
    EXPECT_EQ(c.log, (std::vector<std::string>{"T7@150"}));
    c.advanceTo(200);
    c.timers[6].enabled = false;
    c.start(7, 150); // restarted at 200: next at 350, not 300
    c.advanceTo(349);
    EXPECT_EQ(c.log.size(), 1u);
    c.advanceTo(350);
    EXPECT_EQ(c.log.back(), "T7@350");
}

TEST(GameClock, ATimerEnabledDuringATickStartsFromThatTicksTime) {
    Clock c;
    c.start(4, 30);
    c.during = [&c](int i) {
        if (i == 3 && c.now == 30) c.start(7, 150);
    };
    c.advanceTo(180);
    EXPECT_EQ(c.log.back(), "T7@180");
    EXPECT_EQ(c.nextDue(), 210);
}

TEST(GameClock, ATickIsNotInterruptedByAnotherAndTheObserverSeesEachTickBeforeItRuns) {
    Clock c;
    c.start(3, 10);
    c.start(8, 10);
    std::vector<std::string> seen;
    c.onTick = [&seen](int timer, std::int64_t due) {
        seen.push_back("T" + std::to_string(timer + 1) + "@" + std::to_string(due));
    };
    // A tick that waits in a message box lets the front end try to move the clock: nothing runs.
    c.during = [&c](int i) {
        if (i == 2) c.advanceTo(c.now + 100);
        EXPECT_TRUE(c.ticking());
    };
    c.advanceTo(10);
    EXPECT_EQ(c.log, (std::vector<std::string>{"T3@10", "T8@10"}));
    EXPECT_EQ(seen, c.log);
    EXPECT_FALSE(c.ticking());
}

TEST(GameClock, ATickThatThrowsLeavesTheClockFreeForTheNextOne) {
    Clock c;
    c.start(8, 10);
    c.during = [](int) { throw std::runtime_error("a box the tick could not show"); };
    EXPECT_THROW(c.advanceTo(10), std::runtime_error);
    EXPECT_FALSE(c.ticking());
    c.during = [](int) {};
    c.advanceTo(20);
    EXPECT_EQ(c.log, (std::vector<std::string>{"T8@10", "T8@20"}));
}
