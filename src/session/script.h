// The scenario language, read and played: a file's lines become steps, judged whole before anything
// plays, and the steps play on a game up to any game time asked for. Scenario files, recorded sessions,
// the replay window and the fuzz targets all come through here, so a line means one thing everywhere
// and every complaint about a line is worded once.
#pragma once

#include "computer/seated_game.h"
#include "session/inputs.h"
#include "session/session_file.h"
#include "window/platform.h"

#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace squeakrun {

// Game time one file may ask for, one `wait` or all its lines together. Three hours are beyond the
// sessions people play, and three hours with the computer driving both cars still play headless in a
// few seconds, so no accepted file can hang the runner or a replay.
constexpr std::int64_t kMaxScriptGameMs = 3LL * 60 * 60 * 1000;
// Lines that look or reach into the game (expect, print, set, run; a dump, which lists everything,
// counts kDumpLooks) one file may hold: each costs microseconds, and a file of millions would run long.
constexpr int kMaxScriptLooks = 100'000;
constexpr int kDumpLooks = 100;

// When a command may come: only before start; at any time; once the game was started; or while it runs
// (once the program has ended, such a line does nothing).
enum class When { BeforeStart, Anytime, Started, Playing };

// What a file may hold: a recorded session (only what a player does, and it must start the game), or a
// test scenario, which may also reach into the game with print, dump, set, run and autoplay.
enum class Dialect { Session, Test };

struct Step {
    enum class Kind { Seed, Record, Answer, Reply, Start, Wait, Input, Computer, Expect, Own };
    Kind kind = Kind::Wait;
    When when = When::Playing;
    int line = 0;                      // where the file says it, for messages
    std::string text;                  // the line itself
    std::int64_t ms = 0;               // Wait and autoplay: the game time; Seed: the seed
    Input input;                       // Input
    SeatChange seat;                   // Computer
    std::optional<std::string> answer; // Answer: nullopt cancels the box
    Button reply = Button::OK;         // Reply
    // Expect: NAME and VALUE. Record: NAME and TEXT, `hasRest` for a rawfile. Own (the test commands:
    // print, dump, set, run, autoplay): the command and the rest of the line, and NAME VALUE.
    std::string command, rest, name, value;
    bool hasRest = false;
};

// A file judged whole and found playable: its text, walked again step by step as it plays (a file of
// millions of short lines never sits in memory as millions of steps), and what comes before start.
struct Script {
    std::string text;
    Dialect dialect = Dialect::Session;
    std::uint64_t seed = 1;
    std::vector<StoredRecord> records;
    bool starts = false;
    std::int64_t gameMs = 0; // the game time its waits and autoplay lines ask for, all together
};

// Why a file or one of its lines cannot be played: `line` 0 for the file as a whole.
struct ScriptError {
    int line = 0;
    std::string text, why;
};
// "line 4: unknown command fly", or the reason alone for the file as a whole.
std::string describe(const ScriptError& error);

std::variant<Script, ScriptError> readScript(std::string_view text, Dialect dialect);
// The file read (bounded) and judged; a file that cannot be read is an error of the file as a whole.
std::variant<Script, ScriptError> readScriptFile(const std::filesystem::path& file, Dialect dialect);

// The queues a platform answers its boxes from.
struct BoxAnswers {
    std::deque<std::optional<std::string>> answers; // nullopt: the box is cancelled
    std::deque<Button> replies;
};

class StepReader;

// A judged script's steps one at a time, for a front end that plays them its own way (a network
// machine, which hands its keys to the network game rather than to a game of its own).
class ScriptSteps {
  public:
    explicit ScriptSteps(const Script& script);
    ~ScriptSteps();
    // The next step into `step`; false after the last.
    bool next(Step& step);

  private:
    std::unique_ptr<StepReader> reader_;
};

// Plays a script's steps on one game, as far as each call asks: a wait that reaches past the game time
// asked for is played up to it and goes on at the next call, so a session watched frame by frame ends
// exactly where one played in a single call does.
class ScriptPlayer {
  public:
    // Told of every step as it is played, after the player did its part; false stops the play.
    using Witness = std::function<bool(const Step&)>;

    ScriptPlayer(Game& game, BoxAnswers& boxes, const Script& script);
    ~ScriptPlayer();

    // Plays the steps up to game time `target`; false once every step was played or the play stopped.
    bool playUntil(std::int64_t target, const Witness& witness = {});
    // Every step, to the end.
    void playAll(const Witness& witness = {}) {
        playUntil(std::numeric_limits<std::int64_t>::max(), witness);
    }

    // Plays once more a step played before, on the game as it stood before that step (a wait whole):
    // the play forward after a rollback. The witness is not told.
    void replay(const Step& step);

    // The game with the cars the computer drives, from their `computer` lines on.
    SeatedGame& seated() { return seated_; }

  private:
    // What a step that is neither a wait nor the script's own does to the game and its boxes.
    void play(const Step& step);

    Game& g_;
    BoxAnswers& boxes_;
    const Script& script_;
    SeatedGame seated_;
    ScriptSteps steps_;
    Step step_;                           // the step being played
    std::optional<std::int64_t> waitEnd_; // the game time the wait being played ends at
    bool stopped_ = false;
};

// Writes the script's record files into `folder`; the first that cannot be written, as an error of its line.
std::optional<ScriptError> writeRecords(const Script& script, const std::filesystem::path& folder);

// The script's expect lines about what the players see last that the game, now at its end, does not
// match, as "NAME is X, the recording says Y".
std::vector<std::string> endDifferences(const Script& script, const Game& g);

} // namespace squeakrun
