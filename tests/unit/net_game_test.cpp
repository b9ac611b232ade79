// Two machines of a network game played against each other in one process, through a link that
// delays, jitters, loses and reorders keys packets from a seed: whatever the link does, both machines
// end at the same game, and its recording replays headless to the same end.
#include "headless/headless_platform.h"
#include "headless/temp_folder.h"
#include "net/sim_link.h"
#include "net_same_game.h"
#include "window/random.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace squeakrun;

namespace {

// Two machines, each with its player pressing keys, closing boxes and pressing start at their own pace.
struct Match {
    TempFolder hostFolder, joinFolder;
    HeadlessPlatform hostWorld{hostFolder.path(), nullptr}, joinWorld{joinFolder.path(), nullptr};
    NetGame host, join;
    SimulatedPipe toJoin, toHost;
    std::int64_t wall = 0;
    Random hands;
    bool playing = true;
    long long boxesSeen = 0;

    Match(const LinkShape& shape, std::uint64_t seed)
        : host(hostWorld, {0, seed, {"Ann", "Bob"}, "3"}), join(joinWorld, {1, seed, {"Ann", "Bob"}, "3"}),
          toJoin(shape, seed * 3 + 1), toHost(shape, seed * 5 + 2), hands(seed) {}

    void act(NetGame& side) {
        if (side.box()) {
            // Each player closes their own boxes sooner or later, whatever else they do.
            if (!playing) side.answer(Button::Yes, "well driven");
            if (hands.next() < 0.08) {
                ++boxesSeen;
                side.answer(Button::Yes, "well driven");
            }
            return;
        }
        if (!playing) return;
        const Game& g = side.shown();
        if (g.window.startButton.visible && g.window.startButton.enabled && hands.next() < 0.04)
            side.agree(Input::click("Command3"));
        if (hands.next() < 0.024) side.press("WSADQREIKJLUPO"[static_cast<int>(hands.next() * 14)]);
    }
    // Both machines run for `ms` of wall time, a frame every 16 ms, their players' hands every 4 ms.
    void run(std::int64_t ms) {
        for (const std::int64_t end = wall + ms; wall < end; wall += 4) {
            act(host);
            act(join);
            if (clocks) {
                host.advance(4);
                join.advance(4);
            }
            if (wall % 16 == 0) {
                for (const Message& m : host.outgoing(16))
                    toJoin.send(wall, m);
                for (const Message& m : join.outgoing(16))
                    toHost.send(wall, m);
            }
            toJoin.deliver(wall, join);
            toHost.deliver(wall, host);
        }
    }
    // The clocks stop and the players only close their boxes; the machines talk until each knows all
    // the other did.
    void settle() {
        playing = clocks = false;
        run(3000);
    }
    bool clocks = true;
};

} // namespace

TEST(NetGame, BothMachinesEndAtTheSameGameWhateverTheLinkDoes) {
    const LinkShape shapes[] = {{}, {75, 20, 0.05, 0.02}, {150, 20, 0.05, 0.02}};
    for (std::uint64_t seed = 1; seed <= 3; ++seed) {
        for (const LinkShape& shape : shapes) {
            SCOPED_TRACE(::testing::Message() << "seed " << seed << ", one way " << shape.delayMs << " ms");
            Match m(shape, seed);
            m.run(40000);
            EXPECT_GT(m.boxesSeen, 0);
            // Games were started, and a winner typed the record's comment on their machine.
            const std::string recording = m.host.recording("1.0", "today");
            EXPECT_NE(recording.find("click Command3"), std::string::npos);
            EXPECT_NE(recording.find("answer well driven"), std::string::npos);
            if (shape.delayMs > 0) {
                EXPECT_GT(m.host.stats().rollbacks, 0);
            }
            m.settle();
            expectSameGame(m.host, m.join);
        }
    }
}

