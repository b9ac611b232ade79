#include "headless/scenario.h"

#include "headless/autoplay.h"
#include "headless/headless_platform.h"
#include "headless/names.h"
#include "headless/temp_folder.h"
#include "records/record_file.h"
#include "rules/events.h"
#include "rules/lifecycle/shared_steps.h"
#include "rules/ticks.h"
#include "session/inputs.h"
#include "session/session_file.h"
#include "window/random.h"

#include <cstdlib>
#include <memory>
#include <utility>

namespace squeakrun {

namespace {

class Runner {
  public:
    Runner(const std::string& label, std::ostream& out) : label_(label), out_(out) {}

    ScenarioStatus run(std::string_view text) {
        std::size_t pos = 0;
        while (pos <= text.size() && status_ == ScenarioStatus::Passed) {
            std::size_t end = text.find('\n', pos);
            if (end == std::string_view::npos) end = text.size();
            std::string_view line = text.substr(pos, end - pos);
            if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
            ++lineNumber_;
            if (!line.empty() && line[0] != '#') execute(std::string(line));
            if (end == text.size()) break;
            pos = end + 1;
        }
        return status_;
    }

  private:
    void malformed(const std::string& line, const std::string& why) {
        out_ << "MALFORMED " << label_ << ':' << lineNumber_ << ": " << line << " (" << why << ")\n";
        status_ = ScenarioStatus::Malformed;
    }

    void checkPlatformFault(const std::string& line) {
        if (platform_.fault && status_ == ScenarioStatus::Passed) malformed(line, *platform_.fault);
    }

    std::optional<Value> read(const std::string& name) {
        if (name == "clock") return Value(Count(game_ ? game_->clock.now : 0));
        if (name == "count.message") return Value(Count(platform_.messageCount));
        if (name == "count.input") return Value(Count(platform_.inputCount));
        if (name == "exited") return Value(game_ && game_->exited);
        if (name == "last.message") return Value(platform_.lastMessage);
        if (name == "last.title") return Value(platform_.lastTitle);
        if (name == "last.prompt") return Value(platform_.lastPrompt);
        // Looking at the cues heard so far starts the list afresh, so each check hears what came since
        // the one before.
        if (name == "sounds") return Value(takeSounds());
        if (name.rfind("file:", 0) == 0) {
            std::string file = name.substr(5);
            if (!plainFileName(file)) return std::nullopt;
            return Value(loadRecordFile(folder_.path() / file));
        }
        if (!game_) return std::nullopt;
        auto it = fields_.find(name);
        if (it == fields_.end()) return std::nullopt;
        return it->second.get();
    }

    std::string takeSounds() {
        std::string names;
        for (Cue cue : std::exchange(platform_.heard, {})) {
            if (!names.empty()) names += ' ';
            names += cueName(cue);
        }
        return names;
    }

    bool formLoaded(int form) const {
        switch (form) {
        case 2:
            return game_->about.loaded;
        case 3:
            return game_->settings.loaded;
        case 4:
            return game_->scores.loaded;
        default:
            return true;
        }
    }

    // One line of a scenario, split: COMMAND REST, and REST as NAME VALUE. The value is the rest of
    // the line, so a name with nothing after it has the empty value, with or without a blank.
    struct Line {
        std::string text, command, rest, name, value;
        bool hasRest = false, hasValue = false;
    };

