#include "rules/boxes.h"

#include "rules/events.h"

namespace squeakrun {

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

} // namespace squeakrun
