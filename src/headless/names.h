// The game's variables and control properties by name, as scenario files and tools spell them:
// "p1gas", "tgas2", "bmouse1.Left", "Timer7.Enabled", "Form3.lbldif.Caption", "Form4.Visible". The
// controls' names come from the control lists beside the windows in rules/.
#pragma once

#include "rules/state.h"

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <variant>

namespace squeakrun {

using Value = std::variant<bool, Count, double, float, std::string>;

struct Field {
    std::function<Value()> get;
    // Parses `text` as the field's kind and sets it through the game's own setters; false when the
    // text is not of that kind or the field cannot be set.
    std::function<bool(const std::string& text)> set;
    int form = 1; // the window the name belongs to; dumps list small windows only once loaded
};

// Every name of one game. The game must outlive the map.
std::map<std::string, Field> gameFields(Game& g);

// "True"/"False", a number in its shortest exact form, or a text with CR, LF and backslash escaped.
std::string formatValue(const Value& v);

// Whether `expected` (a scenario's VALUE) matches: flags by True/False, numbers within 1e-6 relative,
// texts exactly or, when both read as numbers, as numbers. Empty optional: `expected` is of the wrong kind.
std::optional<bool> valueMatches(const Value& actual, const std::string& expected);

} // namespace squeakrun
