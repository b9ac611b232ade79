// Replays: the same seed plays the same games, also when the game starts from a high-score record that
// an earlier run wrote; and a record written by one run reads back whole in the next.
#include "headless/scenario.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>

using namespace squeakrun;

namespace {

std::string play(const std::string& text) {
    std::ostringstream out;
    EXPECT_EQ(runScenario(text, "replay.scn", out), ScenarioStatus::Passed) << out.str();
    return out.str();
}

// The value of the last "NAME = VALUE" line printed for NAME, with the runner's escapes undone.
std::string printed(const std::string& out, const std::string& name) {
    std::string key = "\n" + name + " = ";
    std::size_t at = out.rfind(key);
    if (at == std::string::npos) return "<not printed>";
    std::size_t from = at + key.size(), to = out.find('\n', from);
    std::string escaped = out.substr(from, to - from), text;
    for (std::size_t i = 0; i < escaped.size(); ++i) {
        if (escaped[i] == '\\' && i + 1 < escaped.size()) {
            char c = escaped[++i];
            text += c == 'r' ? '\r' : c == 'n' ? '\n' : c;
        } else {
            text += escaped[i];
        }
    }
    return text;
}

// Names with the characters the record files must carry through their markup.
const std::string kStartUp = "answer Zoë {\\par}\nanswer Ann \\'e9 }{\nanswer 3\n";
const std::string kShowRecord = "print highscore\nprint file:hscore.txt\nprint file:name.txt\n"
                                "print file:comment.txt\n";

// A minute of play from no record at all: the first game without a tie sets one, still a low one.
std::string firstRun(int seed) {
    return play("seed " + std::to_string(seed) + "\n" + kStartUp + "start\nautoplay 60000\n" + kShowRecord);
}

} // namespace

TEST(Replay, ARecordWrittenByOneRunReadsBackWholeInTheNext) {
    const std::string first = firstRun(11);
    const std::string score = printed(first, "file:hscore.txt"), name = printed(first, "file:name.txt"),
                      comment = printed(first, "file:comment.txt");
    ASSERT_NE(score, "") << first;
    EXPECT_TRUE(name == "Zoë {\\par}" || name == "Ann \\'e9 }{") << name;
    EXPECT_EQ(comment, "I rule, you drool!");
    EXPECT_EQ(printed(first, "highscore"), score);

    // The next run starts from those files: the status panel and the High Scores window show them.
    const std::string next =
        play("file hscore.txt " + score + "\nfile name.txt " + name + "\nfile comment.txt " + comment + "\n" +
             kStartUp + "start\nprint highscore\nprint RichTextBox1.Text\n" +
             "menu mnuFileScores\nprint Form4.RichTextBox1.Text\n" +
             "print Form4.RichTextBox2.Text\nprint Form4.RichTextBox3.Text\n");
    EXPECT_EQ(printed(next, "highscore"), score);
    EXPECT_EQ(printed(next, "RichTextBox1.Text"), score);
    EXPECT_EQ(printed(next, "Form4.RichTextBox1.Text"), score);
    EXPECT_EQ(printed(next, "Form4.RichTextBox2.Text"), name);
    EXPECT_EQ(printed(next, "Form4.RichTextBox3.Text"), comment);
}

TEST(Replay, ARunFromSavedRecordFilesReplaysExactly) {
    const std::string first = firstRun(12);
    const std::string files = "file hscore.txt " + printed(first, "file:hscore.txt") + "\nfile name.txt " +
                              printed(first, "file:name.txt") + "\nfile comment.txt " +
                              printed(first, "file:comment.txt") + "\n";
    // Half an hour from the saved record, beating and rewriting it along the way.
    const std::string replay =
        "seed 12\n" + files + kStartUp + "start\nautoplay 1800000\ndump\n" + kShowRecord;
    const std::string once = play(replay), twice = play(replay);
    EXPECT_EQ(once, twice);
    EXPECT_NE(printed(once, "file:hscore.txt"), printed(first, "file:hscore.txt")) << "no record was beaten";

    // The seed is what makes it the same game: another seed plays differently.
    EXPECT_NE(once, play("seed 13" + replay.substr(replay.find('\n'))));
}
