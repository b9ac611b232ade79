// A machine that vanishes in the middle of a round, without a word: its process stopped, its link
// silent. The other machine waits for it as long as it may come back, then ends the round alone, and
// no record comes of a round nobody finished.
#include "net_machines.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

using namespace squeakrun;
using std::chrono::milliseconds;

namespace {
// Every file in the machine's folder with what it holds.
std::map<std::string, std::string> filesOf(const Machine& m) {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(m.folder.path())) {
        std::ostringstream text;
        text << std::ifstream(entry.path(), std::ios::binary).rdbuf();
        files[entry.path().string()] = text.str();
    }
    return files;
}
} // namespace

TEST(NetLink, AJoinerThatVanishesEndsTheRoundOnTheHostWithinThirtyOneSeconds) {
    Machine a, b;
    a.peer = hostOn(a);
    b.peer = joinAt(b, a.peer->link().port());
    frames({a.peer.get(), b.peer.get()}, nullptr, milliseconds(1500), closeBoxesAndStart);
    ASSERT_TRUE(a.peer->game());
    ASSERT_TRUE(a.peer->game()->shown().carsMayMove);

    const auto filesBefore = filesOf(a);
    // The joiner is kept but never runs again: not a packet leaves it, not even a goodbye.
    const auto gone = std::chrono::steady_clock::now();
    // The host waits from the last packet it heard, which may have come a frame before the joiner
    // stopped (its silence is told in whole milliseconds, hence the one more).
    const auto heardLast = gone - a.peer->link().silence() - milliseconds(1);
    while (!a.peer->over() && std::chrono::steady_clock::now() - gone < milliseconds(32000))
        frames({a.peer.get()}, nullptr, milliseconds(100), closeBoxes);
    const auto waited = std::chrono::steady_clock::now() - heardLast;
    EXPECT_TRUE(a.peer->over());
    // Not before the 30 s it may still come back in, and not much after.
    EXPECT_GE(waited, kGoneAfter);
    EXPECT_LE(waited, milliseconds(31000));
    EXPECT_EQ(a.peer->line(), "Bob left the game");
    EXPECT_FALSE(a.peer->game()->box());
    EXPECT_EQ(filesOf(a), filesBefore);
}
