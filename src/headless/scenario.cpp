#include "headless/scenario.h"

#include "headless/autoplay.h"
#include "headless/headless_platform.h"
#include "headless/names.h"
#include "headless/temp_folder.h"
#include "records/record_file.h"
#include "rules/events.h"
#include "rules/lifecycle/shared_steps.h"
#include "rules/ticks.h"
#include "rules/ui/menus.h"
#include "rules/window_ops.h"
#include "window/numbers.h"
#include "window/random.h"

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>

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

    void execute(const std::string& line) {
        std::size_t space = line.find(' ');
        std::string command = line.substr(0, space);
        std::string rest = space == std::string::npos ? std::string() : line.substr(space + 1);
        bool hasRest = space != std::string::npos;
        // "NAME VALUE" commands. The value is the rest of the line, so a name with nothing after it
        // has the empty value, with or without a blank.
        std::size_t split = rest.find(' ');
        std::string name = rest.substr(0, split);
        std::string value = split == std::string::npos ? std::string() : rest.substr(split + 1);

        bool beforeStart = !game_;
        if (command == "seed" || command == "file" || command == "rawfile" || command == "answer" ||
            command == "reply") {
            configure(line, command, rest, hasRest, name, value, split != std::string::npos);
            return;
        }
        if (command == "start") {
            if (!beforeStart || hasRest)
                return malformed(line, beforeStart ? "start takes nothing" : "second start");
            startGame();
            return checkPlatformFault(line);
        }
        if (beforeStart)
            return malformed(line, "only seed, file, rawfile, answer and reply come before start");

        if (command == "expect") {
            auto actual = read(name);
            if (!actual) return malformed(line, "unknown name " + name);
            auto match = valueMatches(*actual, value);
            if (!match) return malformed(line, "value of the wrong kind for " + name);
            if (!*match) {
                out_ << "FAIL " << label_ << ':' << lineNumber_ << ": " << name << " is "
                     << formatValue(*actual) << ", expected " << value << '\n';
                status_ = ScenarioStatus::Failed;
            }
            return;
        }
        if (command == "print") {
            auto actual = read(rest);
            if (!actual) return malformed(line, "unknown name " + rest);
            out_ << rest << " = " << formatValue(*actual) << '\n';
            return;
        }
        if (command == "dump") {
            if (hasRest) return malformed(line, "dump takes nothing");
            for (auto& [fieldName, field] : fields_)
                if (formLoaded(field.form)) out_ << fieldName << " = " << formatValue(field.get()) << '\n';
            return;
        }
        if (game_->exited) return; // the program has ended: nothing else happens

        if (command == "key") {
            if (rest.empty()) return malformed(line, "key needs a character");
            pressKey(*game_, rest);
        } else if (command == "click") {
            if (!click(rest)) return malformed(line, "unknown control " + rest);
        } else if (command == "menu") {
            if (!menu(rest)) return malformed(line, "unknown menu entry " + rest);
        } else if (command == "type") {
            Control* box = name == "Form3.txtp1name"   ? &game_->settings.player1NameBox
                           : name == "Form3.txtp2name" ? &game_->settings.player2NameBox
                                                       : nullptr;
            if (!box) return malformed(line, "unknown text box " + name);
            if (game_->settings.loaded && game_->settings.visible && box->visible && box->enabled)
                box->text = value;
        } else if (command == "select") {
            if (name != "Form3.Combo1") return malformed(line, "unknown list " + name);
            Control& list = game_->settings.difficultyList;
            auto index = wholeCount(value);
            if (!index || *index < 0 || *index >= static_cast<long long>(list.items.size()))
                return malformed(line, "no entry " + value);
            if (game_->settings.loaded && game_->settings.visible && list.visible && list.enabled)
                list.listIndex = static_cast<int>(*index);
        } else if (command == "wait") {
            auto ms = wholeCount(rest);
            if (!ms || *ms < 0) return malformed(line, "wait needs milliseconds");
            advanceClock(*game_, game_->clock.now + *ms);
        } else if (command == "run") {
            auto handler = handlerNamed(rest);
            if (!handler) return malformed(line, "no handler " + rest);
            handler(*game_);
        } else if (command == "set") {
            auto it = fields_.find(name);
            if (it == fields_.end()) return malformed(line, "unknown name " + name);
            if (!it->second.set(value)) return malformed(line, "value of the wrong kind for " + name);
        } else if (command == "autoplay") {
            auto ms = wholeCount(rest);
            if (!ms || *ms < 0) return malformed(line, "autoplay needs milliseconds");
            AutoplayOptions options;
            options.seed = seed_;
            autoplay(*game_, platform_, *ms, options);
        } else {
            return malformed(line, "unknown command " + command);
        }
        if (platform_.quitRequested) game_->exited = true;
        checkPlatformFault(line);
    }

    void configure(const std::string& line, const std::string& command, const std::string& rest, bool hasRest,
                   const std::string& name, const std::string& value, bool hasValue) {
        if (game_ && command != "answer" && command != "reply")
            return malformed(line, command + " comes before start");
        if (command == "seed") {
            auto v = wholeCount(rest);
            if (!v || *v < 0) return malformed(line, "seed needs a whole number");
            seed_ = static_cast<std::uint64_t>(*v);
        } else if (command == "answer") {
            platform_.answers.push_back(hasRest ? std::optional<std::string>(rest) : std::nullopt);
        } else if (command == "reply") {
            if (rest == "OK")
                platform_.replies.push_back(Button::OK);
            else if (rest == "Yes")
                platform_.replies.push_back(Button::Yes);
            else if (rest == "No")
                platform_.replies.push_back(Button::No);
            else
                malformed(line, "reply OK, Yes or No");
        } else {
            if (!hasValue || !plainFileName(name)) return malformed(line, command + " NAME TEXT");
            if (command == "file") {
                if (!saveRecordFile(folder_.path() / name, value)) malformed(line, "cannot write " + name);
                return;
            }
            auto bytes = unescape(value);
            if (!bytes) return malformed(line, "bad escape in rawfile text");
            std::ofstream(folder_.path() / name, std::ios::binary) << *bytes;
        }
    }

    void startGame() {
        game_ = std::make_unique<Game>(platform_, seed_);
        fields_ = gameFields(*game_);
        startUp(*game_);
        if (platform_.quitRequested) game_->exited = true;
    }

    using Handler = void (*)(Game&);
    static Handler handlerNamed(const std::string& name) {
        for (int n = 1; n <= 8; ++n)
            if (name == "Form1_Timer" + std::to_string(n) + "_Timer") return tickHandler(n - 1);
        if (name == "undead") return reviveCrashedCars;
        if (name == "dead") return endGame;
        return nullptr;
    }

    bool click(const std::string& name) {
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

    bool menu(const std::string& name) {
        Game& g = *game_;
        if (name == "mnuFile" || name == "mnuHelp") return true; // opening a menu does nothing by itself
        const MenuEntry* entry = menuEntry(name);
        if (!entry) return false;
        if (g.control(entry->control).enabled) entry->handler(g);
        return true;
    }

    std::string label_;
    std::ostream& out_;
    TempFolder folder_;
    HeadlessPlatform platform_{folder_.path(), &out_};
    std::uint64_t seed_ = 1;
    std::unique_ptr<Game> game_;
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
