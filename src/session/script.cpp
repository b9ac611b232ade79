#include "session/script.h"

#include "rules/events.h"
#include "session/recorder.h"

#include <map>

namespace squeakrun {

namespace {

// One line split: COMMAND REST, and REST as NAME VALUE. The value is the rest of the line, so a name
// with nothing after it has the empty value, with or without a blank.
struct Words {
    std::string_view command, rest, name, value;
    bool hasRest = false, hasValue = false;
};

Words split(std::string_view line) {
    Words w;
    const std::size_t space = line.find(' ');
    w.command = line.substr(0, space);
    w.hasRest = space != std::string_view::npos;
    if (w.hasRest) w.rest = line.substr(space + 1);
    const std::size_t gap = w.rest.find(' ');
    w.name = w.rest.substr(0, gap);
    w.hasValue = gap != std::string_view::npos;
    if (w.hasValue) w.value = w.rest.substr(gap + 1);
    return w;
}

} // namespace

// Walks a script's lines one step at a time, judging each as it comes.
class StepReader {
  public:
    StepReader(std::string_view text, Dialect dialect) : text_(text), dialect_(dialect) {}

    // The next step into `step`; false at the end of the text or (with `error` set) at a line that is
    // not right.
    bool next(Step& step, std::optional<ScriptError>& error) {
        if (pos_ == 0 && text_.find('\0') != std::string_view::npos) {
            error = ScriptError{0, {}, "not a scenario file: it holds binary data"};
            return false;
        }
        while (pos_ < text_.size()) {
            std::size_t end = text_.find('\n', pos_);
            // A session is saved whole, each line with its break; a last line without one was cut off.
            if (end == std::string_view::npos && dialect_ == Dialect::Session) {
                error = ScriptError{line_ + 1, {}, "cut off in the middle of its last line"};
                return false;
            }
            if (end == std::string_view::npos) end = text_.size();
            std::string_view line = text_.substr(pos_, end - pos_);
            pos_ = end + 1;
            ++line_;
            if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
            if (line.empty() || line[0] == '#') continue;
            step = Step{};
            if (take(line, step)) return true;
            error = ScriptError{line_, std::string(line), why_};
            return false;
        }
        return false;
    }

  private:
    using Kind = Step::Kind;
    struct Command {
        std::string_view word;
        When when;
        bool (StepReader::*take)(const Words&, Step&);
    };

    bool fail(std::string why) {
        why_ = std::move(why);
        return false;
    }

    bool take(std::string_view line, Step& step) {
        // Adding a command is a row here and its function below.
        static constexpr Command kCommands[] = {
            {"seed", When::BeforeStart, &StepReader::seed},
            {"file", When::BeforeStart, &StepReader::record},
            {"rawfile", When::BeforeStart, &StepReader::record},
            {"answer", When::Anytime, &StepReader::answer},
            {"reply", When::Anytime, &StepReader::reply},
            {"start", When::Anytime, &StepReader::start},
            {"expect", When::Started, &StepReader::expect},
            {"print", When::Started, &StepReader::own},
            {"dump", When::Started, &StepReader::own},
            {"key", When::Playing, &StepReader::input},
            {"click", When::Playing, &StepReader::input},
            {"menu", When::Playing, &StepReader::input},
            {"type", When::Playing, &StepReader::input},
            {"select", When::Playing, &StepReader::input},
            {"wait", When::Playing, &StepReader::wait},
            {"computer", When::Playing, &StepReader::computer},
            {"run", When::Playing, &StepReader::own},
            {"set", When::Playing, &StepReader::own},
            {"autoplay", When::Playing, &StepReader::own},
        };
        const Words words = split(line);
        const Command* command = nullptr;
        for (const Command& c : kCommands)
            if (c.word == words.command) command = &c;
        if (!command) return fail("unknown command " + std::string(words.command));
        if (command->when == When::BeforeStart && started_)
            return fail(std::string(words.command) + " comes before start");
        if ((command->when == When::Started || command->when == When::Playing) && !started_)
            return fail("only seed, file, rawfile, answer and reply come before start");
        step.when = command->when;
        step.line = line_;
        step.text = std::string(line);
        return (this->*command->take)(words, step);
    }

