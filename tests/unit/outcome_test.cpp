// A high-score record that cannot be written is reported once per run; the game goes on with it in memory.
// The comment question still ends at the first comment, and the record files that can be written are.
// Exit marks the game ended by itself, so a key typed in the same moment steers nothing: the window,
// its clock driver and the fuzz runs read that mark, while scenarios see only the platform's quit.
#include "headless/headless_platform.h"
#include "headless/temp_folder.h"
#include "records/record_file.h"
#include "rules/events.h"
#include "rules/state.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <stdlib.h>

using namespace squeakrun;

namespace {

namespace fs = std::filesystem;

class RecordFailure : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_FALSE(folder_.empty()); }

    // Start-up takes the default names (Skitter, Scamper) and difficulty (2); then one game is started.
    static void startGame(Game& g) {
        startUp(g);
        pressStartButton(g);
    }
    static std::string failureText(const fs::path& folder) {
        return "The high score could not be saved in " + folder.string() + ". The game goes on without it.";
    }

    TempFolder scratch_{"squeakrun-outcome"};
    const fs::path& folder_ = scratch_.path();
};

TEST_F(RecordFailure, AFolderThatCannotBeMadeIsReportedOnceAndTheGameGoesOn) {
    ASSERT_TRUE(saveRecordFile(folder_ / "file", "not a folder"));
    const fs::path missing = folder_ / "file" / "gone";
    HeadlessPlatform platform(missing, nullptr);
    Game g(platform, 1);
    startGame(g);
    ASSERT_EQ(platform.messageCount, 1); // the instructions
    ASSERT_EQ(platform.inputCount, 3);

    g.players[0].score = 40000;
    g.players[1].score = 3;
    platform.answers = {std::nullopt, std::string("Mine")};
    endGame(g);

    // Outcome, then the one failure notice; the comment box stops at the first comment given.
    EXPECT_EQ(platform.messageCount, 3);
    EXPECT_EQ(platform.lastTitle, "High Score");
    EXPECT_EQ(platform.lastMessage, failureText(missing));
    EXPECT_EQ(platform.inputCount, 5);
    EXPECT_EQ(g.scores.commentBox.text, "Mine");
    // The record lives on in memory and on the panel.
    EXPECT_EQ(g.highScore, 40000);
    EXPECT_EQ(g.window.highScoreBox.text, "40000");
    EXPECT_EQ(g.scores.scoreBox.text, "40000");
    EXPECT_EQ(g.scores.nameBox.text, "Skitter");
    EXPECT_FALSE(fs::exists(missing));

    // A second record in the same run fails silently: only its outcome is shown.
    pressStartButton(g);
    g.players[1].score = 7;
    platform.answers = {std::string("Again")};
    endGame(g);
    EXPECT_EQ(platform.messageCount, 4);
    EXPECT_EQ(platform.lastTitle, "Outcome");
    EXPECT_EQ(platform.inputCount, 6);
    EXPECT_EQ(g.highScore, 7);
}

TEST_F(RecordFailure, OneUnwritableFileDoesNotStopTheOthers) {
    ASSERT_TRUE(saveRecordFile(folder_ / "hscore.txt", "12"));
    fs::create_directory(folder_ / "name.txt"); // nothing can be renamed over a folder
    HeadlessPlatform platform(folder_, nullptr);
    Game g(platform, 1);
    startGame(g);
    ASSERT_EQ(g.highScore, 12);

    g.players[1].score = 40;
    platform.answers = {std::string("Cheese")};
    endGame(g);

    EXPECT_EQ(platform.messageCount, 3);
    EXPECT_EQ(platform.lastMessage, failureText(folder_));
    EXPECT_EQ(loadRecordFile(folder_ / "hscore.txt"), "40");
    EXPECT_EQ(loadRecordFile(folder_ / "comment.txt"), "Cheese");
    EXPECT_TRUE(fs::is_directory(folder_ / "name.txt"));
    EXPECT_EQ(g.scores.nameBox.text, "Scamper");
}

} // namespace
