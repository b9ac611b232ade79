// Recording a session and reading one back: a long session replays headless to the very end it had,
// however its waits are cut into frames, from a recording that stays small; every byte a player can
// give the game comes back as the game took it; and a file that cannot be played is refused whole,
// saying why, in bounded time.
#include "computer/seated_game.h"
#include "headless/headless_platform.h"
#include "headless/names.h"
#include "headless/scenario.h"
#include "headless/temp_folder.h"
#include "records/record_file.h"
#include "rules/events.h"
#include "rules/saved_records.h"
#include "rules/ticks.h"
#include "session/recorder.h"
#include "session/script.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <regex>
#include <sstream>

using namespace squeakrun;

namespace {

// Every value a scenario can name, as a dump prints them.
std::string everything(Game& g) {
    std::string all;
    for (auto& [name, field] : gameFields(g))
        all += name + " = " + formatValue(field.get()) + '\n';
    return all;
}

// The recording played again in a fresh folder, the game moved on by `frame` ms at a time (0: at once).
std::string replayed(const std::string& recording, std::int64_t frame, std::string (*look)(Game&)) {
    const auto read = readScript(recording, Dialect::Session);
    if (const auto* error = std::get_if<ScriptError>(&read)) return describe(*error);
    const Script& script = std::get<Script>(read);
    TempFolder folder;
    writeRecords(script, folder.path());
    HeadlessPlatform platform(folder.path(), nullptr);
    Game g(platform, script.seed);
    ScriptPlayer player(g, platform, script);
    if (frame == 0) player.playAll();
    while (frame > 0 && g.clock.now <= script.gameMs && player.playUntil(g.clock.now + frame)) {
    }
    return look(g);
}

// A game recorded from start-up on, as the window records one, its start-up boxes answered with `answers`.
struct Recording {
    Recording(const std::filesystem::path& folder, std::deque<std::optional<std::string>> answers,
              std::uint64_t seed)
        : world(folder, nullptr), platform(world, recorder), g(platform, seed) {
        world.answers = std::move(answers);
        recorder.begin(seed, g);
        startUp(g);
        recorder.started();
    }
    // An input applied, then recorded as what it amounted to.
    void play(const Input& in) {
        if (const auto said = applyInput(g, in)) recorder.input(*said, g.clock.now);
    }
    HeadlessPlatform world;
    Recorder recorder;
    RecordingPlatform platform;
    Game g;
};

} // namespace

TEST(Session, TenMinutesOfPlayReplayExactlyFromLessThanAMegabyte) {
    TempFolder folder;
    saveRecordFile(folder.path() / "hscore.txt", "3");
    saveRecordFile(folder.path() / "name.txt", "Old\r\nChamp"); // a record of two lines
    Recording session(folder.path(), {"Ann", "Bob", "3"}, 987654321);
    Game& g = session.g;
    Recorder& recorder = session.recorder;
    // Players who press keys, pause, switch away, change the settings and hand cars to the computer and
    // back, as in the window.
    auto play = [&session](const Input& in) { session.play(in); };
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
    // Watched in the window, the game moves on a frame at a time, a wait often cut across several.
    const std::string end = everything(g);
    EXPECT_EQ(replayed(text, 17, everything), end);
    EXPECT_EQ(replayed(text, 1000, everything), end);
}

TEST(Session, EveryByteAPlayerCanGiveTheGameComesBackAsTheGameTookIt) {
    std::string bytes;
    for (int b = 1; b < 256; ++b)
        bytes += static_cast<char>(b);
    std::string oneLine = bytes;
    std::erase_if(oneLine, [](char c) { return c == '\r' || c == '\n'; });
    // A record holds any byte; a box or a name box holds one line, so a line break or a NUL ends what the
    // game is given.
    const struct {
        std::string record, typed;
        std::vector<std::string> keys;
    } sessions[] = {
        {"a" + bytes + "z", "N" + oneLine + "m", {}},
        {std::string("a\0z", 3), "N\r\nm", {}},
        {"a\nz", std::string("N\0m", 3), {}},
    };
    for (const auto& session : sessions) {
        TempFolder folder;
        std::ofstream(folder.path() / "comment.txt", std::ios::binary) << session.record;
        Recording recording(folder.path(), {"A" + session.typed, "Bob", "1"}, 5);
        std::vector<Input> inputs = {Input::menu("mnuFileSettings"),
                                     Input::type("Form3.txtp1name", session.typed),
                                     Input::click("Form3.cmdcancel"), Input::click("Command3")};
        for (int b = 0; b < 256; ++b)
            inputs.push_back(Input::key(std::string(1, static_cast<char>(b))));
        for (const Input& in : inputs)
            recording.play(in);
        // The file goes through an editor that strips the blanks off the ends of lines.
        const std::string text = std::regex_replace(recording.recorder.scenario(recording.g, "1.0", "today"),
                                                    std::regex("[ \t]+\n"), "\n");
        const auto seen = [](Game& game) { return loadRecord(game, "comment.txt") + '|' + everything(game); };
        EXPECT_EQ(replayed(text, 0, seen), seen(recording.g)) << text;
    }
}

