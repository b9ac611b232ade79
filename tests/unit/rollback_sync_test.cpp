// Going back and playing again: every scenario in tests/scenarios, after each of its steps sent back 1
// to 8 steps to a copy of the game as it stood then and played forward again, must print exactly what
// it prints played straight, and end at the same game. Anything the game depends on that lives outside
// its value (a static, a random stream of its own, the platform's boxes) shows up here, before it
// splits the two machines of a network game.
#include "headless/scenario.h"
#include "session/session_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <sstream>

using namespace squeakrun;

TEST(RollbackSync, EveryScenarioPlayedAgainFromAnEarlierCopyEndsAtTheSameGame) {
    const auto folder = std::filesystem::path(SCENARIO_FOLDER);
    std::set<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.path().extension() == ".scn") files.insert(entry.path());
    ASSERT_GT(files.size(), 10u);
    for (const auto& file : files) {
        std::string why;
        const auto text = readScenarioText(file, why);
        ASSERT_TRUE(text) << why;
        // The last dump shows the whole game as it ends.
        const std::string played = *text + "\ndump\n";
        std::ostringstream straight;
        const ScenarioStatus status = runScenario(played, file.filename().string(), straight);
        ASSERT_EQ(status, ScenarioStatus::Passed) << straight.str();
        for (int steps = 1; steps <= 8; ++steps) {
            std::ostringstream again;
            EXPECT_EQ(runScenario(played, file.filename().string(), again, steps), status)
                << steps << " steps back\n"
                << again.str();
            EXPECT_EQ(again.str(), straight.str()) << file.filename() << ", " << steps << " steps back";
        }
    }
}
