// The main window's menu commands (pause, the three small windows, Exit, the Rules and Controls
// boxes), pausing when the players switch away, and the clicks that hand the keyboard back to the key box.
#include "rules/ui/menus.h"

#include "rules/boxes.h"
#include "rules/events.h"
#include "rules/key_box.h"
#include "rules/pausing.h"

namespace squeakrun {

const MenuEntry* menuEntry(Control MainWindow::*control) {
    static constexpr MenuEntry kEntries[] = {
        {&MainWindow::pauseEntry, choosePause, "Ctrl+P", false},
        {&MainWindow::settingsEntry, chooseGameSettings, "Ctrl+G", false},
        {&MainWindow::highScoresEntry, chooseHighScores, "Ctrl+H", false},
        {&MainWindow::exitEntry, chooseExit, "Ctrl+X", true},
        {&MainWindow::rulesEntry, chooseRules, "Ctrl+R", false},
        {&MainWindow::controlsEntry, chooseControls, "Ctrl+C", false},
        {&MainWindow::aboutEntry, chooseAbout, "Ctrl+A", true},
    };
    for (const MenuEntry& e : kEntries)
        if (e.control == control) return &e;
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

// Rules and Controls tell how to play in a box; the game stands while it is open, as for every box.
void chooseRules(Game& g) {
    message(
        g,
        "Two players share one keyboard. Each steers a mouse driving a little car around the kitchen "
        "floor: player 1 the dark mouse in the red car, player 2 the white mouse in the blue car. A car "
        "keeps going in its heading until it is steered, stopped, or crashes.\n\n"
        "Start: at start-up each player types a name and you choose a difficulty (1 Easy: 5 lives, tank "
        "30, speed 50; 2 Average: 4 lives, tank 25, speed 80; 3 Hard: 3 lives, tank 20, speed 100), then "
        "press Start the Game!\n\n"
        "Gas: driving burns one unit of gas a second. Drive into the gas station on the right to refuel: "
        "one point of your score buys one unit; press your stop key to leave early.\n\n"
        "Upgrades: drive into the upgrade station on the left to park. There your steering keys shop: up "
        "buys 5 tank for 100 points, down sells 5 tank for 100, right buys 5 speed for 200, left sells 5 "
        "speed for 200. Your stop key drives you out.\n\n"
        "Devices: the trap is always at hand: it costs the other car 10 gas (drive over your own to pick "
        "it up). Cheese rolls away at three times your speed and stops the car it hits for a countdown. A "
        "raspberry slick sends any car that runs onto it into a spin that costs tank size, gas and "
        "speed.\n\n"
        "Bonus items lie at random places: cheese (30 points), strawberry (40 points), a jam jar (five "
        "slicks) and a cheese crate (five pieces of cheese).\n\n"
        "Lives: hitting the wall or the other car, sliding into a station while spinning, or running out "
        "of gas costs a life. A player who loses with no life left ends the round, and the player with "
        "more points wins. The best winning score is kept with its holder's name and a comment.",
        Buttons::OK, "Rules");
}

void chooseControls(Game& g) {
    // The keys are named as the players' keyboard labels them, which need not be the letters.
    std::string text;
    for (std::size_t i = 0; i < kPlayers.size(); ++i) {
        const auto key = [&g, &row = kPlayers[i]](std::size_t role) {
            return g.platform.keyName(row.keys[role]);
        };
        text += "Player " + std::to_string(i + 1) + ": " + key(0) + " / " + key(1) + " / " + key(2) + " / " +
                key(3) + " steer up / down / left / right, " + key(4) +
                " stops (coasts to a halt) and leaves a station, " + key(5) + " selects the next device, " +
                key(6) + " drops the selected device.\n\n";
    }
    message(g,
            text +
                "Ctrl+P pauses and resumes, Ctrl+G opens Game Settings (new names and difficulty; this "
                "resets the game), Ctrl+H shows the high score, Ctrl+A the About window, Ctrl+X quits, F11 "
                "toggles full screen. After closing a window, click the playfield to give the keys back to "
                "the game.",
            Buttons::OK, "Controls");
}

// The players went to another application: a running game pauses as the pause entry pauses it, and
// waits for them to resume it.
void leaveForAnotherApplication(Game& g) {
    if (g.window.pauseEntry.enabled && !g.paused) choosePause(g);
}

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
