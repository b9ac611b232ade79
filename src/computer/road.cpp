// The road planner: dangers at each coming step, and a breadth-first search of the grid outwards
// from the target.
#include "computer/road.h"

#include <algorithm>
#include <cmath>

namespace squeakrun {

namespace {
constexpr float kGridLeft = kWallLow, kGridTop = kWallLow;
} // namespace

Box touching(float left, float top, float width, float height, float margin) {
    return {left - kCarBox - margin, top - kCarBox - margin, left + width + margin, top + height + margin};
}

Road::Road(const MainWindow& w, int player, Margins margins, float otherDx, float otherDy)
    : w_(w), margins_(margins), otherDx_(otherDx), otherDy_(otherDy) {
    const PlayerRow& otherRow = kPlayers[1 - player];
    const Control& other = w.*otherRow.car;
    otherShown_ = other.visible;
    otherLeft_ = other.left;
    otherTop_ = other.top;
    // Devices on the field: the other player's trap, both slicks (a car skids on its own too).
    // A trap gets a square berth as long as its longer side, whichever way it lies.
    const Control& trap = w.*otherRow.trap;
    const float trapSide = std::max(trap.width, trap.height);
    if (trap.visible) addHazard(touching(trap.left, trap.top, trapSide, trapSide, margins.hazard));
    for (const PlayerRow& row : kPlayers) {
        const Control& slick = w.*row.slick;
        if (slick.visible) addHazard(touching(slick.left, slick.top, kCarBox, kCarBox, margins.hazard));
    }
    const Control& cheese = w.*otherRow.cheese;
    cheeseShown_ = cheese.visible;
    cheeseLeft_ = cheese.left;
    cheeseTop_ = cheese.top;
    // Where the other car comes back after losing a life.
    addHazard(touching(otherRow.startLeft, otherRow.startTop, kCarBox, kCarBox, 40));
    // The same without the margin it keeps: where the car really comes to harm.
    for (std::size_t i = 0; i < hazardCount_; ++i) {
        const Box b = hazards_[i];
        const float m = margins.hazard;
        realHazards_[i] = {b.x0 + m, b.y0 + m, b.x1 - m, b.y1 - m};
    }
}

void Road::setCheeseStep(float dx, float dy) {
    cheeseDx_ = dx;
    cheeseDy_ = dy;
}

void Road::aimAt(Box target, const Control* station) {
    target_ = target;
    targetStation_ = station;
    inTheWayCount_ = 0;
    for (const Control* s : {&w_.gasStation, &w_.upgradeStation})
        if (s != station)
            inTheWay_[inTheWayCount_++] = touching(s->left, s->top, kStationWidth, kStationHeight, 0);
}

bool Road::danger(float x, float y, int step, bool margins) const {
    const float hazardMargin = margins ? margins_.hazard : 0, carMargin = margins ? margins_.car : 0;
    const float wall = hazardMargin;
    if (x <= kWallLow + wall || x >= kWallRight - wall || y <= kWallLow + wall || y >= kWallBottom - wall)
        return true;
    for (int i = 0; margins && i < inTheWayCount_; ++i)
        if (inTheWay_[i].has(x, y)) return true;
    const std::array<Box, kMostHazards>& hazards = margins ? hazards_ : realHazards_;
    for (std::size_t i = 0; i < hazardCount_; ++i)
        if (hazards[i].has(x, y)) return true;
    if (otherShown_) {
        // The other car may turn towards us: its reach grows with the steps ahead.
        const float reach = kCarBox + carMargin;
        const float ox = otherLeft_ + otherDx_ * static_cast<float>(step);
        const float oy = otherTop_ + otherDy_ * static_cast<float>(step);
        if (std::abs(x - ox) <= reach && std::abs(y - oy) <= reach) return true;
        if (std::abs(x - otherLeft_) <= reach && std::abs(y - otherTop_) <= reach) return true;
    }
    if (cheeseShown_) {
        const float reach = kCarBox + hazardMargin, k = static_cast<float>(step);
        if (std::abs(x - (cheeseLeft_ + cheeseDx_ * k)) <= reach &&
            std::abs(y - (cheeseTop_ + cheeseDy_ * k)) <= reach)
            return true;
    }
    return false;
}

void Road::plan() {
    // Every danger of a look, widened by half a cell, marks the cells whose centres it covers.
    dist_.fill(kFar);
    for (int c = -1; c <= kCols; ++c)
        dist_[cell(-1, c)] = dist_[cell(kRows, c)] = kBlocked;
    for (int r = 0; r < kRows; ++r)
        dist_[cell(r, -1)] = dist_[cell(r, kCols)] = kBlocked;
    const float grow = kCell / 2, wall = margins_.hazard + grow, far = 1e6f;
    block({-far, -far, kWallLow + wall, far});
    block({kWallRight - wall, -far, far, far});
    block({-far, -far, far, kWallLow + wall});
    block({-far, kWallBottom - wall, far, far});
    for (const Control* station : {&w_.gasStation, &w_.upgradeStation})
        if (station != targetStation_)
            block(touching(station->left, station->top, kStationWidth, kStationHeight, grow));
    for (std::size_t i = 0; i < hazardCount_; ++i) {
        const Box b = hazards_[i];
        block({b.x0 - grow, b.y0 - grow, b.x1 + grow, b.y1 + grow});
    }
    if (otherShown_) {
        const float reach = kCarBox + margins_.car + grow;
        block({otherLeft_ - reach, otherTop_ - reach, otherLeft_ + reach, otherTop_ + reach});
    }
    if (cheeseShown_) {
        const float reach = kCarBox + margins_.hazard + grow;
        for (int k = 0; k <= 10; ++k) {
            const float x = cheeseLeft_ + cheeseDx_ * static_cast<float>(k);
            const float y = cheeseTop_ + cheeseDy_ * static_cast<float>(k);
            block({x - reach, y - reach, x + reach, y + reach});
        }
    }
    // Then the distances, outwards from the target's free cells (even one a widened danger marks).
    std::array<std::int16_t, kCols * kRows> queue; // every cell enters it at most once
    int head = 0, tail = 0;
    const CellRange targetCells = cellsOf(target_);
    for (int r = targetCells.r0; r <= targetCells.r1; ++r)
        for (int c = targetCells.c0; c <= targetCells.c1; ++c)
            if (!danger(centreX(c), centreY(r), 0)) {
                dist_[cell(r, c)] = 0;
                queue[tail++] = static_cast<std::int16_t>(cell(r, c));
            }
    while (head < tail) {
        const int i = queue[head++];
        const auto d = static_cast<std::int16_t>(dist_[i] + 1);
        // The border all round is blocked: no neighbour falls off the grid.
        for (const int n : {i - 1, i + 1, i - kStride, i + kStride})
            if (dist_[n] == kFar) {
                dist_[n] = d;
                queue[tail++] = static_cast<std::int16_t>(n);
            }
    }
}

// The way to the centre of a free cell nearby and that cell's road on: so every twip driven the right
// way shows as a shorter road, also beside cells that are cut off.
float Road::roadFrom(float x, float y) const {
    if (target_.has(x, y)) return 0;
    const int c = std::clamp(static_cast<int>((x - kGridLeft) / kCell), 0, kCols - 1);
    const int r = std::clamp(static_cast<int>((y - kGridTop) / kCell), 0, kRows - 1);
    float best = kNoRoad;
    for (int rr = std::max(r - 1, 0); rr <= std::min(r + 1, kRows - 1); ++rr)
        for (int cc = std::max(c - 1, 0); cc <= std::min(c + 1, kCols - 1); ++cc) {
            const int d = dist_[cell(rr, cc)];
            if (d == kFar || d == kBlocked) continue;
            best = std::min(best, static_cast<float>(d) * kCell + std::abs(x - centreX(cc)) +
                                      std::abs(y - centreY(rr)));
        }
    return best;
}

Road::CellRange Road::cellsOf(const Box& b) {
    auto first = [](float from, float origin, int count) {
        return std::clamp(static_cast<int>(std::ceil((from - origin) / kCell - 0.5f)), 0, count);
    };
    auto last = [](float to, float origin, int count) {
        return std::clamp(static_cast<int>(std::floor((to - origin) / kCell - 0.5f)), -1, count - 1);
    };
    return {first(b.x0, kGridLeft, kCols), last(b.x1, kGridLeft, kCols), first(b.y0, kGridTop, kRows),
            last(b.y1, kGridTop, kRows)};
}

void Road::block(const Box& b) {
    const CellRange cells = cellsOf(b);
    for (int r = cells.r0; r <= cells.r1; ++r)
        for (int c = cells.c0; c <= cells.c1; ++c)
            dist_[cell(r, c)] = kBlocked;
}

float Road::centreX(int c) {
    return kGridLeft + (static_cast<float>(c) + 0.5f) * kCell;
}

float Road::centreY(int r) {
    return kGridTop + (static_cast<float>(r) + 0.5f) * kCell;
}

} // namespace squeakrun