    // Game time asked for, one line's and the file's, refused past a day before anything plays.
    bool gameTime(std::string_view text, std::string_view what, Step& step) {
        const auto ms = wholeCount(text);
        if (!ms || *ms < 0) return fail(std::string(what) + " needs milliseconds");
        if (*ms > kMaxScriptGameMs - totalMs_)
            return fail("asks for more than 3 hours of game time in all, longer than any replay may run");
        totalMs_ += *ms;
        step.ms = *ms;
        return true;
    }

    bool seed(const Words& w, Step& step) {
        const auto v = wholeCount(w.rest);
        if (!v || *v < 0) return fail("seed needs a whole number");
        step.kind = Kind::Seed;
        step.ms = *v;
        return true;
    }

    // "file NAME TEXT" is a record file as the game writes one; "rawfile NAME TEXT" the bytes the escaped
    // text stands for, to give the game files it would never write itself.
    bool record(const Words& w, Step& step) {
        // An empty text may have lost the blank before it to an editor; the name alone says it as well.
        if (!plainFileName(w.name)) return fail(std::string(w.command) + " NAME TEXT");
        step.kind = Kind::Record;
        step.name = std::string(w.name);
        step.value = std::string(w.value);
        step.hasRest = w.command == "rawfile";
        return !step.hasRest || unescapeBytes(step.value) || fail("bad escape in rawfile text");
    }

    bool answer(const Words& w, Step& step) {
        step.kind = Kind::Answer;
        if (w.hasRest) step.answer = std::string(w.rest);
        return true;
    }

    bool reply(const Words& w, Step& step) {
        const auto button = buttonNamed(w.rest);
        if (!button) return fail("reply OK, Yes or No");
        step.kind = Kind::Reply;
        step.reply = *button;
        return true;
    }

    bool start(const Words& w, Step& step) {
        if (started_ || w.hasRest) return fail(started_ ? "second start" : "start takes nothing");
        started_ = true;
        step.kind = Kind::Start;
        return true;
    }

    bool look(int cost) {
        looks_ += cost;
        return looks_ <= kMaxScriptLooks ||
               fail("looks into the game more than " + std::to_string(kMaxScriptLooks) +
                    " times (expect, print, set, run; a dump counts " + std::to_string(kDumpLooks) + ")");
    }

    bool expect(const Words& w, Step& step) {
        if (!look(1)) return false;
        step.kind = Kind::Expect;
        step.name = std::string(w.name);
        step.value = std::string(w.value);
        return true;
    }

    bool input(const Words& w, Step& step) {
        auto input = parseInput(w.command, w.rest, why_);
        if (!input) return false;
        step.kind = Kind::Input;
        step.input = std::move(*input);
        return true;
    }

    bool wait(const Words& w, Step& step) {
        step.kind = Kind::Wait;
        return gameTime(w.rest, "wait", step);
    }

    bool computer(const Words& w, Step& step) {
        const auto seat = parseSeatChange(w.rest);
        if (!seat) return fail("computer 1|2 easy|average|hard|off");
        step.kind = Kind::Computer;
        step.seat = *seat;
        return true;
    }

    // The test commands reach into the game in ways no player can, so no recorded session holds them.
    bool own(const Words& w, Step& step) {
        if (dialect_ == Dialect::Session)
            return fail(std::string(w.command) + " is for test scenarios, not a recorded session");
        step.kind = Kind::Own;
        step.command = std::string(w.command);
        step.rest = std::string(w.rest);
        step.name = std::string(w.name);
        step.value = std::string(w.value);
        step.hasRest = w.hasRest;
        if (w.command == "dump" && w.hasRest) return fail("dump takes nothing");
        if (w.command == "autoplay") return gameTime(w.rest, "autoplay", step);
        return look(w.command == "dump" ? kDumpLooks : 1);
    }

