#include "headless/scenario.h"

#include "headless/autoplay.h"
#include "headless/headless_platform.h"
#include "headless/names.h"
#include "headless/temp_folder.h"
#include "net/signature.h"
#include "records/record_file.h"
#include "rules/events.h"
#include "rules/lifecycle/shared_steps.h"
#include "rules/ticks.h"
#include "session/script.h"

#include <deque>
#include <memory>
#include <sstream>
#include <utility>

namespace squeakrun {

namespace {

class Runner {
  public:
    Runner(const std::string& label, std::ostream& out, int rollback)
        : label_(label), out_(out), rollback_(rollback) {}

    ScenarioStatus run(std::string_view text) {
        auto read = readScript(text, Dialect::Test);
        if (const auto* error = std::get_if<ScriptError>(&read)) return malformed(*error);
        const Script& script = std::get<Script>(read);
        if (const auto error = writeRecords(script, folder_.path())) return malformed(*error);
        seed_ = script.seed;
        if (!script.starts) return status_;
        game_ = std::make_unique<Game>(platform_, seed_);
        fields_ = gameFields(*game_);
        ScriptPlayer player(*game_, platform_, script);
        seated_ = &player.seated();
        player_ = &player;
        history_.push_back(moment());
        player.playAll([this](const Step& step) { return witness(step); });
        return status_;
    }

  private:
    ScenarioStatus malformed(const ScriptError& error) {
        out_ << "MALFORMED " << label_;
        if (error.line > 0) out_ << ':' << error.line;
        out_ << ": ";
        if (!error.text.empty())
            out_ << error.text << " (" << error.why << ")\n";
        else
            out_ << error.why << '\n';
        return status_ = ScenarioStatus::Malformed;
    }
    void malformed(const Step& step, const std::string& why) {
        malformed(ScriptError{step.line, step.text, why});
    }

    // What the runner does itself: checking and printing values, setting them, calling a handler,
    // random play; and whether a box was answered with a button it does not have.
    bool witness(const Step& step) {
        using Kind = Step::Kind;
        if (step.kind == Kind::Expect) expect(step);
        if (step.kind == Kind::Own) own(step);
        if (platform_.fault && status_ == ScenarioStatus::Passed &&
            (step.kind == Kind::Start || step.when == When::Playing))
            malformed(step, *platform_.fault);
        if (rollback_ > 0 && status_ == ScenarioStatus::Passed) rollBack(step);
        return status_ == ScenarioStatus::Passed;
    }

    void own(const Step& step) {
        static constexpr std::pair<std::string_view, void (Runner::*)(const Step&)> kOwn[] = {
            {"print", &Runner::print},    {"dump", &Runner::dump},         {"set", &Runner::set},
            {"run", &Runner::runHandler}, {"autoplay", &Runner::autoplay},
        };
        // Played again after a rollback, a step changes the game as it did, and shows nothing twice.
        if (replaying_ && (step.command == "print" || step.command == "dump")) return;
        for (const auto& [word, run] : kOwn)
            if (word == step.command) (this->*run)(step);
    }

    // Everything a step may change: the game's value, the computer's seats and the platform's boxes,
    // counts and sounds; and the step that came next.
    struct Moment {
        GameState game;
        ComputerSeats seats;
        HeadlessPlatform platform;
        Step next;
    };
    Moment moment() const { return {*game_, seated_->seats, platform_, {}}; }

    // The game goes back rollback_ steps, to a copy of what it was, and plays them again: it must come
    // back to the very game it left, or something the game depends on lives outside what is copied.
    void rollBack(const Step& step) {
        history_.back().next = step;
        if (static_cast<int>(history_.size()) == rollback_) {
            const std::uint64_t signature = gameSignature(*game_);
            const std::string shown = dumpText();
            const Moment& from = history_.front();
            static_cast<GameState&>(*game_) = from.game;
            seated_->seats = from.seats;
            // What was heard and logged was heard once: the steps played again are silent.
            std::vector<Cue> heard = std::move(platform_.heard);
            platform_ = from.platform;
            std::ostream* const log = std::exchange(platform_.log, nullptr);
            replaying_ = true;
            for (const Moment& m : history_) {
                player_->replay(m.next);
                if (m.next.kind == Step::Kind::Own) own(m.next);
            }
            replaying_ = false;
            platform_.log = log;
            platform_.heard = std::move(heard);
            if (gameSignature(*game_) != signature || dumpText() != shown) {
                out_ << "FAIL " << label_ << ':' << step.line << ": played again from " << rollback_
                     << " steps back, the game differs\n";
                status_ = ScenarioStatus::Failed;
            }
            history_.pop_front();
        }
        history_.push_back(moment());
    }

    std::optional<Value> read(const std::string& name) {
        if (name == "clock") return Value(Count(game_->clock.now));
        if (name == "count.message") return Value(Count(platform_.messageCount));
        if (name == "count.input") return Value(Count(platform_.inputCount));
        if (name == "exited") return Value(game_->exited);
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

    // The value of `name`, or nullopt once the line is found malformed for naming nothing.
    std::optional<Value> lookUp(const Step& line, const std::string& name) {
        auto value = read(name);
        if (!value) unknownName(line, name);
        return value;
    }
    void unknownName(const Step& line, const std::string& name) { malformed(line, "unknown name " + name); }
    void wrongKind(const Step& line) { malformed(line, "value of the wrong kind for " + line.name); }

    void expect(const Step& line) {
        const auto actual = lookUp(line, line.name);
        if (!actual) return;
        const auto match = valueMatches(*actual, line.value);
        if (!match) return wrongKind(line);
        if (!*match) {
            out_ << "FAIL " << label_ << ':' << line.line << ": " << line.name << " is "
                 << formatValue(*actual) << ", expected " << line.value << '\n';
            status_ = ScenarioStatus::Failed;
        }
    }

    void print(const Step& line) {
        if (const auto actual = lookUp(line, line.rest))
            out_ << line.rest << " = " << formatValue(*actual) << '\n';
    }

    void dump(const Step&) { writeDump(out_); }
    void writeDump(std::ostream& to) {
        for (auto& [fieldName, field] : fields_)
            if (formLoaded(field.form)) to << fieldName << " = " << formatValue(field.get()) << '\n';
    }
    std::string dumpText() {
        std::ostringstream text;
        writeDump(text);
        return text.str();
    }

    void runHandler(const Step& line) {
        auto handler = handlerNamed(line.rest);
        if (!handler) return malformed(line, "no handler " + line.rest);
        handler(*game_);
    }

    void set(const Step& line) {
        auto it = fields_.find(line.name);
        if (it == fields_.end()) return unknownName(line, line.name);
        if (!it->second.set(line.value)) wrongKind(line);
    }

    void autoplay(const Step& line) {
        AutoplayOptions options;
        options.seed = seed_;
        squeakrun::autoplay(*seated_, platform_, line.ms, options);
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
    SeatedGame* seated_ = nullptr; // the game with the cars the computer drives, the script player's
    ScriptPlayer* player_ = nullptr;
    int rollback_;               // steps to go back and play again after each step; 0 for none
    std::deque<Moment> history_; // the moments before the last steps, each with its step
    bool replaying_ = false;
    std::map<std::string, Field> fields_;
    ScenarioStatus status_ = ScenarioStatus::Passed;
};

} // namespace

ScenarioStatus runScenario(std::string_view text, const std::string& label, std::ostream& out, int rollback) {
    Runner runner(label, out, rollback);
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