TEST(Session, AFileThatCannotBePlayedIsRefusedWholeSayingWhy) {
    const std::string dumps = "start\n" + [] {
        std::string many;
        for (int i = 0; i <= kMaxScriptLooks / kDumpLooks; ++i)
            many += "dump\n";
        return many;
    }();
    const struct {
        std::string text;
        Dialect dialect;
        std::string says;
    } cases[] = {
        {std::string("\x89PNG\r\n\x1a\n\0\0\n", 11), Dialect::Test, "binary"},
        {"start\nwait 10\nfly away\n", Dialect::Test, "line 3: unknown command fly"},
        {"start\nwait 10\nkey", Dialect::Session, "line 3: cut off in the middle of its last line"},
        {"answer Ann\nkey w\nstart\n", Dialect::Test, "line 2: only seed, file, rawfile, answer and reply"},
        {"seed 4\nfile hscore.txt 9\n", Dialect::Session, "never starts"},
        {"start\nset p1score 9\n", Dialect::Session, "line 2: set is for test scenarios"},
        {"start\nclick Nowhere\n", Dialect::Test, "line 2: unknown control Nowhere"},
        {"start\nselect Form3.Combo1 3\n", Dialect::Test, "line 2: no entry 3"},
        {"start\nkey \\q\n", Dialect::Test, "line 2: bad escape in key"},
        {"start\nwait soon\n", Dialect::Test, "line 2: wait needs milliseconds"},
        {"start\nrawfile x.txt \\q\n", Dialect::Test, "line 2: rawfile comes before start"},
        {"rawfile x.txt \\q\n", Dialect::Test, "line 1: bad escape in rawfile text"},
        {"file ../x.txt 1\nstart\n", Dialect::Test, "line 1: file NAME TEXT"},
        {"start\nstart\n", Dialect::Test, "line 2: second start"},
        {"reply Maybe\nstart\n", Dialect::Test, "line 1: reply OK, Yes or No"},
        // Game time is bounded one line at a time and all together, however large the numbers.
        {"start\nwait 10800001\n", Dialect::Session, "line 2: asks for more than 3 hours"},
        {"start\nwait 1000000000000000\n", Dialect::Session, "line 2: asks for more than 3 hours"},
        {"start\nwait 10000000\nautoplay 800001\n", Dialect::Test, "line 3: asks for more than 3 hours"},
        {dumps, Dialect::Test, "line 1002: looks into the game more than"},
    };
    for (const auto& c : cases) {
        const auto read = readScript(c.text, c.dialect);
        ASSERT_TRUE(std::holds_alternative<ScriptError>(read)) << c.text;
        EXPECT_NE(describe(std::get<ScriptError>(read)).find(c.says), std::string::npos)
            << describe(std::get<ScriptError>(read));
    }
    // Up to the bound is fine, and so are the keys older files wrote: a backslash, and a blank.
    EXPECT_TRUE(
        std::holds_alternative<Script>(readScript("start\nwait 3600000\nwait 7200000\n", Dialect::Session)));
    std::ostringstream out;
    // (While the game is paused a key waits in the key box.)
    EXPECT_EQ(runScenario("start\nclick Command3\nset paused True\nkey \\\nexpect Text3.Text \\\n"
                          "set Text3.Text\nkey  \nexpect Text3.Text  \n",
                          "old.scn", out),
              ScenarioStatus::Passed)
        << out.str();
}

TEST(Session, AHugeFileIsRefusedQuicklyAndInBoundedMemory) {
    TempFolder folder;
    const auto huge = folder.path() / "huge.scn";
    std::ofstream(huge) << "start\n";
    std::filesystem::resize_file(huge, std::uintmax_t(1) << 30);
    const auto began = std::chrono::steady_clock::now();
    for (const std::filesystem::path& file : {huge, std::filesystem::path("/dev/zero")}) {
        const auto read = readScriptFile(file, Dialect::Session);
        ASSERT_TRUE(std::holds_alternative<ScriptError>(read));
        EXPECT_NE(std::get<ScriptError>(read).why.find("too large"), std::string::npos)
            << std::get<ScriptError>(read).why;
    }
    EXPECT_LT(std::chrono::steady_clock::now() - began, std::chrono::seconds(2));
}
