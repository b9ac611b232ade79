// What the main window's menu entries do: each entry's handler and shortcut. Which menu an entry is in,
// and in what order, is the control list's (kMainControls); the front end builds its menus from both.
#pragma once

#include "rules/state.h"

#include <string_view>

namespace squeakrun {

struct MenuEntry {
    Control MainWindow::*control;
    void (*handler)(Game&);
    std::string_view shortcut;
    bool separatorBefore;
};

// The entry of a menu control, or nullptr for a menu on the menu bar.
const MenuEntry* menuEntry(Control MainWindow::*control);

} // namespace squeakrun
