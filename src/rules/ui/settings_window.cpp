// The Game Settings window: loading it fills the difficulty list and copies the players' names;
// Apply writes new names and difficulty into the main window and asks for a reset, Cancel closes it.
#include "rules/boxes.h"
#include "rules/display.h"
#include "rules/events.h"
#include "rules/pausing.h"

namespace squeakrun {

void loadSettingsWindow(Game& g) {
    SettingsWindow& w = g.settings;
    w.difficultyList.items = {"Easy", "Average", "Hard"};
    w.difficultyList.listIndex = 0;
    w.player1NameBox.text = g.window.player1Name.caption;
    w.player2NameBox.text = g.window.player2Name.caption;
}

// Applying throws away the game in progress, so the players confirm first. The movement tick sees
// `settingsChanged` and puts the main window back to the state before the start button.
void applySettings(Game& g) {
    if (message(g, "This will reset your game, are you sure you want to proceed?", Buttons::YesNo,
                "Proceed with changes?") == Button::No)
        return;
    SettingsWindow& w = g.settings;
    g.window.player1Name.caption = w.player1NameBox.text;
    g.window.player2Name.caption = w.player2NameBox.text;

    for (Player& pl : g.players)
        pl.tankSize = 30;
    for (int i : {1, 0})
        showNumber(g.control(kPlayers[i].gasLabel), g.players[i].tankSize);

    static constexpr const char* kLevels[] = {"1", "2", "3"};
    if (w.difficultyList.listIndex >= 0 && w.difficultyList.listIndex < 3)
        g.difficulty = kLevels[w.difficultyList.listIndex];

    // The game stays paused until the reset; `carsMayMove` lets the movement tick run to perform it,
    // and the first bonus item is not placed again before a new game starts.
    g.paused = true;
    g.carsMayMove = true;
    g.window.pauseEntry.caption = kPauseCaption;
    g.settingsChanged = true;
    g.bonusItems[0].placed = true;
    w.visible = false;
}

// Cancel resumes the game; what was typed stays in the boxes for the next opening.
void cancelSettings(Game& g) {
    resumeGame(g);
    g.settings.visible = false;
}

} // namespace squeakrun
