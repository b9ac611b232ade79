#include "game/window/headless/names.h"

#include "game/numbers.h"
#include "game/window/headless/headless_platform.h"
#include "game/window/ops.h"

#include <cmath>

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
    for (auto [suffix, ref] : std::initializer_list<std::pair<const char*, Count*>>{
             {"lives", &pl.lives},         {"score", &pl.score},           {"gas", &pl.gas},
             {"gas1", &pl.gas1},           {"dir", &pl.dir},               {"device", &pl.device},
             {"countdown", &pl.countdown}, {"cheesestock", &pl.cheesestock}, {"slickstock", &pl.slickstock},
             {"trapdir", &pl.trapdir},     {"skiddir", &pl.skiddir},       {"skidframe", &pl.skidframe},
             {"cheesedir", &pl.cheesedir}, {"cvalue", &pl.cvalue}})
        m[pN + suffix] = countField(*ref);
    for (auto [suffix, ref] : std::initializer_list<std::pair<const char*, double*>>{
             {"speed", &pl.speed}, {"cvalue1", &pl.cvalue1}, {"gasneed", &pl.gasneed},
             {"coast", &pl.coast}, {"skidspeed", &pl.skidspeed}, {"cheesespeed", &pl.cheesespeed}})
        m[pN + suffix] = numberField(*ref);
    for (auto [suffix, ref] : std::initializer_list<std::pair<const char*, bool*>>{
             {"crashed", &pl.crashed},   {"waiting", &pl.waiting},     {"cheesehit", &pl.cheesehit},
             {"spin", &pl.spin},         {"slickset", &pl.slickset},   {"slickdrop", &pl.slickdrop},
             {"trapdrop", &pl.trapdrop}, {"trapset", &pl.trapset},     {"leavegas", &pl.leavegas},
             {"refuel", &pl.refuel},     {"update", &pl.update},       {"stop", &pl.stop},
             {"slowdown", &pl.slowdown}, {"cheeseroll", &pl.cheeseroll}, {"cheesedrop", &pl.cheesedrop}})
        m[pN + suffix] = flagField(*ref);
    m[pN + "name"] = textField(pl.name);
}

void addControl(std::map<std::string, Field>& m, Game& g, const std::string& prefix, Control& c, int form) {
    using K = Control::Kind;
    auto add = [&](const char* prop, Field f) {
        f.form = form;
        m[prefix + "." + prop] = std::move(f);
    };
    bool keyBox = &c == &g.f1.Text3;
    if (c.kind == K::Menu) {
        add("Caption", textField(c.Caption));
        add("Enabled", flagField(c.Enabled));
        add("Visible", flagField(c.Visible));
        return;
    }
    add("Left", floatField(c.Left));
    add("Top", floatField(c.Top));
    add("Width", floatField(c.Width));
    add("Height", floatField(c.Height));
    add("Visible", flagField(c.Visible));
    if (keyBox) {
        add("Enabled", {[&c] { return Value(c.Enabled); },
                        [&g](const std::string& t) {
                            auto v = parseFlag(t);
                            if (v) setKeyBoxEnabled(g, *v);
                            return v.has_value();
                        }});
        add("Focused", {[&c] { return Value(c.Focused); },
                        [&g](const std::string& t) {
                            auto v = parseFlag(t);
                            if (v && *v) focusKeyBox(g);
                            if (v && !*v) g.f1.Text3.Focused = false;
                            return v.has_value();
                        }});
        add("Text", {[&c] { return Value(c.Text); },
                     [&g](const std::string& t) {
                         setKeyBoxText(g, t);
                         return true;
                     }});
        return;
    }
    add("Enabled", flagField(c.Enabled));
    switch (c.kind) {
    case K::Picture: add("Picture", textField(c.Picture)); break;
    case K::Gauge:
        add("Lines", readOnly([&c] {
                std::string joined;
                for (const std::string& line : c.Lines) joined += (joined.empty() ? "" : " | ") + line;
                return Value(joined);
            }));
        break;
    case K::Label:
    case K::Button: add("Caption", textField(c.Caption)); break;
    case K::TextBox:
    case K::RichText: add("Text", textField(c.Text)); break;
    case K::ComboBox:
        add("ListIndex", {[&c] { return Value(Count(c.ListIndex)); },
                          [&c](const std::string& t) {
                              auto v = wholeNumber(t);
                              if (!v || *v != std::trunc(*v) || *v < -1 || *v >= double(c.Items.size()))
                                  return false;
                              c.ListIndex = static_cast<int>(*v);
                              return true;
                          }});
        add("Text", readOnly([&c] {
                bool chosen = c.ListIndex >= 0 && c.ListIndex < int(c.Items.size());
                return Value(chosen ? c.Items[c.ListIndex] : std::string());
            }));
        break;
    case K::Menu: break;
    }
}

template <class Form> Field windowVisible(Game& g, Form& form, int number) {
    Field f{[&form] { return Value(form.Visible); },
            [&g, &form](const std::string& t) {
                auto v = parseFlag(t);
                if (v && *v) showWindow(g, form);
                if (v && !*v) form.Visible = false;
                return v.has_value();
            }};
    f.form = number;
    return f;
}

} // namespace

