// The floor of make realtime's CPU figure: what a bare Qt widget of the game's size spends to show two
// cars driving, measured as the game and the peer are.
#pragma once

#include "figures.h"

namespace squeakrun::realtime {

// A player's loop on the field: clockwise round a box of its own, well clear of the walls, the
// stations and the other player's loop. A key is pressed only to turn, so every key changes the
// car's picture at once and shows on screen. The floor's boxes drive the same loops.
struct Loop {
    float x0, y0, x1, y1;
};
// Small loops, so that each player turns about every 300 ms and a run gathers over a hundred keys.
constexpr Loop kLoops[2] = {
    {1700, 800, 2300, 1250},  // player 1: above and right of the upgrade station
    {4100, 2800, 4700, 3250}, // player 2: below and left of the gas station
};

// Opens the widget at `scale`, lets it settle, and measures `seconds` of its boxes driving: the CPU of
// every thread of the process as a percentage of one core ("cpu.percent"), and its own thread's
// wake-ups and write calls a second ("main.wakes", "main.writes").
Figures runFloor(int argc, char** argv, int seconds, int scale);

} // namespace squeakrun::realtime