TEST(NetGame, OwnKeysActAtOnceAndTheOtherCarIsPredictedToKeepItsHeading) {
    Match m({100, 0, 0, 0}, 9);
    m.playing = false;
    while (m.host.box() || m.join.box() || !m.join.shown().carsMayMove) {
        for (NetGame* side : {&m.host, &m.join})
            if (side->box()) side->answer(Button::OK);
        if (m.host.shown().window.startButton.enabled) m.host.agree(Input::click("Command3"));
        m.run(4);
    }
    m.run(500);
    // Player 2 presses player 1's "right" key: it is their own right, shown on their machine at once.
    const Heading before = m.host.shown().players[1].heading;
    EXPECT_EQ(m.join.press('z'), -1); // a key of neither car is not taken
    EXPECT_EQ(m.join.press('d'), m.join.now());
    EXPECT_EQ(m.join.shown().players[1].heading, Right);
    EXPECT_EQ(m.host.shown().players[1].heading, before);
    m.run(120); // a packet and its trip later the host sees it, for a moment in its past
    EXPECT_EQ(m.host.shown().players[1].heading, Right);
    EXPECT_GE(m.host.stats().deepestMs, 100);
    EXPECT_LE(m.host.stats().deepestMs, 100 + 16);
    m.settle();
    expectSameGame(m.host, m.join);
}

TEST(NetGame, AMachineTooFarAheadWaitsAndTheClocksEaseTogether) {
    Match m({20, 0, 0, 0, 1000, 3000}, 4);
    m.run(1500); // the link has been dark for half a second
    EXPECT_TRUE(m.host.stalled());
    EXPECT_LE(m.host.now(), 1000 + 20 + kMaxPredictedMs);
    m.run(2000);
    EXPECT_FALSE(m.host.stalled());
    // One machine starts late: the other runs slower until they meet within a car step.
    Match late({30, 0, 0, 0}, 5);
    late.run(1000);
    for (int i = 0; i < 50; ++i)
        late.host.advance(4);
    late.run(100);
    EXPECT_GT(late.host.now() - late.join.now(), 150);
    EXPECT_LT(late.host.rate(), 1);
    EXPECT_GE(late.host.rate(), 1 - kMaxEasing);
    late.run(20000);
    EXPECT_LE(std::abs(late.host.now() - late.join.now()), kStepMs);
    late.settle();
    expectSameGame(late.host, late.join);
}

TEST(NetGame, OnlyTheHostChangesSettingsAndEitherMachinePausesBoth) {
    Match m({40, 0, 0, 0}, 6);
    EXPECT_FALSE(m.join.agree(Input::menu("mnuFileSettings")));
    EXPECT_FALSE(m.join.agree(Input::menu("mnuFileExit")));
    EXPECT_TRUE(m.host.agree(Input::menu("mnuFileSettings")));
    m.host.agree(Input::click("Form3.cmdcancel"));
    m.run(5000);
    EXPECT_TRUE(m.join.agree(Input::menu("mnuFilePause")));
    m.run(200);
    m.settle();
    EXPECT_EQ(m.host.pausedBy(), 1);
    expectSameGame(m.host, m.join);

    // A joiner that sends a change only the host may make breaks the game off.
    Match bad({0, 0, 0, 0}, 7);
    bad.host.receive(Event{5, 0, Input::menu("mnuFileSettings")});
    EXPECT_NE(bad.host.broken(), "");
    // So does one that presses a key of the host's player.
    Match sly({0, 0, 0, 0}, 7);
    sly.host.receive(Keys{0, 0, 0, 0, 0, {{5, 0, 'i'}}});
    EXPECT_EQ(sly.host.broken(), "");
    sly.host.receive(Keys{0, 0, 0, 1, 0, {{6, 1, 'w'}}});
    EXPECT_NE(sly.host.broken(), "");
}

TEST(NetGame, DifferentGamesAtAConfirmedMomentStopThatMachineAndAQuitIsHeard) {
    Match m({10, 0, 0, 0}, 8);
    m.run(2500);
    EXPECT_FALSE(m.host.desynced());
    m.host.receive(Signature{2000, 12345});
    EXPECT_TRUE(m.host.desynced());
    EXPECT_EQ(m.host.desyncedAt(), 2000);
    const std::int64_t stood = m.host.now();
    m.run(100);
    EXPECT_EQ(m.host.now(), stood);

    Match q({10, 0, 0, 0}, 9);
    q.run(200);
    q.join.quit();
    q.run(50);
    EXPECT_TRUE(q.host.otherQuit());
}
