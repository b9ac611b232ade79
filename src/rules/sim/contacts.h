// What the simulation ticks share: the contact box test, the wall, and losing a life.
#pragma once

#include "rules/state.h"

namespace squeakrun {

// Two boxes touch when they overlap or only meet at an edge. Sums are single precision.
inline bool boxesTouch(float leftA, float topA, float widthA, float heightA, float leftB, float topB,
                       float widthB, float heightB) {
    return topA + heightA >= topB && topB + heightB >= topA && leftB + widthB >= leftA &&
           leftA + widthA >= leftB;
}

// A car (a 240 x 240 box from its corner) against a thing of the given box size.
inline bool carTouches(const Control& car, const Control& thing, float width = kCarBox,
                       float height = kCarBox) {
    return boxesTouch(car.left, car.top, kCarBox, kCarBox, thing.left, thing.top, width, height);
}

// A car or a rolling cheese is in the wall around the field.
inline bool inWall(const Control& c) {
    return c.top <= kWallLow || c.top >= kWallBottom || c.left <= kWallLow || c.left >= kWallRight;
}

// A player who still has a life loses it and starts again (true); with none left the caller ends the
// game with its own message (false).
bool reviveIfAlive(Game& g, int player);

// Contact tests the contact tick runs, each written next to the rest of its rule.
void slickContacts(Game& g);
void bonusPickups(Game& g);
void cheeseContacts(Game& g);
void stationContacts(Game& g);

} // namespace squeakrun
