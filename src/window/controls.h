// The window model: the plain data the game's handlers change and the front ends draw.
// Positions and sizes are twips (15 to a pixel), single precision, kept exactly as last set.
#pragma once

#include <string>
#include <vector>

namespace squeakrun {

// A control of a window: a picture, a gauge, a label, a text box, a button, a list, a rich-text box or
// a menu entry. Every kind has every field; each kind uses the ones that make sense for it.
struct Control {
    enum class Kind { Picture, Gauge, Label, TextBox, Button, ComboBox, RichText, Menu };

    Kind kind = Kind::Picture;
    float left = 0, top = 0, width = 0, height = 0;
    bool visible = true;
    bool enabled = true;
    std::string picture; // file name inside images/, such as "badmouseup.gif"; empty when none
    std::string caption; // labels, buttons and menu entries
    std::string text;    // text boxes and rich-text boxes
    std::string toolTip;
    std::vector<std::string> lines; // text printed on a gauge picture
    std::vector<std::string> items; // entries of a combo box
    int listIndex = -1;             // the chosen entry, -1 for none
    bool focused = false;           // the text box holds the keyboard focus

    void moveTo(float toLeft, float toTop) {
        left = toLeft;
        top = toTop;
    }
    void clearLines() { lines.clear(); }
};

} // namespace squeakrun
