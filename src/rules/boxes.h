// Message and input boxes, and the three small windows: loading one on first use and showing it.
#pragma once

#include "rules/state.h"

#include <string>

namespace squeakrun {

// Message and input boxes; the game clock stands still while one is open.
Button message(Game& g, const std::string& text, Buttons buttons = Buttons::OK,
               const std::string& title = "");
std::string input(Game& g, const std::string& prompt, const std::string& title, const std::string& answer);

// The small windows exist from their first use: that first use runs their load handler.
AboutWindow& aboutWindow(Game& g);
SettingsWindow& settingsWindow(Game& g);
ScoresWindow& scoresWindow(Game& g);
// Showing a small window makes it the active one, so the key box loses the focus.
template <class Form> void showWindow(Game& g, Form& form) {
    form.visible = true;
    g.window.keyBox.focused = false;
}

} // namespace squeakrun
