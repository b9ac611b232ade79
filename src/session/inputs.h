// What a player does to the game, as plain values: a key typed, a menu entry chosen, a control
// clicked, a text box edited, a list entry chosen, switching to another application. The window and
// the scenario runner both apply them through applyInput, so a recorded input and a replayed one take
// the same path into the game.
#pragma once

#include "computer/skills.h"
#include "rules/state.h"

#include <optional>
#include <string>
#include <string_view>

namespace squeakrun {

enum class InputKind { Key, Menu, Click, Type, Select, SwitchAway };

struct Input {
    InputKind kind = InputKind::Key;
    std::string name; // the character typed, or the scenario name of the entry, control or box
    std::string text; // the new text of a text box
    int index = 0;    // the list entry chosen

    static Input key(std::string character) { return {InputKind::Key, std::move(character), {}, 0}; }
    static Input menu(std::string name) { return {InputKind::Menu, std::move(name), {}, 0}; }
    static Input click(std::string name) { return {InputKind::Click, std::move(name), {}, 0}; }
    static Input type(std::string box, std::string text) {
        return {InputKind::Type, std::move(box), std::move(text), 0};
    }
    static Input select(std::string list, int index) {
        return {InputKind::Select, std::move(list), {}, index};
    }
    static Input switchAway() { return {InputKind::SwitchAway, {}, {}, 0}; }
};

// The Options menu's choice of who drives a car: the computer at `skill` takes player `player`'s car
// (0 or 1) over, or (nullopt) gives it back to a person. A `computer N SKILL` line says it.
struct SeatChange {
    int player = 0;
    std::optional<Skill> skill;
};
// The seat change "N SKILL" says (N 1 or 2; SKILL easy, average, hard or off), or nullopt.
std::optional<SeatChange> parseSeatChange(std::string_view rest);
// Its scenario line, without the line break ("computer 2 hard").
std::string seatChangeLine(const SeatChange& change);

// Whether `command` is one of the scenario commands that stand for an input (key, menu, click, type,
// select).
bool isInputCommand(std::string_view command);

// The input a scenario line "COMMAND REST" stands for, or nullopt with `why` saying what is wrong
// with it (an unknown name, a missing character, an entry number that is no number).
std::optional<Input> parseInput(std::string_view command, std::string_view rest, std::string& why);

// The scenario line for an input, without its line break ("key w", "type Form3.txtp1name Ann").
std::string inputLine(const Input& input);

// Applies an input to the game as the window would: an entry, control or box the player cannot reach
// (disabled, hidden, its window closed) takes nothing. Returns what the input amounted to in scenario
// words: the input itself, the pause that switching away caused, or nullopt when it could say nothing
// (switching away from a game that pauses no further, a list entry the list does not have).
std::optional<Input> applyInput(Game& g, const Input& input);

} // namespace squeakrun
