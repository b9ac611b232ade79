// Every event the window hands to the game: start-up and the start button, the ticks of the game
// clock, the key box, the menus and clicks, and the small windows' buttons. Each is a free function over
// the game; rules/ticks.cpp binds the ticks to their timers.
#pragma once

namespace squeakrun {

struct Game;

// Main window: start-up, the start button, reviving a player and the end of a game.
void startUp(Game& g);
void pressStartButton(Game& g);
void reviveCrashedCars(Game& g);
void endGame(Game& g);

// Keyboard.
void decodeKeyBox(Game& g);
void keyBoxUpkeepTick(Game& g);

// The simulation ticks.
void crashCheckTick(Game& g);
void bonusItemTick(Game& g);
void contactTick(Game& g);
void movementTick(Game& g);
void secondTick(Game& g);
void rollingTick(Game& g);
void refuelTick(Game& g);

// Menus and focus clicks.
void choosePause(Game& g);
void chooseGameSettings(Game& g);
void chooseHighScores(Game& g);
void chooseExit(Game& g);
void chooseRules(Game& g);
void chooseControls(Game& g);
void chooseAbout(Game& g);
void leaveForAnotherApplication(Game& g);
void clickPlayer1Gas(Game& g);
void clickPlayer2Gas(Game& g);
void clickPlayfield(Game& g);

// The small windows.
void closeAbout(Game& g);
void loadSettingsWindow(Game& g);
void applySettings(Game& g);
void cancelSettings(Game& g);
void loadScoresWindow(Game& g);
void closeHighScores(Game& g);

} // namespace squeakrun