    // When a command may come: only before start, at any time, once a game was started, or while
    // the game runs (after the program ended such a command does nothing).
    enum class When { BeforeStart, Anytime, Started, Playing };
    struct Command {
        std::string_view word;
        When when;
        void (Runner::*run)(const Line&);
    };
    void execute(const std::string& text) {
        Line line;
        line.text = text;
        const std::size_t space = text.find(' ');
        line.command = text.substr(0, space);
        line.hasRest = space != std::string::npos;
        if (line.hasRest) line.rest = text.substr(space + 1);
        const std::size_t split = line.rest.find(' ');
        line.name = line.rest.substr(0, split);
        line.hasValue = split != std::string::npos;
        if (line.hasValue) line.value = line.rest.substr(split + 1);

        // Adding a command is a row here and its function below.
        static constexpr Command kCommands[] = {
            {"seed", When::BeforeStart, &Runner::seed},       {"file", When::BeforeStart, &Runner::file},
            {"rawfile", When::BeforeStart, &Runner::rawfile}, {"answer", When::Anytime, &Runner::answer},
            {"reply", When::Anytime, &Runner::reply},         {"start", When::Anytime, &Runner::start},
            {"expect", When::Started, &Runner::expect},       {"print", When::Started, &Runner::print},
            {"dump", When::Started, &Runner::dump},           {"key", When::Playing, &Runner::input},
            {"click", When::Playing, &Runner::input},         {"menu", When::Playing, &Runner::input},
            {"type", When::Playing, &Runner::input},          {"select", When::Playing, &Runner::input},
            {"wait", When::Playing, &Runner::wait},           {"computer", When::Playing, &Runner::computer},
            {"run", When::Playing, &Runner::runHandler},      {"set", When::Playing, &Runner::set},
            {"autoplay", When::Playing, &Runner::autoplay},
        };
        static constexpr Command kUnknown = {"", When::Playing, &Runner::unknown};
        const Command* command = &kUnknown;
        for (const Command& c : kCommands)
            if (c.word == line.command) command = &c;
        if (command->when == When::BeforeStart && game_)
            return malformed(text, line.command + " comes before start");
        if ((command->when == When::Started || command->when == When::Playing) && !game_)
            return malformed(text, "only seed, file, rawfile, answer and reply come before start");
        if (command->when == When::Playing && game_->exited) return; // the program has ended
        (this->*command->run)(line);
        if (command->when != When::Playing || status_ != ScenarioStatus::Passed) return;
        checkPlatformFault(text);
    }

    void unknown(const Line& line) { malformed(line.text, "unknown command " + line.command); }

    void seed(const Line& line) {
        auto v = wholeCount(line.rest);
        if (!v || *v < 0) return malformed(line.text, "seed needs a whole number");
        seed_ = static_cast<std::uint64_t>(*v);
    }

    // "file NAME TEXT" writes a record file as the game writes one; "rawfile NAME TEXT" writes the
    // bytes the escaped text stands for, to give the game files it would never write itself.
    bool fileNamed(const Line& line) {
        if (line.hasValue && plainFileName(line.name)) return true;
        malformed(line.text, line.command + " NAME TEXT");
        return false;
    }
    void file(const Line& line) {
        if (fileNamed(line) && !saveRecordFile(folder_.path() / line.name, line.value))
            malformed(line.text, "cannot write " + line.name);
    }
    void rawfile(const Line& line) {
        if (!fileNamed(line)) return;
        if (!writeStoredRecord(folder_.path(), {line.name, line.value, true}))
            malformed(line.text, "bad escape in rawfile text");
    }

    void answer(const Line& line) {
        platform_.answers.push_back(line.hasRest ? std::optional<std::string>(line.rest) : std::nullopt);
    }

    void reply(const Line& line) {
        const auto button = buttonNamed(line.rest);
        if (!button) return malformed(line.text, "reply OK, Yes or No");
        platform_.replies.push_back(*button);
    }

    void start(const Line& line) {
        if (game_ || line.hasRest)
            return malformed(line.text, game_ ? "second start" : "start takes nothing");
        startGame();
        checkPlatformFault(line.text);
    }

    void expect(const Line& line) {
        auto actual = read(line.name);
        if (!actual) return malformed(line.text, "unknown name " + line.name);
        auto match = valueMatches(*actual, line.value);
        if (!match) return malformed(line.text, "value of the wrong kind for " + line.name);
        if (!*match) {
            out_ << "FAIL " << label_ << ':' << lineNumber_ << ": " << line.name << " is "
                 << formatValue(*actual) << ", expected " << line.value << '\n';
            status_ = ScenarioStatus::Failed;
        }
    }

