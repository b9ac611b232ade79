#include "headless/scenario.h"

#include "headless/autoplay.h"
#include "headless/headless_platform.h"
#include "headless/looks.h"
#include "headless/temp_folder.h"
#include "net/signature.h"
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
        if (!script.starts) return looks_.status();
        game_ = std::make_unique<Game>(platform_, seed_);
        looks_.watch(*game_);
        ScriptPlayer player(*game_, platform_, script);
        seated_ = &player.seated();
        player_ = &player;
        history_.push_back(moment());
        player.playAll([this](const Step& step) { return witness(step); });
        return looks_.status();
    }

  private:
    ScenarioStatus malformed(const ScriptError& error) { return looks_.malformed(error); }

    // What the runner does itself: checking and printing values, setting them, calling a handler,
    // random play; and whether a box was answered with a button it does not have.
    bool witness(const Step& step) {
        using Kind = Step::Kind;
        if (step.kind == Kind::Expect) looks_.expect(step);
        if (step.kind == Kind::Own) own(step);
        if (platform_.fault && passing() && (step.kind == Kind::Start || step.when == When::Playing))
            looks_.malformed(step, *platform_.fault);
        if (rollback_ > 0 && passing()) rollBack(step);
        return passing();
    }

    bool passing() const { return looks_.status() == ScenarioStatus::Passed; }

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
            if (gameSignature(*game_) != signature || dumpText() != shown)
                looks_.fail(step.line, "played again from " + std::to_string(rollback_) +
                                           " steps back, the game differs");
            history_.pop_front();
        }
        history_.push_back(moment());
    }

    void print(const Step& line) { looks_.print(line); }
    void set(const Step& line) { looks_.set(line); }
    void dump(const Step&) { looks_.writeDump(out_); }
    std::string dumpText() {
        std::ostringstream text;
        looks_.writeDump(text);
        return text.str();
    }

    void runHandler(const Step& line) {
        auto handler = handlerNamed(line.rest);
        if (!handler) return looks_.malformed(line, "no handler " + line.rest);
        handler(*game_);
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
    ScenarioLooks looks_{label_, out_, platform_, folder_.path()};
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
