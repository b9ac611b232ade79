// Pausing and resuming a game, from the pause entry, the small windows and the start of a game.
#pragma once

#include "rules/state.h"

#include <string_view>

namespace squeakrun {

// The pause entry's caption while a game may be paused, and while a paused game waits to go on.
inline constexpr std::string_view kPauseCaption = "Pause Game", kResumeCaption = "Un-pause Game";

// The pause menu entry's caption and the flags of the shared pause protocol. Resuming lets the cars
// move only in a game that runs, not while the start button waits for the next one.
void pauseGame(Game& g);
void resumeGame(Game& g);

} // namespace squeakrun
