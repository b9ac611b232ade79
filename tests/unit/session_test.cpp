// Recording a session and reading one back: a long session replays headless to the very end it had,
// from a recording that stays small, and a file that is no recorded session is refused whole, saying
// why, in bounded time.
#include "computer/seated_game.h"
#include "headless/headless_platform.h"
#include "headless/scenario.h"
#include "headless/temp_folder.h"
#include "records/record_file.h"
#include "rules/events.h"
#include "rules/ticks.h"
#include "session/recorder.h"
#include "session/session_file.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <sstream>

using namespace squeakrun;

TEST(Session, TenMinutesOfPlayReplayExactlyFromLessThanAMegabyte) {
    TempFolder folder;
    saveRecordFile(folder.path() / "hscore.txt", "3");
    saveRecordFile(folder.path() / "name.txt", "Old\r\nChamp"); // a record of two lines
    HeadlessPlatform world(folder.path(), nullptr);
    world.answers = {"Ann", "Bob", "3"};
    Recorder recorder;
    RecordingPlatform platform(world, recorder);
    Game g(platform, 987654321);
    recorder.begin(987654321, g);
    startUp(g);
    recorder.started();

    // Players who press keys, pause, switch away, change the settings and hand cars to the computer and
    // back, as in the window: each input applied, then recorded as what it amounted to.
    auto play = [&](const Input& in) {
        if (const auto said = applyInput(g, in)) recorder.input(*said, g.clock.now);
    };
    SeatedGame seated(g);
    Random dice(7);
    const std::string keys = "wasdqexWASDikjluonIKJL";
    while (g.clock.now < 600'000 && !g.exited) {
        seated.advance(g.clock.now + 20 + static_cast<int>(dice.next() * 300));
        const float r = dice.next();
        if (g.window.startButton.visible) {
            play(Input::click("Command3"));
        } else if (r < 0.01f) {
            play(Input::menu("mnuFileSettings"));
            play(Input::type("Form3.txtp2name", "Bo" + std::to_string(g.clock.now % 7)));
            play(Input::select("Form3.Combo1", static_cast<int>(g.clock.now % 3)));
            play(Input::click(r < 0.005f ? "Form3.cmdupdate" : "Form3.cmdcancel"));
        } else if (r < 0.02f) {
            play(Input::menu("mnuFilePause"));
        } else if (r < 0.03f) {
            play(Input::switchAway());
        } else if (r < 0.035f) {
            const SeatChange change{dice.next() < 0.5f ? 0 : 1, skillNamed(r < 0.033f ? "hard" : "off")};
            seated.seats.set(change.player, change.skill, 987654321);
            recorder.seated(change, g.clock.now);
        } else {
            play(Input::key(std::string(1, keys[static_cast<std::size_t>(dice.next() * keys.size())])));
        }
    }
    EXPECT_LT(recorder.size(), 1u << 20);
    const std::string text = recorder.scenario(g, "1.0", "today");
    EXPECT_NE(text.find("rawfile name.txt"), std::string::npos);
    EXPECT_NE(text.find("computer 1 hard"), std::string::npos);
    EXPECT_NE(text.find("expect lblscore1.Caption"), std::string::npos);
    std::ostringstream out;
    EXPECT_EQ(runScenario(text, "recorded.scn", out), ScenarioStatus::Passed) << out.str();
}

TEST(Session, AFileThatIsNoRecordedSessionIsRefusedWholeSayingWhy) {
    const struct {
        std::string text, says;
    } cases[] = {
        {std::string("\x89PNG\r\n\x1a\n\0\0\n", 11), "binary"},
        {"start\nwait 10\nfly away\n", "line 3: unknown command fly"},
        {"start\nwait 10\nkey", "cut off in the middle of its last line (line 3)"},
        {"answer Ann\nkey w\nstart\n", "line 2: only seed"},
        {"seed 4\nfile hscore.txt 9\n", "never starts"},
        {"start\nset p1score 9\n", "line 2: set is for test scenarios"},
        {"start\nclick Nowhere\n", "line 2: unknown control Nowhere"},
        {"start\nwait soon\n", "line 2: wait needs milliseconds"},
        {"start\nrawfile x.txt \\q\n", "line 2: rawfile comes before start"},
    };
    for (const auto& c : cases) {
        const auto read = parseSession(c.text);
        ASSERT_TRUE(std::holds_alternative<std::string>(read)) << c.text;
        EXPECT_NE(std::get<std::string>(read).find(c.says), std::string::npos) << std::get<std::string>(read);
    }
}

TEST(Session, AHugeFileIsRefusedQuicklyAndInBoundedMemory) {
    TempFolder folder;
    const auto huge = folder.path() / "huge.scn";
    std::ofstream(huge) << "start\n";
    std::filesystem::resize_file(huge, std::uintmax_t(1) << 30);
    const auto began = std::chrono::steady_clock::now();
    for (const std::filesystem::path& file : {huge, std::filesystem::path("/dev/zero")}) {
        const auto read = readSession(file);
        ASSERT_TRUE(std::holds_alternative<std::string>(read));
        EXPECT_NE(std::get<std::string>(read).find("too large"), std::string::npos)
            << std::get<std::string>(read);
    }
    EXPECT_LT(std::chrono::steady_clock::now() - began, std::chrono::seconds(2));
}
