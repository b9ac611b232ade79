// The window operations the handlers share: pictures, captions, timers, the key box, the boxes,
// the small windows and the record files.
#pragma once

#include "rules/state.h"
#include "rules/ticks.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace squeakrun {

// A car picture of `row` facing `heading` (1 to 4), such as "badmouseleft.gif".
std::string carPicture(const PlayerRow& row, Count heading);

// A label showing a whole number; the caption is written only when it changes.
void showNumber(Control& label, Count value);

// The key box: setting a new text raises its change event, as a key press does.
void setKeyBoxText(Game& g, std::string text);
void clearKeyBox(Game& g);
void setKeyBoxEnabled(Game& g, bool enabled); // disabling it also takes its focus
void focusKeyBox(Game& g);                    // only an enabled key box can take the focus
// A key typed by a player: it reaches the key box only while the box is enabled and focused.
void pressKey(Game& g, std::string_view character);

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

// A record file such as "hscore.txt": the record folder's own copy, else the one shipped in the
// application folder; empty text when there is neither.
std::string loadRecord(Game& g, std::string_view name);
// Saves a record file in the record folder, making the folder if needed; false when it fails.
bool saveRecord(Game& g, std::string_view name, std::string_view text);

// The pause menu entry's caption and the flags of the shared pause protocol. Resuming lets the cars
// move only in a game that runs, not while the start button waits for the next one.
void pauseGame(Game& g);
void resumeGame(Game& g);

} // namespace squeakrun
