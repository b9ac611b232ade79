// The main window's menu bar as the game defines it: each entry's name, its control in the model, its
// handler and its shortcut. The front end builds its menus from this table and the scenario runner
// chooses entries by name from it.
#pragma once

#include "rules/state.h"

#include <array>
#include <string_view>

namespace squeakrun {

struct MenuEntry {
    std::string_view name;
    Control MainWindow::*control;
    void (*handler)(Game&);
    std::string_view shortcut;
    bool separatorBefore;
};

// The File menu's entries, then the Help menu's.
extern const std::array<MenuEntry, 4> kFileMenu;
extern const std::array<MenuEntry, 3> kHelpMenu;

// The entry called `name`, or nullptr.
const MenuEntry* menuEntry(std::string_view name);

} // namespace squeakrun
