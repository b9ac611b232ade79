// The key box, the hidden text box that catches the players' keys: its text, its focus and the
// keys typed into it.
#pragma once

#include "rules/state.h"

#include <string>
#include <string_view>

namespace squeakrun {

// Setting a new text raises the box's change event, as a key press does.
void setKeyBoxText(Game& g, std::string text);
void clearKeyBox(Game& g);
void setKeyBoxEnabled(Game& g, bool enabled); // disabling it also takes its focus
void focusKeyBox(Game& g);                    // only an enabled key box can take the focus
// A key typed by a player: it reaches the key box only while the box is enabled and focused.
void pressKey(Game& g, std::string_view character);

} // namespace squeakrun
