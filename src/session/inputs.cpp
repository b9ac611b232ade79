#include "session/inputs.h"

#include "rules/events.h"
#include "rules/key_box.h"
#include "rules/main_controls.h"
#include "rules/ui/menus.h"
#include "session/session_file.h"

#include <array>

namespace squeakrun {

namespace {

using Handler = void (*)(Game&);

// The controls a player can click: whether its window is shown, the control, and its handler.
struct Clickable {
    std::string_view name;
    bool (*windowShown)(const Game&);
    const Control& (*control)(const Game&);
    Handler handler;
};

bool mainWindowShown(const Game&) {
    return true;
}
bool aboutShown(const Game& g) {
    return g.about.loaded && g.about.visible;
}
bool settingsShown(const Game& g) {
    return g.settings.loaded && g.settings.visible;
}
bool scoresShown(const Game& g) {
    return g.scores.loaded && g.scores.visible;
}

const std::array<Clickable, 8> kClickable = {{
    {"Command3", mainWindowShown, [](const Game& g) -> const Control& { return g.window.startButton; },
     pressStartButton},
    {"Picture2", mainWindowShown, [](const Game& g) -> const Control& { return g.window.playfield; },
     clickPlayfield},
    {"lblp1gas", mainWindowShown, [](const Game& g) -> const Control& { return g.window.player1Gas; },
     clickPlayer1Gas},
    {"lblp2gas", mainWindowShown, [](const Game& g) -> const Control& { return g.window.player2Gas; },
     clickPlayer2Gas},
    {"Form2.Command1", aboutShown, [](const Game& g) -> const Control& { return g.about.okButton; },
     closeAbout},
    {"Form3.cmdupdate", settingsShown, [](const Game& g) -> const Control& { return g.settings.applyButton; },
     applySettings},
    {"Form3.cmdcancel", settingsShown,
     [](const Game& g) -> const Control& { return g.settings.cancelButton; }, cancelSettings},
    {"Form4.Command1", scoresShown, [](const Game& g) -> const Control& { return g.scores.backButton; },
     closeHighScores},
}};

const Clickable* clickable(std::string_view name) {
    for (const Clickable& c : kClickable)
        if (c.name == name) return &c;
    return nullptr;
}

// The Game Settings boxes a player types into, and its one list.
const std::array<std::pair<std::string_view, Control SettingsWindow::*>, 2> kNameBoxes = {{
    {"Form3.txtp1name", &SettingsWindow::player1NameBox},
    {"Form3.txtp2name", &SettingsWindow::player2NameBox},
}};
Control SettingsWindow::*nameBox(std::string_view name) {
    for (const auto& [boxName, box] : kNameBoxes)
        if (boxName == name) return box;
    return nullptr;
}
constexpr std::string_view kDifficultyList = "Form3.Combo1";

// The menu bar's control called `name` (a menu or one of its entries), or null.
Control MainWindow::*menuControl(std::string_view name) {
    for (const MainControl& c : kMainControls)
        if (c.shown == Shown::Menu && c.scenarioName == name) return c.member;
    return nullptr;
}

bool reachable(const Game& g, const Control& c) {
    return settingsShown(g) && c.visible && c.enabled;
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
        if (rest.empty()) why = "key needs a character";
        return rest.empty() ? std::nullopt : std::optional(Input::key(std::string(rest)));
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
        if (name != kDifficultyList) {
            why = "unknown list " + std::string(name);
            return std::nullopt;
        }
        const auto index = wholeCount(value);
        if (index && *index >= 0 && *index < 1'000'000'000)
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
        return "key " + input.name;
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
        if (const Clickable* c = clickable(input.name);
            c && c->windowShown(g) && c->control(g).visible && c->control(g).enabled)
            c->handler(g);
        break;
    case InputKind::Type:
        if (const auto box = nameBox(input.name); box && reachable(g, g.settings.*box))
            (g.settings.*box).text = input.text;
        break;
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
        return Input::menu("mnuFilePause");
    }
    }
    return input;
}

} // namespace squeakrun
