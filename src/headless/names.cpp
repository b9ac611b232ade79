#include "headless/names.h"

#include "headless/headless_platform.h"
#include "rules/window_ops.h"
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

    MainWindow& f = g.window;
    for (auto [name, ref] :
         std::initializer_list<std::pair<const char*, Control*>>{{"Picture2", &f.playfield},
                                                                 {"bmouse1", &f.player1Car},
                                                                 {"Command1", &f.player2Car},
                                                                 {"trap1", &f.player1Trap},
                                                                 {"trap2", &f.player2Trap},
                                                                 {"piccheese1", &f.player1Cheese},
                                                                 {"piccheese2", &f.player2Cheese},
                                                                 {"picrasb1", &f.player1Slick},
                                                                 {"picrasb2", &f.player2Slick},
                                                                 {"Command2", &f.bonusItem1},
                                                                 {"Com2", &f.bonusItem2},
                                                                 {"update1", &f.upgradeStation},
                                                                 {"refuel", &f.gasStation},
                                                                 {"piccar1", &f.player1Gauge},
                                                                 {"piccar2", &f.player2Gauge},
                                                                 {"Command3", &f.startButton},
                                                                 {"fdown1", &f.player1Countdown},
                                                                 {"fdown2", &f.player2Countdown},
                                                                 {"Picture11", &f.deviceStrip},
                                                                 {"picselect1", &f.player1Device},
                                                                 {"picselect2", &f.player2Device},
                                                                 {"lblp1stock", &f.player1Stock},
                                                                 {"lblp2stock", &f.player2Stock},
                                                                 {"Picture1", &f.statusPanel},
                                                                 {"lblpname1", &f.player1Name},
                                                                 {"lblscore1", &f.player1Score},
                                                                 {"lblScore", &f.player2Score},
                                                                 {"lblpname", &f.player2Name},
                                                                 {"lblp1gas", &f.player1Gas},
                                                                 {"lblp2gas", &f.player2Gas},
                                                                 {"lblp1lives", &f.player1Lives},
                                                                 {"lblp2lives", &f.player2Lives},
                                                                 {"RichTextBox1", &f.highScoreBox},
                                                                 {"Text3", &f.keyBox},
                                                                 {"mnuFile", &f.fileMenu},
                                                                 {"mnuFilePause", &f.pauseEntry},
                                                                 {"mnuFileSettings", &f.settingsEntry},
                                                                 {"mnuFileScores", &f.highScoresEntry},
                                                                 {"mnuFileExit", &f.exitEntry},
                                                                 {"mnuHelp", &f.helpMenu},
                                                                 {"mnuHelpRules", &f.rulesEntry},
                                                                 {"mnuHelpControls", &f.controlsEntry},
                                                                 {"mnuHelpAbout", &f.aboutEntry}})
        addControl(m, g, name, *ref, 1);
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

    addControl(m, g, "Form2.Picture1", g.about.title, 2);
    addControl(m, g, "Form2.Label1", g.about.versionLabel, 2);
    addControl(m, g, "Form2.Label2", g.about.dedicationLabel, 2);
    addControl(m, g, "Form2.Label3", g.about.authorLabel, 2);
    addControl(m, g, "Form2.Command1", g.about.okButton, 2);
    m["Form2.Visible"] = windowVisible(g, g.about, 2);
    addControl(m, g, "Form3.txtp1name", g.settings.player1NameBox, 3);
    addControl(m, g, "Form3.txtp2name", g.settings.player2NameBox, 3);
    addControl(m, g, "Form3.Combo1", g.settings.difficultyList, 3);
    addControl(m, g, "Form3.lbldif", g.settings.difficultyLabel, 3);
    addControl(m, g, "Form3.cmdupdate", g.settings.applyButton, 3);
    addControl(m, g, "Form3.cmdcancel", g.settings.cancelButton, 3);
    m["Form3.Visible"] = windowVisible(g, g.settings, 3);
    addControl(m, g, "Form4.RichTextBox1", g.scores.scoreBox, 4);
    addControl(m, g, "Form4.RichTextBox2", g.scores.nameBox, 4);
    addControl(m, g, "Form4.RichTextBox3", g.scores.commentBox, 4);
    addControl(m, g, "Form4.Command1", g.scores.backButton, 4);
    m["Form4.Visible"] = windowVisible(g, g.scores, 4);
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
