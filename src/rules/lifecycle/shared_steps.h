// The game's lifecycle: start-up and the start button (start.cpp), reviving a player (revive.cpp), the
// end of a game and its new-game reset (game_end.cpp) and the settings reset (settings_reset.cpp), and
// the steps they share.
#pragma once

#include "rules/state.h"

namespace squeakrun {

// The difficulty 1, 2 or 3 that `difficulty` holds as a number; 0 when it holds anything else.
int difficultyLevel(const Game& g);

// Applies the difficulty table for `difficulty` to both players (lives, full tank, start speed, and from them
// the tank sizes and speeds) and names it in the Game Settings window. Leaves everything as it is when
// `difficulty` is not 1, 2 or 3.
void applyDifficulty(Game& g);

// Loads "hscore.txt" into the main window's high-score box ("0" when it is empty) and takes the number
// at its start as the high score.
void readHighScore(Game& g);

// Hides a player's dropped slick and cheese and moves them, with the trap, to the field's corner.
void putDevicesAway(Game& g, int player);
void putDevicesAway(Game& g); // both players'

// Clears and hides both gauges, shows the empty upgrade station and stops the refuelling timer.
void closeStations(Game& g);

// Both cars back at their start places.
void placeCarsAtStart(Game& g);

// Both cars facing down, the way every game begins.
void faceCarsDown(Game& g);

// New names or a new difficulty took effect: clear the field and wait for the start button again.
void settingsReset(Game& g);

} // namespace squeakrun
