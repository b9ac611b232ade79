#include "rules/key_box.h"

#include "rules/events.h"

namespace squeakrun {

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

} // namespace squeakrun