std::map<std::string, Field> gameFields(Game& g) {
    std::map<std::string, Field> m;
    for (auto [name, ref] : std::initializer_list<std::pair<const char*, bool*>>{
             {"paused", &g.paused}, {"allowed", &g.allowed}, {"died", &g.died},
             {"outcomedone", &g.outcomedone}, {"changed", &g.changed}})
        m[name] = flagField(*ref);
    m["dif"] = textField(g.dif);
    m["highscore"] = numberField(g.highscore);
    m["hcomment"] = textField(g.hcomment);
    for (int item = 0; item < 2; ++item) {
        std::string n = std::to_string(item + 1);
        BonusItem& b = g.items[item];
        m[item == 0 ? "nloaded" : "nloaded1"] = flagField(b.loaded);
        m["blob" + n] = flagField(b.blob);
        m["slickpup" + n] = flagField(b.slickpup);
        for (int player = 0; player < 2; ++player)
            m["p" + std::to_string(player + 1) + "bonus" + n] = countField(b.points[player]);
    }
    for (int player = 0; player < 2; ++player) {
        std::string n = std::to_string(player + 1);
        addPlayerVariables(m, g.p[player], "p" + n);
        m["tgas" + n] = countField(g.p[player].tgas);
    }

    Form1& f = g.f1;
    for (auto [name, ref] : std::initializer_list<std::pair<const char*, Control*>>{
             {"Picture2", &f.Picture2},       {"bmouse1", &f.bmouse1},           {"Command1", &f.Command1},
             {"trap1", &f.trap1},             {"trap2", &f.trap2},               {"piccheese1", &f.piccheese1},
             {"piccheese2", &f.piccheese2},   {"picrasb1", &f.picrasb1},         {"picrasb2", &f.picrasb2},
             {"Command2", &f.Command2},       {"Com2", &f.Com2},                 {"update1", &f.update1},
             {"refuel", &f.refuel},           {"piccar1", &f.piccar1},           {"piccar2", &f.piccar2},
             {"Command3", &f.Command3},       {"fdown1", &f.fdown1},             {"fdown2", &f.fdown2},
             {"Picture11", &f.Picture11},     {"picselect1", &f.picselect1},     {"picselect2", &f.picselect2},
             {"lblp1stock", &f.lblp1stock},   {"lblp2stock", &f.lblp2stock},     {"Picture1", &f.Picture1},
             {"lblpname1", &f.lblpname1},     {"lblscore1", &f.lblscore1},       {"lblScore", &f.lblScore},
             {"lblpname", &f.lblpname},       {"lblp1gas", &f.lblp1gas},         {"lblp2gas", &f.lblp2gas},
             {"lblp1lives", &f.lblp1lives},   {"lblp2lives", &f.lblp2lives},     {"RichTextBox1", &f.RichTextBox1},
             {"Text3", &f.Text3},             {"mnuFile", &f.mnuFile},           {"mnuFilePause", &f.mnuFilePause},
             {"mnuFileSettings", &f.mnuFileSettings}, {"mnuFileScores", &f.mnuFileScores},
             {"mnuFileExit", &f.mnuFileExit}, {"mnuHelp", &f.mnuHelp},           {"mnuHelpRules", &f.mnuHelpRules},
             {"mnuHelpControls", &f.mnuHelpControls}, {"mnuHelpAbout", &f.mnuHelpAbout}})
        addControl(m, g, name, *ref, 1);
    for (int n = 1; n <= 8; ++n) {
        std::string name = "Timer" + std::to_string(n);
        Timer& t = g.timer(n);
        m[name + ".Enabled"] = {[&t] { return Value(t.Enabled); },
                                [&g, n](const std::string& text) {
                                    auto v = parseFlag(text);
                                    if (v) setTimer(g, n, *v);
                                    return v.has_value();
                                }};
        m[name + ".Interval"] = {[&t] { return Value(Count(t.Interval)); },
                                 [&t](const std::string& text) {
                                     auto v = wholeNumber(text);
                                     if (!v || *v < 1 || *v > 1e9 || *v != std::trunc(*v)) return false;
                                     t.Interval = static_cast<int>(*v);
                                     return true;
                                 }};
    }

    addControl(m, g, "Form2.Picture1", g.f2.Picture1, 2);
    addControl(m, g, "Form2.Label1", g.f2.Label1, 2);
    addControl(m, g, "Form2.Label2", g.f2.Label2, 2);
    addControl(m, g, "Form2.Label3", g.f2.Label3, 2);
    addControl(m, g, "Form2.Command1", g.f2.Command1, 2);
    m["Form2.Visible"] = windowVisible(g, g.f2, 2);
    addControl(m, g, "Form3.txtp1name", g.f3.txtp1name, 3);
    addControl(m, g, "Form3.txtp2name", g.f3.txtp2name, 3);
    addControl(m, g, "Form3.Combo1", g.f3.Combo1, 3);
    addControl(m, g, "Form3.lbldif", g.f3.lbldif, 3);
    addControl(m, g, "Form3.cmdupdate", g.f3.cmdupdate, 3);
    addControl(m, g, "Form3.cmdcancel", g.f3.cmdcancel, 3);
    m["Form3.Visible"] = windowVisible(g, g.f3, 3);
    addControl(m, g, "Form4.RichTextBox1", g.f4.RichTextBox1, 4);
    addControl(m, g, "Form4.RichTextBox2", g.f4.RichTextBox2, 4);
    addControl(m, g, "Form4.RichTextBox3", g.f4.RichTextBox3, 4);
    addControl(m, g, "Form4.Command1", g.f4.Command1, 4);
    m["Form4.Visible"] = windowVisible(g, g.f4, 4);
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
