// The game clock: when timers tick, in which order, and what enabling and disabling them does.
#include "game/window/scheduler.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace squeakrun;

namespace {

struct Clock {
    std::array<Timer, 8> timers{};
    std::int64_t now = 0;
    std::vector<std::string> log;  // "T<number>@<ms>"
    std::function<void(int)> onTick = [](int) {};

    void enable(int number, int interval) {
        Timer& t = timers[number - 1];
        t.Interval = interval;
        if (!t.Enabled) t.due = now + interval;
        t.Enabled = true;
    }
    void advanceTo(std::int64_t target) {
        runDueTimers(
            timers, now, target,
            [this](int i) {
                log.push_back("T" + std::to_string(i + 1) + "@" + std::to_string(now));
                onTick(i);
            },
            [] { return false; });
    }
};

} // namespace

TEST(GameClock, TimerFirstTicksOneIntervalAfterItIsEnabledAndNeverDrifts) {
    Clock c;
    c.now = 7;
    c.enable(5, 1000);
    c.advanceTo(1006);
    EXPECT_TRUE(c.log.empty());
    c.advanceTo(3007);
    EXPECT_EQ(c.log, (std::vector<std::string>{"T5@1007", "T5@2007", "T5@3007"}));
    EXPECT_EQ(c.now, 3007);
}

TEST(GameClock, TimersDueTogetherRunInTimerNumberOrder) {
    Clock c;
    c.enable(8, 10);
    c.enable(3, 10);
    c.enable(4, 30);
    c.enable(1, 50);
    c.advanceTo(30);
    EXPECT_EQ(c.log, (std::vector<std::string>{"T3@10", "T8@10", "T3@20", "T8@20", "T3@30", "T4@30", "T8@30"}));
}

TEST(GameClock, ATickThatStopsAnotherTimerDueAtTheSameMomentKeepsItFromRunning) {
    Clock c;
    c.enable(1, 50);
    c.enable(2, 50);
    c.onTick = [&c](int i) {
        if (i == 0) c.timers[1].Enabled = false;
    };
    c.advanceTo(50);
    EXPECT_EQ(c.log, (std::vector<std::string>{"T1@50"}));
}

TEST(GameClock, EnablingARunningTimerChangesNothingButRestartingItRestartsItsInterval) {
    Clock c;
    c.enable(7, 150);
    c.advanceTo(100);
    c.enable(7, 150);  // already running: still due at 150
    c.advanceTo(150);
    EXPECT_EQ(c.log, (std::vector<std::string>{"T7@150"}));
    c.advanceTo(200);
    c.timers[6].Enabled = false;
    c.enable(7, 150);  // restarted at 200: next at 350, not 300
    c.advanceTo(349);
    EXPECT_EQ(c.log.size(), 1u);
    c.advanceTo(350);
    EXPECT_EQ(c.log.back(), "T7@350");
}

TEST(GameClock, ATimerEnabledDuringATickStartsFromThatTicksTime) {
    Clock c;
    c.enable(4, 30);
    c.onTick = [&c](int i) {
        if (i == 3 && c.now == 30) c.enable(7, 150);
    };
    c.advanceTo(180);
    EXPECT_EQ(c.log.back(), "T7@180");
    EXPECT_EQ(nextDue(c.timers), 210);
}