    void print(const Line& line) {
        auto actual = read(line.rest);
        if (!actual) return malformed(line.text, "unknown name " + line.rest);
        out_ << line.rest << " = " << formatValue(*actual) << '\n';
    }

    void dump(const Line& line) {
        if (line.hasRest) return malformed(line.text, "dump takes nothing");
        for (auto& [fieldName, field] : fields_)
            if (formLoaded(field.form)) out_ << fieldName << " = " << formatValue(field.get()) << '\n';
    }

    // A player's input takes the path the window's inputs take.
    void input(const Line& line) {
        std::string why;
        const auto input = parseInput(line.command, line.rest, why);
        if (!input) return malformed(line.text, why);
        if (!applyInput(*game_, *input)) malformed(line.text, "no entry " + line.value);
    }

    void wait(const Line& line) {
        auto ms = wholeCount(line.rest);
        if (!ms || *ms < 0) return malformed(line.text, "wait needs milliseconds");
        advanceWithComputer(*game_, seats_, game_->clock.now + *ms);
    }

    // "computer N SKILL": from now on the computer drives player N's car (off: nobody does).
    void computer(const Line& line) {
        const std::optional<SeatChange> change = parseSeatChange(line.rest);
        if (!change) return malformed(line.text, "computer 1|2 easy|average|hard|off");
        seats_.set(change->player, change->skill, seed_);
    }

    void runHandler(const Line& line) {
        auto handler = handlerNamed(line.rest);
        if (!handler) return malformed(line.text, "no handler " + line.rest);
        handler(*game_);
    }

    void set(const Line& line) {
        auto it = fields_.find(line.name);
        if (it == fields_.end()) return malformed(line.text, "unknown name " + line.name);
        if (!it->second.set(line.value))
            return malformed(line.text, "value of the wrong kind for " + line.name);
    }

    void autoplay(const Line& line) {
        auto ms = wholeCount(line.rest);
        if (!ms || *ms < 0) return malformed(line.text, "autoplay needs milliseconds");
        AutoplayOptions options;
        options.seed = seed_;
        options.seats = &seats_;
        squeakrun::autoplay(*game_, platform_, *ms, options);
    }

    void startGame() {
        game_ = std::make_unique<Game>(platform_, seed_);
        fields_ = gameFields(*game_);
        startUp(*game_);
    }

    using Handler = void (*)(Game&);
    static Handler handlerNamed(const std::string& name) {
        for (int n = 1; n <= 8; ++n)
            if (name == "Form1_Timer" + std::to_string(n) + "_Timer") return tickHandler(n - 1);
        if (name == "undead") return reviveCrashedCars;
        if (name == "dead") return endGame;
        return nullptr;
    }

    std::string label_;
    std::ostream& out_;
    TempFolder folder_;
    HeadlessPlatform platform_{folder_.path(), &out_};
    std::uint64_t seed_ = 1;
    std::unique_ptr<Game> game_;
    ComputerSeats seats_; // the cars the computer drives, from their `computer` line on
    std::map<std::string, Field> fields_;
    int lineNumber_ = 0;
    ScenarioStatus status_ = ScenarioStatus::Passed;
};

} // namespace

ScenarioStatus runScenario(std::string_view text, const std::string& label, std::ostream& out) {
    Runner runner(label, out);
    return runner.run(text);
}

ScenarioStatus runScenarioFile(const std::filesystem::path& file, std::ostream& out) {
    std::string why;
    const auto text = readScenarioText(file, why);
    if (!text) {
        out << "MALFORMED " << file.string() << ": " << why << '\n';
        return ScenarioStatus::Malformed;
    }
    return runScenario(*text, file.string(), out);
}

} // namespace squeakrun
