#include "session/inputs.h"

#include "rules/events.h"
#include "rules/key_box.h"
#include "rules/main_controls.h"
#include "rules/ui/menus.h"
#include "session/session_file.h"

#include <vector>

namespace squeakrun {

namespace {

using Handler = void (*)(Game&);

// The controls a player can click: its name, the control while its window is shown (or null), and
// what clicking it does.
struct Clickable {
    std::string name;
    const Control* (*control)(const Game&);
    Handler handler;
};

bool windowShown(const MainWindow&) {
    return true;
}
template <class Window> bool windowShown(const Window& w) {
    return w.loaded && w.visible;
}

template <auto window, auto member> Clickable clickable(Handler handler) {
    return {controlName(member),
            [](const Game& g) { return windowShown(g.*window) ? &(g.*window.*member) : nullptr; }, handler};
}

const std::vector<Clickable>& clickables() {
    static const std::vector<Clickable> list = {
        clickable<&GameState::window, &MainWindow::startButton>(pressStartButton),
        clickable<&GameState::window, &MainWindow::playfield>(clickPlayfield),
        clickable<&GameState::window, &MainWindow::player1Gas>(clickPlayer1Gas),
        clickable<&GameState::window, &MainWindow::player2Gas>(clickPlayer2Gas),
        clickable<&GameState::about, &AboutWindow::okButton>(closeAbout),
        clickable<&GameState::settings, &SettingsWindow::applyButton>(applySettings),
        clickable<&GameState::settings, &SettingsWindow::cancelButton>(cancelSettings),
        clickable<&GameState::scores, &ScoresWindow::backButton>(closeHighScores),
    };
    return list;
}

const Clickable* clickable(std::string_view name) {
    for (const Clickable& c : clickables())
        if (c.name == name) return &c;
    return nullptr;
}

// The Game Settings boxes a player types into.
Control SettingsWindow::*nameBox(std::string_view name) {
    for (Control SettingsWindow::*box : {&SettingsWindow::player1NameBox, &SettingsWindow::player2NameBox})
        if (controlName(box) == name) return box;
    return nullptr;
}

// The menu bar's control called `name` (a menu or one of its entries), or null.
Control MainWindow::*menuControl(std::string_view name) {
    for (const MainControl& c : kMainControls)
        if (c.shown == Shown::Menu && c.scenarioName == name) return c.member;
    return nullptr;
}

bool reachable(const Game& g, const Control& c) {
    return windowShown(g.settings) && c.visible && c.enabled;
}

} // namespace

std::optional<SeatChange> parseSeatChange(std::string_view rest) {
    const std::size_t split = rest.find(' ');
    if (split == std::string_view::npos) return std::nullopt;
    const std::string_view player = rest.substr(0, split), word = rest.substr(split + 1);
    if (player != "1" && player != "2") return std::nullopt;
    const std::optional<Skill> skill = skillNamed(word);
    if (!skill && word != "off") return std::nullopt;
    return SeatChange{player == "1" ? 0 : 1, skill};
}

std::string seatChangeLine(const SeatChange& change) {
    return "computer " + std::to_string(change.player + 1) + ' ' +
           std::string(change.skill ? skillWord(*change.skill) : "off");
}

bool isInputCommand(std::string_view command) {
    return command == "key" || command == "menu" || command == "click" || command == "type" ||
           command == "select";
}

std::optional<Input> parseInput(std::string_view command, std::string_view rest, std::string& why) {
    const std::size_t split = rest.find(' ');
    const std::string_view name = rest.substr(0, split);
    const std::string_view value =
        split == std::string_view::npos ? std::string_view() : rest.substr(split + 1);
    if (command == "key") {
        auto key = keyFromText(rest);
        if (key && !key->empty()) return Input::key(std::move(*key));
        why = rest.empty() ? "key needs a character" : "bad escape in key";
        return std::nullopt;
    }
    if (command == "menu") {
        if (menuControl(rest)) return Input::menu(std::string(rest));
        why = "unknown menu entry " + std::string(rest);
    } else if (command == "click") {
        if (clickable(rest)) return Input::click(std::string(rest));
        why = "unknown control " + std::string(rest);
    } else if (command == "type") {
        if (nameBox(name)) return Input::type(std::string(name), std::string(value));
        why = "unknown text box " + std::string(name);
    } else if (command == "select") {
        if (name != controlName(&SettingsWindow::difficultyList)) {
            why = "unknown list " + std::string(name);
            return std::nullopt;
        }
        const auto index = wholeCount(value);
        if (index && *index >= 0 && *index < static_cast<long long>(kDifficulties.size()))
            return Input::select(std::string(name), static_cast<int>(*index));
        why = "no entry " + std::string(value);
    } else {
        why = "not an input: " + std::string(command);
    }
    return std::nullopt;
}

std::string inputLine(const Input& input) {
    switch (input.kind) {
    case InputKind::Key:
        return "key " + keyText(input.name);
    case InputKind::Menu:
        return "menu " + input.name;
    case InputKind::Click:
        return "click " + input.name;
    case InputKind::Type:
        return "type " + input.name + " " + input.text;
    case InputKind::Select:
        return "select " + input.name + " " + std::to_string(input.index);
    case InputKind::SwitchAway:
        break;
    }
    return {}; // switching away is said by what it caused
}

std::optional<Input> applyInput(Game& g, const Input& input) {
    switch (input.kind) {
    case InputKind::Key:
        pressKey(g, input.name);
        break;
    case InputKind::Menu:
        // Opening a menu on the menu bar does nothing by itself: only its entries have a handler.
        if (const auto member = menuControl(input.name)) {
            const MenuEntry* entry = menuEntry(member);
            if (entry && g.control(member).enabled) entry->handler(g);
        }
        break;
    case InputKind::Click:
        if (const Clickable* c = clickable(input.name)) {
            const Control* control = c->control(g);
            if (control && control->visible && control->enabled) c->handler(g);
        }
        break;
    case InputKind::Type: {
        // A name box holds one line; what the game keeps of a pasted text is what the recording says.
        const std::string text(sayableLine(input.text));
        if (const auto box = nameBox(input.name); box && reachable(g, g.settings.*box))
            (g.settings.*box).text = text;
        return Input::type(input.name, text);
    }
    case InputKind::Select: {
        Control& list = g.settings.difficultyList;
        if (input.index < 0 || input.index >= static_cast<int>(list.items.size())) return std::nullopt;
        if (reachable(g, list)) list.listIndex = input.index;
        break;
    }
    case InputKind::SwitchAway: {
        const bool wasPaused = g.paused;
        leaveForAnotherApplication(g);
        if (g.paused == wasPaused) return std::nullopt;
        return Input::menu(controlName(&MainWindow::pauseEntry));
    }
    }
    return input;
}

} // namespace squeakrun
