// Whether the two machines of a network game agree to the end: the same confirmed game, the same
// recording, and that recording replayed headless ends as they did.
#pragma once

#include "headless/scenario.h"
#include "net/net_game.h"
#include "net/signature.h"

#include <gtest/gtest.h>

#include <sstream>

inline void expectSameGame(const squeakrun::NetGame& host, const squeakrun::NetGame& join) {
    using namespace squeakrun;
    ASSERT_FALSE(host.desynced());
    ASSERT_FALSE(join.desynced());
    EXPECT_EQ(host.broken(), "");
    EXPECT_EQ(join.broken(), "");
    ASSERT_EQ(host.confirmedTime(), join.confirmedTime());
    EXPECT_EQ(gameSignature(host.confirmed()), gameSignature(join.confirmed()));
    const std::string recording = host.recording("1.0", "today");
    EXPECT_EQ(recording, join.recording("1.0", "today"));
    std::ostringstream out;
    EXPECT_EQ(runScenario(recording, "network game", out), ScenarioStatus::Passed) << out.str() << recording;
}
