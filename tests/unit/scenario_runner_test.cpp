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
    for (const char* text :
         {"key w\n", "start\nstart\n", "start\nseed 3\n", "start\nfrobnicate\n",
          "start\nexpect nosuchname 1\n", "start\nexpect p1lives many\n", "start\nset paused maybe\n",
          "start\nwait -5\n", "start\nrun Form9_Timer_Timer\n", "start\nclick NoSuchButton\n",
          "reply Maybe\nstart\n", "reply Yes\nstart\n", "rawfile x.txt bad\\q\n", "file ../escape.txt 1\n",
          "start\nselect Form3.Combo1 7\n"}) {
        auto r = run(text);
        EXPECT_EQ(r.status, ScenarioStatus::Malformed) << text << r.out;
        EXPECT_NE(r.out.find("MALFORMED t.scn:"), std::string::npos) << text;
    }
}

TEST(ScenarioRunner, TheSameScenarioAndSeedDumpTheSameState) {
    const std::string text = "seed 42\nstart\nautoplay 20000\ndump\n";
    auto first = run(text), second = run(text);
    EXPECT_EQ(first.status, ScenarioStatus::Passed);
    EXPECT_EQ(first.out, second.out);
    EXPECT_GT(first.out.size(), 1000u);
}