    std::string_view text_;
    Dialect dialect_;
    std::size_t pos_ = 0;
    bool started_ = false;
    int line_ = 0;
    std::int64_t totalMs_ = 0;
    int looks_ = 0;
    std::string why_;
};

std::string describe(const ScriptError& error) {
    return error.line == 0 ? error.why : "line " + std::to_string(error.line) + ": " + error.why;
}

std::variant<Script, ScriptError> readScript(std::string_view text, Dialect dialect) {
    Script script;
    StepReader steps(text, dialect);
    Step step;
    std::optional<ScriptError> error;
    while (steps.next(step, error)) {
        if (step.kind == Step::Kind::Seed) script.seed = static_cast<std::uint64_t>(step.ms);
        if (step.kind == Step::Kind::Record)
            script.records.push_back({step.name, step.value, step.hasRest, step.line});
        script.starts |= step.kind == Step::Kind::Start;
        if (step.kind == Step::Kind::Wait || step.command == "autoplay") script.gameMs += step.ms;
    }
    if (error) return *error;
    if (!script.starts && dialect == Dialect::Session)
        return ScriptError{0, {}, "not a recorded session: it never starts the game"};
    script.text = text;
    script.dialect = dialect;
    return script;
}

std::variant<Script, ScriptError> readScriptFile(const std::filesystem::path& file, Dialect dialect) {
    std::string why;
    const auto text = readScenarioText(file, why);
    if (!text) return ScriptError{0, {}, why};
    return readScript(*text, dialect);
}

ScriptSteps::ScriptSteps(const Script& script)
    : reader_(std::make_unique<StepReader>(script.text, script.dialect)) {}

ScriptSteps::~ScriptSteps() = default;

bool ScriptSteps::next(Step& step) {
    std::optional<ScriptError> judged; // the script was judged whole before it came here
    return reader_->next(step, judged);
}

ScriptPlayer::ScriptPlayer(Game& game, BoxAnswers& boxes, const Script& script)
    : g_(game), boxes_(boxes), script_(script), seated_(game), steps_(script) {}

ScriptPlayer::~ScriptPlayer() = default;

bool ScriptPlayer::playUntil(std::int64_t target, const Witness& witness) {
    using Kind = Step::Kind;
    // A wait under way is the step in hand; any other step is read afresh.
    while (!stopped_ && (waitEnd_ || steps_.next(step_))) {
        const Step& step = step_;
        // Once the program has ended only the looks at it still count.
        if (g_.exited && step.when == When::Playing) {
            waitEnd_.reset();
            continue;
        }
        if (step.kind == Kind::Seed || step.kind == Kind::Record)
            continue; // the script's before anything plays
        if (step.kind == Kind::Wait) {
            if (!waitEnd_) waitEnd_ = g_.clock.now + step.ms;
            if (target < *waitEnd_) {
                seated_.advance(target);
                return true;
            }
            seated_.advance(*waitEnd_);
            waitEnd_.reset();
        } else {
            play(step);
        }
        if (witness && !witness(step)) stopped_ = true;
    }
    return false;
}

void ScriptPlayer::replay(const Step& step) {
    if (g_.exited && step.when == When::Playing) return;
    if (step.kind == Step::Kind::Wait)
        seated_.advance(g_.clock.now + step.ms);
    else
        play(step);
}

void ScriptPlayer::play(const Step& step) {
    switch (step.kind) {
    case Step::Kind::Answer:
        boxes_.answers.push_back(step.answer);
        break;
    case Step::Kind::Reply:
        boxes_.replies.push_back(step.reply);
        break;
    case Step::Kind::Start:
        startUp(g_);
        break;
    case Step::Kind::Input:
        applyInput(g_, step.input);
        break;
    case Step::Kind::Computer:
        seated_.seats.set(step.seat.player, step.seat.skill, script_.seed);
        break;
    default:
        break; // a wait is the caller's; the looks and the test commands are the witness's
    }
}

std::optional<ScriptError> writeRecords(const Script& script, const std::filesystem::path& folder) {
    for (const StoredRecord& record : script.records)
        if (!writeStoredRecord(folder, record))
            return ScriptError{record.line, {}, "cannot write " + record.name};
    return std::nullopt;
}

std::vector<std::string> endDifferences(const Script& script, const Game& g) {
    std::map<std::string, std::string, std::less<>> shown;
    for (auto& [name, value] : shownAtEnd(g))
        shown[name] = value;
    std::vector<std::string> differences;
    ScriptSteps steps(script);
    Step step;
    while (steps.next(step)) {
        const auto it = shown.find(step.name);
        if (step.kind == Step::Kind::Expect && it != shown.end() && it->second != step.value)
            differences.push_back(step.name + " is " + it->second + ", the recording says " + step.value);
    }
    return differences;
}

} // namespace squeakrun
