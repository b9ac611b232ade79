// The main window's menu commands (pause, the three small windows, Exit) and the clicks that hand
// the keyboard back to the key box.
#include "ui/menus.h"

#include "game/handlers.h"
#include "game/window/ops.h"

namespace squeakrun {

const std::array<MenuEntry, 4> kFileMenu = {{
    {"mnuFilePause", &Form1::mnuFilePause, Form1_mnuFilePause_Click, "Ctrl+P", false},
    {"mnuFileSettings", &Form1::mnuFileSettings, Form1_mnuFileSettings_Click, "Ctrl+G", false},
    {"mnuFileScores", &Form1::mnuFileScores, Form1_mnuFileScores_Click, "Ctrl+H", false},
    {"mnuFileExit", &Form1::mnuFileExit, Form1_mnuFileExit_Click, "Ctrl+X", true},
}};
const std::array<MenuEntry, 3> kHelpMenu = {{
    {"mnuHelpRules", &Form1::mnuHelpRules, Form1_mnuHelpRules_Click, "Ctrl+R", false},
    {"mnuHelpControls", &Form1::mnuHelpControls, Form1_mnuHelpControls_Click, "Ctrl+C", false},
    {"mnuHelpAbout", &Form1::mnuHelpAbout, Form1_mnuHelpAbout_Click, "Ctrl+A", true},
}};

const MenuEntry* menuEntry(std::string_view name) {
    for (const MenuEntry& e : kFileMenu)
        if (e.name == name) return &e;
    for (const MenuEntry& e : kHelpMenu)
        if (e.name == name) return &e;
    return nullptr;
}

void Form1_mnuFilePause_Click(Game& g) {
    if (!g.paused) {
        pauseGame(g);
        return;
    }
    // Resuming gives the keys back at once, so the players need not click the field first.
    setKeyBoxEnabled(g, true);
    focusKeyBox(g);
    resumeGame(g);
}

// Every small window pauses the game, even one that is already paused or not yet started; its own
// button resumes it when the window closes.
void Form1_mnuFileSettings_Click(Game& g) {
    pauseGame(g);
    showWindow(g, settingsWindow(g));
}

void Form1_mnuFileScores_Click(Game& g) {
    pauseGame(g);
    showWindow(g, scoresWindow(g));
}

void Form1_mnuHelpAbout_Click(Game& g) {
    pauseGame(g);
    showWindow(g, aboutWindow(g));
}

// Exit ends the program on the spot: no question, nothing saved, no tick after this one.
void Form1_mnuFileExit_Click(Game& g) {
    for (int n = 1; n <= 8; ++n)
        setTimer(g, n, false);
    g.f2.Visible = g.f3.Visible = g.f4.Visible = false;
    g.exited = true;
    g.platform.quit();
}

// Rules and Controls are listed in the Help menu but have nothing to show.
void Form1_mnuHelpRules_Click(Game&) {}
void Form1_mnuHelpControls_Click(Game&) {}

// Clicking a gas label or the field is how a player takes the keyboard back after a small window.
void Form1_lblp1gas_Click(Game& g) {
    focusKeyBox(g);
}
void Form1_lblp2gas_Click(Game& g) {
    focusKeyBox(g);
}

// Once a game has ended the field no longer takes the keyboard; the gas labels still do.
void Form1_Picture2_Click(Game& g) {
    if (!g.died) focusKeyBox(g);
}

} // namespace squeakrun
