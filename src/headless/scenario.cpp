#include "headless/scenario.h"

#include "headless/autoplay.h"
#include "headless/headless_platform.h"
#include "headless/names.h"
#include "headless/temp_folder.h"
#include "records/record_file.h"
#include "rules/events.h"
#include "rules/key_box.h"
#include "rules/lifecycle/shared_steps.h"
#include "rules/ticks.h"
#include "rules/ui/menus.h"
#include "window/numbers.h"
#include "window/random.h"

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <utility>

namespace squeakrun {

namespace {

std::optional<std::string> unescape(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            out += text[i];
            continue;
        }
        if (++i >= text.size()) return std::nullopt;
        switch (text[i]) {
        case 'r':
            out += '\r';
            break;
        case 'n':
            out += '\n';
            break;
        case 't':
            out += '\t';
            break;
        case '\\':
            out += '\\';
            break;
        case 'x': {
            if (i + 2 >= text.size()) return std::nullopt;
            unsigned value = 0;
            for (int k = 1; k <= 2; ++k) {
                char c = text[i + k];
                value <<= 4;
                if (c >= '0' && c <= '9')
                    value |= unsigned(c - '0');
                else if (c >= 'a' && c <= 'f')
                    value |= unsigned(c - 'a' + 10);
                else if (c >= 'A' && c <= 'F')
                    value |= unsigned(c - 'A' + 10);
                else
                    return std::nullopt;
            }
            out += static_cast<char>(value);
            i += 2;
            break;
        }
        default:
            return std::nullopt;
        }
    }
    return out;
}

// A skill of the `computer` command: an empty one for "off", none at all for a word it does not know.
std::optional<std::optional<Skill>> skillNamed(std::string_view word) {
    if (word == "easy") return Skill::Easy;
    if (word == "average") return Skill::Average;
    if (word == "hard") return Skill::Hard;
    if (word == "off") return std::optional<Skill>{};
    return std::nullopt;
}

std::optional<long long> wholeCount(std::string_view text) {
    auto v = wholeNumber(text);
    if (!v || *v != std::trunc(*v) || std::fabs(*v) > 1e15) return std::nullopt;
    return static_cast<long long>(*v);
}

// A file name inside the application folder: no folders, no way out of it.
bool plainFileName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos &&
           name.find('\0') == std::string_view::npos;
}

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
            {"dump", When::Started, &Runner::dump},           {"key", When::Playing, &Runner::key},
            {"click", When::Playing, &Runner::click},         {"menu", When::Playing, &Runner::menu},
            {"type", When::Playing, &Runner::type},           {"select", When::Playing, &Runner::select},
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
        auto bytes = unescape(line.value);
        if (!bytes) return malformed(line.text, "bad escape in rawfile text");
        std::ofstream(folder_.path() / line.name, std::ios::binary) << *bytes;
    }

    void answer(const Line& line) {
        platform_.answers.push_back(line.hasRest ? std::optional<std::string>(line.rest) : std::nullopt);
    }

    void reply(const Line& line) {
        if (line.rest == "OK")
            platform_.replies.push_back(Button::OK);
        else if (line.rest == "Yes")
            platform_.replies.push_back(Button::Yes);
        else if (line.rest == "No")
            platform_.replies.push_back(Button::No);
        else
            malformed(line.text, "reply OK, Yes or No");
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

    void key(const Line& line) {
        if (line.rest.empty()) return malformed(line.text, "key needs a character");
        pressKey(*game_, line.rest);
    }

    void type(const Line& line) {
        Control* box = line.name == "Form3.txtp1name"   ? &game_->settings.player1NameBox
                       : line.name == "Form3.txtp2name" ? &game_->settings.player2NameBox
                                                        : nullptr;
        if (!box) return malformed(line.text, "unknown text box " + line.name);
        if (game_->settings.loaded && game_->settings.visible && box->visible && box->enabled)
            box->text = line.value;
    }

    void select(const Line& line) {
        if (line.name != "Form3.Combo1") return malformed(line.text, "unknown list " + line.name);
        Control& list = game_->settings.difficultyList;
        auto index = wholeCount(line.value);
        if (!index || *index < 0 || *index >= static_cast<long long>(list.items.size()))
            return malformed(line.text, "no entry " + line.value);
        if (game_->settings.loaded && game_->settings.visible && list.visible && list.enabled)
            list.listIndex = static_cast<int>(*index);
    }

    void wait(const Line& line) {
        auto ms = wholeCount(line.rest);
        if (!ms || *ms < 0) return malformed(line.text, "wait needs milliseconds");
        advanceWithComputer(*game_, seats_, game_->clock.now + *ms);
    }

    // "computer N SKILL": from now on the computer drives player N's car (off: nobody does).
    void computer(const Line& line) {
        const std::optional<std::optional<Skill>> skill = skillNamed(line.value);
        if ((line.name != "1" && line.name != "2") || !skill)
            return malformed(line.text, "computer 1|2 easy|average|hard|off");
        const int player = line.name == "1" ? 0 : 1;
        seats_.set(player, *skill, seed_ * 2 + static_cast<std::uint64_t>(player));
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

    void click(const Line& line) {
        if (!clickControl(line.rest)) malformed(line.text, "unknown control " + line.rest);
    }
    bool clickControl(const std::string& name) {
        Game& g = *game_;
        auto clickIf = [&](bool windowShown, const Control& c, Handler h) {
            if (windowShown && c.visible && c.enabled) h(g);
            return true;
        };
        if (name == "Command3") return clickIf(true, g.window.startButton, pressStartButton);
        if (name == "Picture2") return clickIf(true, g.window.playfield, clickPlayfield);
        if (name == "lblp1gas") return clickIf(true, g.window.player1Gas, clickPlayer1Gas);
        if (name == "lblp2gas") return clickIf(true, g.window.player2Gas, clickPlayer2Gas);
        if (name == "Form2.Command1")
            return clickIf(g.about.loaded && g.about.visible, g.about.okButton, closeAbout);
        if (name == "Form3.cmdupdate")
            return clickIf(g.settings.loaded && g.settings.visible, g.settings.applyButton, applySettings);
        if (name == "Form3.cmdcancel")
            return clickIf(g.settings.loaded && g.settings.visible, g.settings.cancelButton, cancelSettings);
        if (name == "Form4.Command1")
            return clickIf(g.scores.loaded && g.scores.visible, g.scores.backButton, closeHighScores);
        return false;
    }

    void menu(const Line& line) {
        Game& g = *game_;
        for (const MainControl& c : kMainControls) {
            if (c.shown != Shown::Menu || c.scenarioName != line.rest) continue;
            // Opening a menu on the menu bar does nothing by itself.
            const MenuEntry* entry = menuEntry(c.member);
            if (entry && g.control(c.member).enabled) entry->handler(g);
            return;
        }
        malformed(line.text, "unknown menu entry " + line.rest);
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
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        out << "MALFORMED " << file.string() << ": cannot read the file\n";
        return ScenarioStatus::Malformed;
    }
    std::stringstream text;
    text << in.rdbuf();
    return runScenario(text.str(), file.string(), out);
}

} // namespace squeakrun
