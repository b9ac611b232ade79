#include "game/window/ops.h"

#include "game/handlers.h"

#include <charconv>

namespace squeakrun {

std::string carPicture(const PlayerRow& row, Count heading) {
    static constexpr std::string_view kEndings[] = {"", "left.gif", "down.gif", "right.gif", "up.gif"};
    std::string name(row.carPrefix);
    name += kEndings[heading >= 1 && heading <= 4 ? heading : 2];
    return name;
}

void showNumber(Control& label, Count value) {
    // Ticks call this many times a second: write the caption only when the number really changed.
    char digits[24];
    auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    std::string_view text(digits, static_cast<std::size_t>(end - digits));
    if (label.Caption != text) label.Caption.assign(text);
}

void setTimer(Game& g, int number, bool enabled) {
    Timer& t = g.timer(number);
    if (enabled && !t.Enabled) t.due = g.clock + t.Interval;
    t.Enabled = enabled;
}

void setKeyBoxText(Game& g, std::string text) {
    // Like any text box, the key box raises its change event only when its text really changes; so
    // the decoder's own clearing of the box re-enters it once and stops there.
    if (g.f1.Text3.Text == text) return;
    g.f1.Text3.Text = std::move(text);
    Form1_Text3_Change(g);
}

void clearKeyBox(Game& g) { setKeyBoxText(g, std::string()); }

void setKeyBoxEnabled(Game& g, bool enabled) {
    g.f1.Text3.Enabled = enabled;
    if (!enabled) g.f1.Text3.Focused = false;
}

void focusKeyBox(Game& g) {
    if (g.f1.Text3.Enabled && g.f1.Text3.Visible) g.f1.Text3.Focused = true;
}

void pressKey(Game& g, std::string_view character) {
    Control& box = g.f1.Text3;
    if (!box.Enabled || !box.Focused || g.exited) return;
    setKeyBoxText(g, box.Text + std::string(character));
}

Button message(Game& g, const std::string& text, Buttons buttons, const std::string& title) {
    return g.platform.messageBox(text, buttons, title);
}

std::string input(Game& g, const std::string& prompt, const std::string& title, const std::string& answer) {
    return g.platform.inputBox(prompt, title, answer);
}

Form2& aboutWindow(Game& g) {
    g.f2.loaded = true;
    return g.f2;
}

Form3& settingsWindow(Game& g) {
    if (!g.f3.loaded) {
        g.f3.loaded = true;
        Form3_Form_Load(g);
    }
    return g.f3;
}

Form4& scoresWindow(Game& g) {
    if (!g.f4.loaded) {
        g.f4.loaded = true;
        Form4_Form_Load(g);
    }
    return g.f4;
}

std::filesystem::path appFile(Game& g, std::string_view name) { return g.platform.appFolder() / name; }

void pauseGame(Game& g) {
    g.allowed = false;
    g.f1.mnuFilePause.Caption = "Un-pause Game";
    g.paused = true;
}

void resumeGame(Game& g) {
    g.paused = false;
    g.allowed = true;
    g.f1.mnuFilePause.Caption = "Pause Game";
}

} // namespace squeakrun
