// The computer driver's road planner: for one look, where its car may not be at each coming movement
// step (walls, the other car, traps, slicks, rolling cheese, the station it does not mean to enter),
// and how far the road is from any place to where it wants to go, on a coarse grid round all of it.
#pragma once

#include "rules/state.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace squeakrun {

// Car positions (top-left corners), inclusive on every side; empty when x1 < x0.
struct Box {
    float x0 = 0, y0 = 0, x1 = -1, y1 = -1;
    bool has(float x, float y) const { return x >= x0 && x <= x1 && y >= y0 && y <= y1; }
};

// The car positions at which a car touches a thing at (left, top) of that size, grown by `margin` all
// round (shrunk for a negative one).
Box touching(float left, float top, float width, float height, float margin);

// The berth a driver keeps beyond touching: from the other car, and from walls and what lies on the
// field.
struct Margins {
    float car = 0, hazard = 0;
};

// The planning grid's cells: a car-and-a-half wide, so a road round a car or a trap shows on it.
inline constexpr float kCell = 120;

class Road {
  public:
    // What lies on the field of `window` as player `player` (0 or 1) sees it; the other car goes on
    // by (otherDx, otherDy) each step, and may turn.
    Road(const MainWindow& window, int player, Margins margins, float otherDx, float otherDy);

    // The other player's cheese rolls on by this much each step.
    void setCheeseStep(float dx, float dy);
    // Where it wants to go: a box of car positions, or the station it drives into on purpose (the
    // other station then stands in its way like a wall). Then plan().
    void aimAt(Box target, const Control* station);
    void plan();

    // Whether a car at (x, y) after `step` movement steps comes to harm, or into a station it did not
    // mean to enter; without `margins`, only whether it really comes to harm.
    bool danger(float x, float y, int step, bool margins = true) const;
    // Whether a car at (x, y) has reached the station it drives into, where it parks.
    bool parks(float x, float y) const { return targetStation_ && target_.has(x, y); }
    // How far the road to the target is from a car at (x, y), in twips; kNoRoad when none leads there.
    float roadFrom(float x, float y) const;

    static constexpr float kNoRoad = 10000 * kCell;

  private:
    static constexpr int kCols = static_cast<int>((kWallRight - kWallLow) / kCell);
    static constexpr int kRows = static_cast<int>((kWallBottom - kWallLow) / kCell);
    static constexpr auto kFar = static_cast<std::int16_t>(kNoRoad / kCell); // no road from there
    static constexpr std::int16_t kBlocked = -1; // a danger lies there, or the grid ends
    // The grid with a blocked border, row by row: a cell's road to the target in cells, or kBlocked.
    static constexpr int kStride = kCols + 2;
    static int cell(int r, int c) { return (r + 1) * kStride + c + 1; }
    struct CellRange {
        int c0, c1, r0, r1; // the cells whose centres lie in a box; empty when c1 < c0 or r1 < r0
    };
    static CellRange cellsOf(const Box& b);
    static float centreX(int c);
    static float centreY(int r);
    void block(const Box& b);

    const MainWindow& w_;
    Margins margins_;
    float otherDx_, otherDy_;
    bool otherShown_ = false;
    float otherLeft_ = 0, otherTop_ = 0;
    bool cheeseShown_ = false;
    float cheeseLeft_ = 0, cheeseTop_ = 0, cheeseDx_ = 0, cheeseDy_ = 0;
    // What lies still on the field, with the margin kept and without it: the other player's trap, a
    // slick of each player and the other car's start place, each at most once, so the list is full
    // exactly when all of them lie on the field. A new kind of thing on the field needs its place
    // counted here; until then adding it throws rather than writing past the list.
    static constexpr std::size_t kMostHazards = 1 + std::size(kPlayers) + 1;
    void addHazard(const Box& b) { hazards_.at(hazardCount_++) = b; }
    std::array<Box, kMostHazards> hazards_{}, realHazards_{};
    std::size_t hazardCount_ = 0;
    std::array<Box, 2> inTheWay_{}; // the stations it does not drive into
    int inTheWayCount_ = 0;
    Box target_;
    const Control* targetStation_ = nullptr;
    std::array<std::int16_t, kStride*(kRows + 2)> dist_{};
};

} // namespace squeakrun
