#include "headless/names.h"

#include "headless/headless_platform.h"
#include "rules/boxes.h"
#include "rules/key_box.h"
#include "window/numbers.h"

#include <cmath>
#include <limits>

namespace squeakrun {

namespace {

std::optional<bool> parseFlag(const std::string& text) {
    if (text == "True" || text == "true") return true;
    if (text == "False" || text == "false") return false;
    return std::nullopt;
}

Field flagField(bool& ref) {
    return {[&ref] { return Value(ref); },
            [&ref](const std::string& t) {
                auto v = parseFlag(t);
                if (v) ref = *v;
                return v.has_value();
            }};
}

Field countField(Count& ref) {
    return {[&ref] { return Value(ref); },
            [&ref](const std::string& t) {
                auto v = wholeNumber(t);
                if (!v || *v != std::trunc(*v) || std::fabs(*v) > 9e18) return false;
                ref = static_cast<Count>(*v);
                return true;
            }};
}

// A heading or a device, read and written as the number the game stores.
template <class Code> Field codeField(Code& ref) {
    return {[&ref] { return Value(Count(static_cast<int>(ref))); },
            [&ref](const std::string& t) {
                auto v = wholeNumber(t);
                if (!v || *v != std::trunc(*v) || std::fabs(*v) > std::numeric_limits<int>::max())
                    return false;
                ref = static_cast<Code>(static_cast<int>(*v));
                return true;
            }};
}

Field numberField(double& ref) {
    return {[&ref] { return Value(ref); },
            [&ref](const std::string& t) {
                auto v = wholeNumber(t);
                if (v) ref = *v;
                return v.has_value();
            }};
}

Field floatField(float& ref) {
    return {[&ref] { return Value(ref); },
            [&ref](const std::string& t) {
                auto v = wholeNumber(t);
                if (v) ref = static_cast<float>(*v);
                return v.has_value();
            }};
}

Field textField(std::string& ref) {
    return {[&ref] { return Value(ref); },
            [&ref](const std::string& t) {
                ref = t;
                return true;
            }};
}

Field readOnly(std::function<Value()> get) {
    return {std::move(get), [](const std::string&) { return false; }};
}

void addPlayerVariables(std::map<std::string, Field>& m, Player& pl, const std::string& pN) {
    for (auto [suffix, ref] :
         std::initializer_list<std::pair<const char*, Count*>>{{"lives", &pl.lives},
                                                               {"score", &pl.score},
                                                               {"gas", &pl.shownGas},
                                                               {"gas1", &pl.tankGas},
                                                               {"countdown", &pl.countdown},
                                                               {"cheesestock", &pl.cheeseStock},
                                                               {"slickstock", &pl.slickStock},
                                                               {"skidframe", &pl.skidFrame},
                                                               {"cvalue", &pl.difficultyTank}})
        m[pN + suffix] = countField(*ref);
    for (auto [suffix, ref] :
         std::initializer_list<std::pair<const char*, Heading*>>{{"dir", &pl.heading},
                                                                 {"trapdir", &pl.trapHeading},
                                                                 {"skiddir", &pl.skidHeading},
                                                                 {"cheesedir", &pl.cheeseHeading}})
        m[pN + suffix] = codeField(*ref);
    m[pN + "device"] = codeField(pl.device);
    for (auto [suffix, ref] :
         std::initializer_list<std::pair<const char*, double*>>{{"speed", &pl.speed},
                                                                {"cvalue1", &pl.difficultySpeed},
                                                                {"gasneed", &pl.gasNeeded},
                                                                {"coast", &pl.coastSpeed},
                                                                {"skidspeed", &pl.skidSpeed},
                                                                {"cheesespeed", &pl.cheeseSpeed}})
        m[pN + suffix] = numberField(*ref);
    for (auto [suffix, ref] :
         std::initializer_list<std::pair<const char*, bool*>>{{"crashed", &pl.crashed},
                                                              {"waiting", &pl.splattered},
                                                              {"cheesehit", &pl.hitByCheese},
                                                              {"spin", &pl.spinning},
                                                              {"slickset", &pl.slickLaid},
                                                              {"slickdrop", &pl.slickDropped},
                                                              {"trapdrop", &pl.trapDropped},
                                                              {"trapset", &pl.trapLaid},
                                                              {"leavegas", &pl.leavingStation},
                                                              {"refuel", &pl.refuelling},
                                                              {"update", &pl.shopping},
                                                              {"stop", &pl.stopKeyPressed},
                                                              {"slowdown", &pl.coasting},
                                                              {"cheeseroll", &pl.cheeseRolling},
                                                              {"cheesedrop", &pl.cheeseDropped}})
        m[pN + suffix] = flagField(*ref);
    m[pN + "name"] = textField(pl.name);
}

void addControl(std::map<std::string, Field>& m, Game& g, const std::string& prefix, Control& c, int form) {
    using K = Control::Kind;
    auto add = [&](const char* prop, Field f) {
        f.form = form;
        m[prefix + "." + prop] = std::move(f);
    };
    bool keyBox = &c == &g.window.keyBox;
    if (c.kind == K::Menu) {
        add("Caption", textField(c.caption));
        add("Enabled", flagField(c.enabled));
        add("Visible", flagField(c.visible));
        return;
    }
    add("Left", floatField(c.left));
    add("Top", floatField(c.top));
    add("Width", floatField(c.width));
    add("Height", floatField(c.height));
    add("Visible", flagField(c.visible));
    if (keyBox) {
        add("Enabled", {[&c] { return Value(c.enabled); },
                        [&g](const std::string& t) {
                            auto v = parseFlag(t);
                            if (v) setKeyBoxEnabled(g, *v);
                            return v.has_value();
                        }});
        add("Focused", {[&c] { return Value(c.focused); },
                        [&g](const std::string& t) {
                            auto v = parseFlag(t);
                            if (v && *v) focusKeyBox(g);
                            if (v && !*v) g.window.keyBox.focused = false;
                            return v.has_value();
                        }});
        add("Text", {[&c] { return Value(c.text); },
                     [&g](const std::string& t) {
                         setKeyBoxText(g, t);
                         return true;
                     }});
        return;
    }
    add("Enabled", flagField(c.enabled));
    switch (c.kind) {
    case K::Picture:
        add("Picture", textField(c.picture));
        break;
    case K::Gauge:
        add("Lines", readOnly([&c] {
                std::string joined;
                for (const std::string& line : c.lines)
                    joined += (joined.empty() ? "" : " | ") + line;
                return Value(joined);
            }));
        break;
    case K::Label:
    case K::Button:
        add("Caption", textField(c.caption));
        break;
    case K::TextBox:
    case K::RichText:
        add("Text", textField(c.text));
        break;
    case K::ComboBox:
        add("ListIndex", {[&c] { return Value(Count(c.listIndex)); },
                          [&c](const std::string& t) {
                              auto v = wholeNumber(t);
                              if (!v || *v != std::trunc(*v) || *v < -1 || *v >= double(c.items.size()))
                                  return false;
                              c.listIndex = static_cast<int>(*v);
                              return true;
                          }});
        add("Text", readOnly([&c] {
                bool chosen = c.listIndex >= 0 && c.listIndex < int(c.items.size());
                return Value(chosen ? c.items[c.listIndex] : std::string());
            }));
        break;
    case K::Menu:
        break;
    }
}

template <class Form> Field windowVisible(Game& g, Form& form, int number) {
    Field f{[&form] { return Value(form.visible); },
            [&g, &form](const std::string& t) {
                auto v = parseFlag(t);
                if (v && *v) showWindow(g, form);
                if (v && !*v) form.visible = false;
                return v.has_value();
            }};
    f.form = number;
    return f;
}

// A small window's controls and its visibility, named "FormN.NAME" after the window's number.
template <class Form> void addWindow(std::map<std::string, Field>& m, Game& g, Form& form) {
    constexpr int number = SmallWindowOf<Form>::number;
    for (const WindowControl<Form>& c : SmallWindowOf<Form>::controls)
        addControl(m, g, controlName(c.member), form.*c.member, number);
    m["Form" + std::to_string(number) + ".Visible"] = windowVisible(g, form, number);
}

} // namespace

std::map<std::string, Field> gameFields(Game& g) {
    std::map<std::string, Field> m;
    for (auto [name, ref] :
         std::initializer_list<std::pair<const char*, bool*>>{{"paused", &g.paused},
                                                              {"allowed", &g.carsMayMove},
                                                              {"died", &g.gameEnded},
                                                              {"outcomedone", &g.gameScored},
                                                              {"changed", &g.settingsChanged}})
        m[name] = flagField(*ref);
    m["dif"] = textField(g.difficulty);
    m["highscore"] = numberField(g.highScore);
    m["hcomment"] = textField(g.highScoreComment);
    for (int item = 0; item < 2; ++item) {
        std::string n = std::to_string(item + 1);
        BonusItem& b = g.bonusItems[item];
        m[item == 0 ? "nloaded" : "nloaded1"] = flagField(b.placed);
        m["blob" + n] = flagField(b.givesCheese);
        m["slickpup" + n] = flagField(b.givesSlicks);
        for (int player = 0; player < 2; ++player)
            m["p" + std::to_string(player + 1) + "bonus" + n] = countField(b.points[player]);
    }
    for (int player = 0; player < 2; ++player) {
        std::string n = std::to_string(player + 1);
        addPlayerVariables(m, g.players[player], "p" + n);
        m["tgas" + n] = countField(g.players[player].tankSize);
    }

    for (const MainControl& c : kMainControls)
        addControl(m, g, std::string(c.scenarioName), g.window.*c.member, 1);
    for (int n = 1; n <= GameClock::kTimers; ++n) {
        std::string name = "Timer" + std::to_string(n);
        Timer& t = g.clock.timers[n - 1];
        m[name + ".Enabled"] = {[&t] { return Value(t.enabled); },
                                [&g, n](const std::string& text) {
                                    auto v = parseFlag(text);
                                    if (v) g.clock.enable(n - 1, *v);
                                    return v.has_value();
                                }};
        m[name + ".Interval"] = {[&t] { return Value(Count(t.interval)); },
                                 [&t](const std::string& text) {
                                     auto v = wholeNumber(text);
                                     if (!v || *v < 1 || *v > 1e9 || *v != std::trunc(*v)) return false;
                                     t.interval = static_cast<int>(*v);
                                     return true;
                                 }};
    }

    addWindow(m, g, g.about);
    addWindow(m, g, g.settings);
    addWindow(m, g, g.scores);
    return m;
}

std::string formatValue(const Value& v) {
    struct {
        std::string operator()(bool b) const { return b ? "True" : "False"; }
        std::string operator()(Count c) const { return std::to_string(c); }
        std::string operator()(double d) const { return numberText(d); }
        std::string operator()(float f) const { return numberText(f); }
        std::string operator()(const std::string& s) const { return escapeText(s); }
    } visitor;
    return std::visit(visitor, v);
}

namespace {
bool close(double a, double b) {
    if (a == b) return true;
    return std::fabs(a - b) <= 1e-6 * std::max(std::fabs(a), std::fabs(b));
}
} // namespace

std::optional<bool> valueMatches(const Value& actual, const std::string& expected) {
    if (auto* b = std::get_if<bool>(&actual)) {
        auto want = parseFlag(expected);
        if (!want) return std::nullopt;
        return *b == *want;
    }
    if (auto* s = std::get_if<std::string>(&actual)) {
        if (*s == expected || escapeText(*s) == expected) return true;
        auto a = wholeNumber(*s), e = wholeNumber(expected);
        return a && e && close(*a, *e);
    }
    auto want = wholeNumber(expected);
    if (!want) return std::nullopt;
    double have = std::visit(
        [](auto x) -> double {
            if constexpr (std::is_arithmetic_v<decltype(x)>) return static_cast<double>(x);
            return 0;
        },
        actual);
    return close(have, *want);
}

} // namespace squeakrun
