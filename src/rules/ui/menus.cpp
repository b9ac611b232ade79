// The main window's menu commands (pause, the three small windows, Exit) and the clicks that hand
// the keyboard back to the key box.
#include "rules/ui/menus.h"

#include "rules/events.h"
#include "rules/window_ops.h"

namespace squeakrun {

const std::array<MenuEntry, 4> kFileMenu = {{
    {"mnuFilePause", &MainWindow::pauseEntry, choosePause, "Ctrl+P", false},
    {"mnuFileSettings", &MainWindow::settingsEntry, chooseGameSettings, "Ctrl+G", false},
    {"mnuFileScores", &MainWindow::highScoresEntry, chooseHighScores, "Ctrl+H", false},
    {"mnuFileExit", &MainWindow::exitEntry, chooseExit, "Ctrl+X", true},
}};
const std::array<MenuEntry, 3> kHelpMenu = {{
    {"mnuHelpRules", &MainWindow::rulesEntry, chooseRules, "Ctrl+R", false},
    {"mnuHelpControls", &MainWindow::controlsEntry, chooseControls, "Ctrl+C", false},
    {"mnuHelpAbout", &MainWindow::aboutEntry, chooseAbout, "Ctrl+A", true},
}};

const MenuEntry* menuEntry(std::string_view name) {
    for (const MenuEntry& e : kFileMenu)
        if (e.name == name) return &e;
    for (const MenuEntry& e : kHelpMenu)
        if (e.name == name) return &e;
    return nullptr;
}

void choosePause(Game& g) {
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
// button resumes a running game when the window closes.
void chooseGameSettings(Game& g) {
    pauseGame(g);
    showWindow(g, settingsWindow(g));
}

void chooseHighScores(Game& g) {
    pauseGame(g);
    showWindow(g, scoresWindow(g));
}

void chooseAbout(Game& g) {
    pauseGame(g);
    showWindow(g, aboutWindow(g));
}

// Exit ends the program on the spot: no question, nothing saved, no tick after this one.
void chooseExit(Game& g) {
    for (Timer& timer : g.clock.timers)
        timer.enabled = false;
    g.about.visible = g.settings.visible = g.scores.visible = false;
    g.exited = true;
    g.platform.quit();
}

// Rules and Controls are listed in the Help menu but have nothing to show.
void chooseRules(Game&) {}
void chooseControls(Game&) {}

// Clicking a gas label or the field is how a player takes the keyboard back after a small window.
void clickPlayer1Gas(Game& g) {
    focusKeyBox(g);
}
void clickPlayer2Gas(Game& g) {
    focusKeyBox(g);
}

// Once a game has ended the field no longer takes the keyboard; the gas labels still do.
void clickPlayfield(Game& g) {
    if (!g.gameEnded) focusKeyBox(g);
}

} // namespace squeakrun
