#include "rules/window_ops.h"

#include "records/record_file.h"
#include "rules/events.h"

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
    if (label.caption != text) label.caption.assign(text);
}

void setKeyBoxText(Game& g, std::string text) {
    // Like any text box, the key box raises its change event only when its text really changes; so
    // the decoder's own clearing of the box re-enters it once and stops there.
    if (g.window.keyBox.text == text) return;
    g.window.keyBox.text = std::move(text);
    decodeKeyBox(g);
}

void clearKeyBox(Game& g) {
    setKeyBoxText(g, std::string());
}

void setKeyBoxEnabled(Game& g, bool enabled) {
    g.window.keyBox.enabled = enabled;
    if (!enabled) g.window.keyBox.focused = false;
}

void focusKeyBox(Game& g) {
    if (g.window.keyBox.enabled && g.window.keyBox.visible) g.window.keyBox.focused = true;
}

void pressKey(Game& g, std::string_view character) {
    Control& box = g.window.keyBox;
    if (!box.enabled || !box.focused || g.exited) return;
    setKeyBoxText(g, box.text + std::string(character));
}

Button message(Game& g, const std::string& text, Buttons buttons, const std::string& title) {
    return g.platform.messageBox(text, buttons, title);
}

std::string input(Game& g, const std::string& prompt, const std::string& title, const std::string& answer) {
    return g.platform.inputBox(prompt, title, answer);
}

AboutWindow& aboutWindow(Game& g) {
    g.about.loaded = true;
    return g.about;
}

SettingsWindow& settingsWindow(Game& g) {
    if (!g.settings.loaded) {
        g.settings.loaded = true;
        loadSettingsWindow(g);
    }
    return g.settings;
}

ScoresWindow& scoresWindow(Game& g) {
    if (!g.scores.loaded) {
        g.scores.loaded = true;
        loadScoresWindow(g);
    }
    return g.scores;
}

std::string loadRecord(Game& g, std::string_view name) {
    const std::filesystem::path own = g.platform.recordFolder() / name;
    std::error_code error;
    return loadRecordFile(std::filesystem::exists(own, error) ? own : g.platform.appFolder() / name);
}

bool saveRecord(Game& g, std::string_view name, std::string_view text) {
    const std::filesystem::path folder = g.platform.recordFolder();
    std::error_code error; // a folder that cannot be made fails the save below
    std::filesystem::create_directories(folder, error);
    return saveRecordFile(folder / name, text);
}

void pauseGame(Game& g) {
    g.carsMayMove = false;
    g.window.pauseEntry.caption = "Un-pause Game";
    g.paused = true;
}

void resumeGame(Game& g) {
    g.window.pauseEntry.caption = "Pause Game";
    // While the start button waits there is no game to resume: nothing moves, burns gas or takes a
    // key until it is pressed.
    if (g.window.startButton.visible) return;
    g.paused = false;
    g.carsMayMove = true;
}

} // namespace squeakrun
