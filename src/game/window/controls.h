// The window model: the plain data the game's handlers change and the front ends draw.
// Positions and sizes are twips (15 to a pixel), single precision, kept exactly as last set.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace squeakrun {

struct Control {
    enum class Kind { Picture, Gauge, Label, TextBox, Button, ComboBox, RichText, Menu };

    Kind kind = Kind::Picture;
    float Left = 0, Top = 0, Width = 0, Height = 0;
    bool Visible = true;
    bool Enabled = true;
    std::string Picture;  // file name inside images/, such as "badmouseup.gif"; empty when none
    std::string Caption;  // labels, buttons and menu entries
    std::string Text;     // text boxes and rich-text boxes
    std::string ToolTip;
    std::vector<std::string> Lines;  // text printed on a gauge picture
    std::vector<std::string> Items;  // entries of a combo box
    int ListIndex = -1;              // the chosen entry, -1 for none
    bool Focused = false;            // the text box holds the keyboard focus

    void Move(float left, float top) {
        Left = left;
        Top = top;
    }
    void Cls() { Lines.clear(); }
};

// An interval timer of the main window. The scheduler runs its handler at `due`, then every Interval.
struct Timer {
    int Interval = 0;
    bool Enabled = false;
    std::int64_t due = 0;
};

} // namespace squeakrun
