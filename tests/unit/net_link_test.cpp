// Two machines of a network game on 127.0.0.1, over real UDP sockets and ENet, the joiner's packets
// through a relay that delays, jitters, drops, duplicates and reorders them: they meet, play the same
// game, refuse what they must with one line, and wait for each other through a blackout.
#include "net_machines.h"
#include "net_same_game.h"

#include <gtest/gtest.h>

#include "rules/saved_records.h"

#include <map>

using namespace squeakrun;
using std::chrono::milliseconds;

TEST(NetLink, TwoMachinesThroughABadLinkPlayTheSameGame) {
    Machine a, b;
    // The host's comment is longer than a record may travel: both games play from what was sent, and
    // the host's own file keeps it whole.
    const std::string longComment(3000, 'c');
    ASSERT_EQ(keepIfRecord({"40", "Cy", longComment}, a.world), KeptRecord::Kept);
    a.peer = hostOn(a);
    Relay relay(0, a.peer->link().port(), {75, 20, 0.05, 0.01, 0.02, 40, milliseconds(-1), {}, 3});
    ASSERT_TRUE(relay.ok());
    b.peer = joinAt(b, relay.port());
    std::map<const NetPeer*, int> frameCount;
    frames({a.peer.get(), b.peer.get()}, &relay, milliseconds(5000), [&](NetPeer& p) {
        closeBoxesAndStart(p);
        const int n = ++frameCount[&p];
        if (p.game() && n % 40 == 0) p.game()->press("wasdijkl"[n / 40 % 8]);
    });
    ASSERT_TRUE(a.peer->game() && b.peer->game());
    EXPECT_EQ(a.peer->otherName(), "Bob");
    EXPECT_EQ(b.peer->otherName(), "Ann");
    EXPECT_TRUE(a.peer->game()->shown().carsMayMove);
    EXPECT_GT(a.peer->game()->stats().rollbacks, 0);
    EXPECT_GT(b.peer->game()->stats().rollbacks, 0);
    // The clocks stop; what is still on its way arrives.
    frames({a.peer.get(), b.peer.get()}, &relay, milliseconds(1500), closeBoxes, false);
    EXPECT_EQ(a.peer->line(), "");
    expectSameGame(*a.peer->game(), *b.peer->game());
    Game reader(a.world, 1);
    EXPECT_EQ(loadRecord(reader, "comment.txt"), longComment);
}

TEST(NetLink, AnotherVersionASecondJoinerOrNobodyAnsweringIsOneClearLine) {
    Machine a, b, c;
    a.peer = hostOn(a, "1.0");
    b.peer = joinAt(b, a.peer->link().port(), "1.1");
    frames({a.peer.get(), b.peer.get()}, nullptr, milliseconds(300), [](NetPeer&) {});
    EXPECT_EQ(a.peer->line(),
              "The other machine plays version 1.1 of the game and this one 1.0; both need the same.");
    EXPECT_EQ(b.peer->line(),
              "The other machine plays version 1.0 of the game and this one 1.1; both need the same.");
    EXPECT_TRUE(a.peer->over() && b.peer->over());
    EXPECT_FALSE(a.peer->game() || b.peer->game());

    Machine d;
    d.peer = hostOn(d);
    b.peer = joinAt(b, d.peer->link().port());
    frames({d.peer.get(), b.peer.get()}, nullptr, milliseconds(300), closeBoxesAndStart);
    c.peer = joinAt(c, d.peer->link().port());
    frames({d.peer.get(), b.peer.get(), c.peer.get()}, nullptr, milliseconds(300), closeBoxesAndStart);
    EXPECT_EQ(c.peer->line(), "That game already has two players.");
    EXPECT_EQ(d.peer->line(), "");
    EXPECT_EQ(d.peer->otherName(), "Bob");

    const std::uint16_t nobody = a.peer->link().port();
    a.peer.reset();
    c.peer = joinAt(c, nobody);
    frames({c.peer.get()}, nullptr, kNoAnswerAfter + milliseconds(300), [](NetPeer&) {});
    EXPECT_EQ(c.peer->line(), "No answer from the other machine.");
}

TEST(NetLink, ABlackoutIsWaitedThroughAndAQuitEndsTheGameAtOnce) {
    Machine a, b;
    a.peer = hostOn(a);
    Relay relay(0, a.peer->link().port(), {10, 0, 0, 0, 0, 40, milliseconds(1500), milliseconds(1500), 5});
    b.peer = joinAt(b, relay.port());
    frames({a.peer.get(), b.peer.get()}, &relay, milliseconds(2500), closeBoxesAndStart);
    EXPECT_EQ(a.peer->line(), "Waiting for Bob\u2026");
    EXPECT_EQ(b.peer->line(), "Waiting for Ann\u2026");
    EXPECT_TRUE(a.peer->game()->stalled());
    frames({a.peer.get(), b.peer.get()}, &relay, milliseconds(1500), closeBoxesAndStart);
    EXPECT_EQ(a.peer->line(), "");
    EXPECT_FALSE(a.peer->game()->stalled());
    EXPECT_GT(a.peer->game()->now(), 2500);

    b.peer->quit();
    b.peer.reset();
    frames({a.peer.get()}, &relay, milliseconds(200), [](NetPeer&) {});
    EXPECT_EQ(a.peer->line(), "Bob left the game");
    EXPECT_TRUE(a.peer->over());
}

TEST(NetPeer, TheJoinerKeepsARecordOfTheNetworkGameOnlyWhenItReachesItsOwn) {
    Machine joiner;
    const auto own = [&joiner] {
        Game reader(joiner.world, 1);
        return loadRecord(reader, "hscore.txt") + '|' + loadRecord(reader, "name.txt") + '|' +
               loadRecord(reader, "comment.txt");
    };
    EXPECT_EQ(keepIfRecord({"500", "Bob", "first"}, joiner.world), KeptRecord::Kept) << "none of its own yet";
    EXPECT_EQ(keepIfRecord({"499", "Ann", "lower"}, joiner.world), KeptRecord::Lower);
    EXPECT_EQ(own(), "500|Bob|first");
    EXPECT_EQ(keepIfRecord({"500", "Ann", "as high"}, joiner.world), KeptRecord::Kept);
    EXPECT_EQ(own(), "500|Ann|as high");
    // A folder that cannot be made (a file stands in its way) is said, not passed over.
    HeadlessPlatform blocked(joiner.folder.path() / "hscore.txt" / "records", nullptr);
    EXPECT_EQ(keepIfRecord({"900", "Ann", "lost"}, blocked), KeptRecord::Unsaved);
}
