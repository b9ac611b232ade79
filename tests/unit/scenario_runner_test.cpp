// The scenario runner: what it prints, how it judges expectations, and which lines it refuses.
#include "headless/scenario.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace squeakrun;

namespace {
struct Run {
    ScenarioStatus status;
    std::string out;
};
Run run(const std::string& text) {
    std::ostringstream out;
    auto status = runScenario(text, "t.scn", out);
    return {status, out.str()};
}
} // namespace

TEST(ScenarioRunner, ComparesNumbersAsNumbersAndNamesTheFailedLine) {
    // Comment and blank lines are skipped.
    auto pass = run("# c\n\nanswer A\nanswer B\nanswer 2.0\nstart\nexpect dif 2\nexpect p1speed 80.0000001\n"
                    "expect lblp1lives.Caption 4\nexpect Text3.Focused false\n");
    EXPECT_EQ(pass.status, ScenarioStatus::Passed) << pass.out;
    auto fail = run("start\nexpect p1lives 5\nexpect p1lives 4\n");
    EXPECT_EQ(fail.status, ScenarioStatus::Failed);
    EXPECT_NE(fail.out.find("FAIL t.scn:2: p1lives is 4, expected 5\n"), std::string::npos);
    EXPECT_EQ(fail.out.find("t.scn:3"), std::string::npos); // the file stops at its first failure
}

TEST(ScenarioRunner, RefusesMalformedLinesAndStopsTheFile) {
    // A line the reader refuses stops the file before anything plays; the others only once the game is
    // there to say that a name or a button does not exist.
    auto refused = run("answer A\nstart\nprint p1lives\nfrobnicate\n");
    EXPECT_EQ(refused.out, "MALFORMED t.scn:4: frobnicate (unknown command frobnicate)\n");
    for (const char* text :
         {"start\nexpect nosuchname 1\n", "start\nexpect p1lives many\n", "start\nset paused maybe\n",
          "start\nrun Form9_Timer_Timer\n", "reply Yes\nstart\n"}) {
        auto r = run(text);
        EXPECT_EQ(r.status, ScenarioStatus::Malformed) << text << r.out;
        EXPECT_NE(r.out.find("MALFORMED t.scn:2: "), std::string::npos) << text << r.out;
    }
}

TEST(ScenarioRunner, TheSameScenarioAndSeedDumpTheSameState) {
    const std::string text = "seed 42\nstart\nautoplay 20000\ndump\n";
    auto first = run(text), second = run(text);
    EXPECT_EQ(first.status, ScenarioStatus::Passed);
    EXPECT_EQ(first.out, second.out);
    EXPECT_GT(first.out.size(), 1000u);
}
