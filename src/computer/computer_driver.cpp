// The computer driver: how it reads the window, where it wants to go, how it finds a safe road there,
// when it shops, refuels and drops devices, and the walk of the clock that lets it look.
#include "computer/computer_driver.h"

#include "rules/key_box.h"
#include "rules/ticks.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <string_view>

namespace squeakrun {

namespace {

// How each skill drives. Easy reacts late, presses few keys, forgets that its own reaction takes time
// (so it turns too late now and then), sometimes presses the wrong key or looks away, keeps more speed
// than it can handle and seldom uses a device; Hard reacts at once, keeps a wider berth, buys a bigger
// tank, uses every chance for a device and leaves an item to the other car when that car gets there
// first.
struct SkillTraits {
    std::int64_t reactionMs; // from seeing a thing to pressing the key for it
    std::int64_t keyGapMs;   // the least time between two keys
    int safetySteps;         // movement steps of its road it checks beyond its reaction time
    float carMargin;         // twips it keeps from the other car beyond touching it
    float hazardMargin;      // ... and from walls, traps, slicks and cheese
    double keepSpeed;        // in the upgrade station it sells speed down to this
    Count buyTankTo;         // and buys tank up to this while the points last
    Count gasReserve;        // seconds of gas it keeps over the trip to the gas station
    float slipChance;        // that a steering key it means comes out as another one
    float lapseChance;       // a look, that its attention wanders
    std::int64_t lapseMs;    // for this long
    float deviceChance;      // that it takes a chance to drop a device when one comes
    float rivalSense;        // how far it leaves alone an item the other car reaches first
};

constexpr std::array<SkillTraits, 3> kSkills = {{
    // reaction, key gap, safety steps, car margin, hazard margin, keep speed, buy tank to, gas reserve,
    // slip chance, lapse chance, lapse, device chance, rival sense
    {300, 250, 4, 120, 0, 55, 0, 4, 0.04f, 0.003f, 600, 0.25f, 0},   // Easy
    {150, 120, 8, 90, 20, 50, 30, 5, 0.005f, 0.0005f, 300, 0.6f, 0}, // Average
    {30, 60, 4, 150, 40, 50, 35, 6, 0, 0, 0, 1, 0.8f},               // Hard
}};

// The field a car's top-left corner may stand on without touching the wall, and the coarse grid the
// driver plans its roads on.
constexpr float kCell = 120;
constexpr int kCols = 50, kRows = 31;
constexpr float kGridLeft = kWallLow, kGridTop = kWallLow;
// How many movement steps ahead it follows each heading it could take.
constexpr int kPlanSteps = 60;
// How far past its reaction a heading is judged: four cells, so that a road round an obstacle counts.
constexpr float kJudgeAhead = 4 * kCell;

struct Box {
    float x0 = 0, y0 = 0, x1 = -1, y1 = -1; // inclusive; empty when x1 < x0
    bool has(float x, float y) const { return x >= x0 && x <= x1 && y >= y0 && y <= y1; }
};

// The car positions (top-left corners) at which a car touches a thing at (left, top) of that size,
// grown by `margin` all round.
Box touching(float left, float top, float width, float height, float margin) {
    return {left - kCarBox - margin, top - kCarBox - margin, left + width + margin, top + height + margin};
}

const std::array<std::string_view, 4> kHeadingEndings = {"left.gif", "down.gif", "right.gif", "up.gif"};

// A car picture's heading, or None for a crash picture.
Heading pictureHeading(std::string_view picture, std::string_view prefix) {
    if (picture.substr(0, prefix.size()) != prefix) return None;
    picture.remove_prefix(prefix.size());
    for (int h = 0; h < 4; ++h)
        if (picture == kHeadingEndings[h]) return static_cast<Heading>(h + 1);
    return None;
}

Count captionNumber(std::string_view text) {
    Count value = 0;
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

// The number after a gauge line's label, such as 35 in "Gas: 35".
double gaugeNumber(const Control& gauge, std::size_t line) {
    if (gauge.lines.size() <= line) return -1;
    std::string_view text = gauge.lines[line];
    const auto colon = text.find(": ");
    if (colon == std::string_view::npos) return -1;
    text.remove_prefix(colon + 2);
    double value = -1;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

float stepX(Heading h) {
    return h == Left ? -1.f : h == Right ? 1.f : 0.f;
}
float stepY(Heading h) {
    return h == Up ? -1.f : h == Down ? 1.f : 0.f;
}

// What a bonus item is worth to the driver: its points, or a stock of devices.
struct ItemKind {
    std::string_view picture;
    int worth;
    bool cheese, slicks;
};
constexpr std::array<ItemKind, 4> kItemKinds = {{
    {"cheese.gif", 30, false, false},
    {"strawb.gif", 40, false, false},
    {"cheeseblob.gif", 25, true, false},
    {"slickpup.gif", 25, false, true},
}};

int itemKind(std::string_view picture) {
    for (int k = 0; k < static_cast<int>(kItemKinds.size()); ++k)
        if (picture == kItemKinds[k].picture) return k;
    return -1;
}

} // namespace

// Everything the driver reads off the window at one look.
struct ComputerDriver::View {
    const MainWindow& w;
    const PlayerRow& row;
    const PlayerRow& otherRow;
    bool running = false;
    const Control& self;
    const Control& other;
    Heading seenHeading = None;
    bool splattered = false; // standing out a cheese crash
    bool shopping = false;   // parked in the upgrade station: its gauge shows
    Count gas = 0, score = 0, lives = 0;
    Device device = Device::None;
    Count stock = -1; // the selected device's stock; -1 for the trap's "Infinite"

    View(const MainWindow& window, int player)
        : w(window), row(kPlayers[player]), otherRow(kPlayers[1 - player]), self(w.*row.car),
          other(w.*otherRow.car) {
        running = !w.startButton.visible;
        seenHeading = pictureHeading(self.picture, row.carPrefix);
        const Control& countdown = w.*row.countdownLabel;
        splattered =
            self.picture == row.cheeseCrashPicture && !(countdown.visible && countdown.caption == "Go!");
        const Control& gauge = w.*row.gauge;
        shopping = !self.visible && gauge.visible;
        gas = captionNumber((w.*row.gasLabel).caption);
        score = captionNumber((w.*row.scoreLabel).caption);
        lives = captionNumber((w.*row.livesLabel).caption);
        const std::string& devicePicture = (w.*row.deviceLabel).picture;
        device = devicePicture == "cheeseselect.gif"      ? Device::Cheese
                 : devicePicture == "raspslickselect.gif" ? Device::Slick
                                                          : Device::Trap;
        const std::string& stockText = (w.*row.stockLabel).caption;
        stock = stockText == "Infinite" ? -1 : captionNumber(stockText);
    }
};

namespace {

// One look's picture of the road: where the car may not be at each coming movement step, and the
// planning grid's distances to where it wants to go.
class Road {
  public:
    Road(const MainWindow& w, int player, const SkillTraits& t, float otherDx, float otherDy)
        : w_(w), t_(t), otherDx_(otherDx), otherDy_(otherDy) {
        const Control& other = w.*kPlayers[1 - player].car;
        otherShown_ = other.visible;
        otherLeft_ = other.left;
        otherTop_ = other.top;
        // Devices on the field: the other player's trap, both slicks (a car skids on its own too).
        const Control& trap = w.*kPlayers[1 - player].trap;
        if (trap.visible) hazards_[hazardCount_++] = touching(trap.left, trap.top, 255, 255, t.hazardMargin);
        for (const PlayerRow& row : kPlayers) {
            const Control& slick = w.*row.slick;
            if (slick.visible)
                hazards_[hazardCount_++] = touching(slick.left, slick.top, kCarBox, kCarBox, t.hazardMargin);
        }
        const Control& cheese = w.*kPlayers[1 - player].cheese;
        cheeseShown_ = cheese.visible;
        cheeseLeft_ = cheese.left;
        cheeseTop_ = cheese.top;
        // Where the other car comes back after losing a life.
        const PlayerRow& otherRow = kPlayers[1 - player];
        hazards_[hazardCount_++] = touching(otherRow.startLeft, otherRow.startTop, kCarBox, kCarBox, 40);
        // The same without the margin it keeps: where the car really comes to harm.
        for (int i = 0; i < hazardCount_; ++i) {
            const Box b = hazards_[i];
            const float m = t.hazardMargin;
            realHazards_[i] = {b.x0 + m, b.y0 + m, b.x1 - m, b.y1 - m};
        }
    }

    void setCheeseStep(float dx, float dy) {
        cheeseDx_ = dx;
        cheeseDy_ = dy;
    }

    // The station it drives into on purpose; the other one is in its way like a wall.
    void aimAt(Box target, const Control* station) {
        target_ = target;
        targetStation_ = station;
        inTheWayCount_ = 0;
        for (const Control* s : {&w_.gasStation, &w_.upgradeStation})
            if (s != station)
                inTheWay_[inTheWayCount_++] = touching(s->left, s->top, kStationWidth, kStationHeight, 0);
    }

    // Whether a car at (x, y) after `step` movement steps comes to harm, or into a station it did not
    // mean to enter; without `margins`, only whether it really comes to harm.
    bool danger(float x, float y, int step, bool margins = true) const {
        const float hazardMargin = margins ? t_.hazardMargin : 0, carMargin = margins ? t_.carMargin : 0;
        const float wall = hazardMargin;
        if (x <= kWallLow + wall || x >= kWallRight - wall || y <= kWallLow + wall || y >= kWallBottom - wall)
            return true;
        for (int i = 0; margins && i < inTheWayCount_; ++i)
            if (inTheWay_[i].has(x, y)) return true;
        const std::array<Box, 4>& hazards = margins ? hazards_ : realHazards_;
        for (int i = 0; i < hazardCount_; ++i)
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

    // Whether a car at (x, y) has reached the station it drives into, where it parks.
    bool parks(float x, float y) const { return targetStation_ && target_.has(x, y); }

    // Distances on the grid (in cells) from every cell to the target, through cells free of danger.
    void plan() {
        // Every danger of a look, widened by half a cell, marks the cells whose centres it covers.
        dist_.fill(kFar);
        for (int c = -1; c <= kCols; ++c)
            dist_[cell(-1, c)] = dist_[cell(kRows, c)] = kBlocked;
        for (int r = 0; r < kRows; ++r)
            dist_[cell(r, -1)] = dist_[cell(r, kCols)] = kBlocked;
        const float grow = kCell / 2, wall = t_.hazardMargin + grow, far = 1e6f;
        block({-far, -far, kWallLow + wall, far});
        block({kWallRight - wall, -far, far, far});
        block({-far, -far, far, kWallLow + wall});
        block({-far, kWallBottom - wall, far, far});
        for (const Control* station : {&w_.gasStation, &w_.upgradeStation})
            if (station != targetStation_)
                block(touching(station->left, station->top, kStationWidth, kStationHeight, grow));
        for (int i = 0; i < hazardCount_; ++i) {
            const Box b = hazards_[i];
            block({b.x0 - grow, b.y0 - grow, b.x1 + grow, b.y1 + grow});
        }
        if (otherShown_) {
            const float reach = kCarBox + t_.carMargin + grow;
            block({otherLeft_ - reach, otherTop_ - reach, otherLeft_ + reach, otherTop_ + reach});
        }
        if (cheeseShown_) {
            const float reach = kCarBox + t_.hazardMargin + grow;
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

    // How far the road to the target is from a car at (x, y), in twips: the way to the centre of a
    // free cell nearby and that cell's road on. So every twip driven the right way shows as a shorter
    // road, also beside cells that are cut off.
    float roadFrom(float x, float y) const {
        if (target_.has(x, y)) return 0;
        const int c = std::clamp(static_cast<int>((x - kGridLeft) / kCell), 0, kCols - 1);
        const int r = std::clamp(static_cast<int>((y - kGridTop) / kCell), 0, kRows - 1);
        float best = static_cast<float>(kFar) * kCell;
        for (int rr = std::max(r - 1, 0); rr <= std::min(r + 1, kRows - 1); ++rr)
            for (int cc = std::max(c - 1, 0); cc <= std::min(c + 1, kCols - 1); ++cc) {
                const int d = dist_[cell(rr, cc)];
                if (d == kFar || d == kBlocked) continue;
                best = std::min(best, static_cast<float>(d) * kCell + std::abs(x - centreX(cc)) +
                                          std::abs(y - centreY(rr)));
            }
        return best;
    }

    static constexpr std::int16_t kFar = 10000;  // no road to the target from there
    static constexpr std::int16_t kBlocked = -1; // a danger lies there, or the grid ends

  private:
    // The cells whose centres lie in a box (empty when c1 < c0 or r1 < r0).
    struct CellRange {
        int c0, c1, r0, r1;
    };
    static CellRange cellsOf(const Box& b) {
        auto first = [](float from, float origin, int count) {
            return std::clamp(static_cast<int>(std::ceil((from - origin) / kCell - 0.5f)), 0, count);
        };
        auto last = [](float to, float origin, int count) {
            return std::clamp(static_cast<int>(std::floor((to - origin) / kCell - 0.5f)), -1, count - 1);
        };
        return {first(b.x0, kGridLeft, kCols), last(b.x1, kGridLeft, kCols), first(b.y0, kGridTop, kRows),
                last(b.y1, kGridTop, kRows)};
    }
    void block(const Box& b) {
        const CellRange cells = cellsOf(b);
        for (int r = cells.r0; r <= cells.r1; ++r)
            for (int c = cells.c0; c <= cells.c1; ++c)
                dist_[cell(r, c)] = kBlocked;
    }
    static float centreX(int c) { return kGridLeft + (static_cast<float>(c) + 0.5f) * kCell; }
    static float centreY(int r) { return kGridTop + (static_cast<float>(r) + 0.5f) * kCell; }

    const MainWindow& w_;
    const SkillTraits& t_;
    float otherDx_, otherDy_;
    bool otherShown_ = false;
    float otherLeft_ = 0, otherTop_ = 0;
    bool cheeseShown_ = false;
    float cheeseLeft_ = 0, cheeseTop_ = 0, cheeseDx_ = 0, cheeseDy_ = 0;
    std::array<Box, 4> hazards_{}, realHazards_{};
    int hazardCount_ = 0;
    std::array<Box, 2> inTheWay_{}; // the stations it does not drive into
    int inTheWayCount_ = 0;
    Box target_;
    const Control* targetStation_ = nullptr;
    // The grid with a blocked border, row by row: a cell's road to the target in cells, or kBlocked.
    static constexpr int kStride = kCols + 2;
    static int cell(int r, int c) { return (r + 1) * kStride + c + 1; }
    std::array<std::int16_t, kStride*(kRows + 2)> dist_{};
};

} // namespace

ComputerDriver::ComputerDriver(int player, Skill skill, std::uint64_t seed)
    : player_(player), skill_(skill), rng_(seed ^ 0xC2B2AE3D27D4EB4FULL) {
    rng_.randomize(player);
}

bool ComputerDriver::queue(char key, std::int64_t now) {
    const SkillTraits& t = kSkills[static_cast<int>(skill_)];
    if (now < nextKeyAt_ || pendingCount_ == static_cast<int>(pending_.size())) return false;
    pending_[pendingCount_++] = {now + t.reactionMs, key};
    nextKeyAt_ = now + t.keyGapMs;
    return true;
}

void ComputerDriver::remember(const View& v, std::int64_t now) {
    if (lives_ >= 0 && v.lives < lives_) {
        // Back at the start after a lost life: standing, the trap selected, no stock left.
        heading_ = None;
        cheeseStock_ = slickStock_ = 0;
        pendingCount_ = 0;
    }
    lives_ = v.lives;
    if (v.device == Device::Cheese && v.stock >= 0) cheeseStock_ = v.stock;
    if (v.device == Device::Slick && v.stock >= 0) slickStock_ = v.stock;
    if (v.shopping) {
        const Control& gauge = v.w.*v.row.gauge;
        const double tank = gaugeNumber(gauge, 0), speed = gaugeNumber(gauge, 1);
        if (tank > 0) tank_ = static_cast<Count>(tank);
        if (speed > 0) speed_ = speed;
    }
    tank_ = std::max(tank_, v.gas);
    if (speed_ <= 0) {
        // Before it has seen its speed, the difficulty its full tank belongs to tells it.
        for (const Difficulty& d : kDifficulties)
            if (d.tank == tank_) speed_ = d.speed;
        if (speed_ <= 0) speed_ = 80;
    }
    // Its own road step, when it drove straight since the last look.
    if (self_.visible && v.self.visible && lastLook_ >= 0 && now - lastLook_ == kLookStepMs) {
        const float moved = std::abs(v.self.left - self_.left) + std::abs(v.self.top - self_.top);
        if (moved >= 20 && moved <= 200 && v.seenHeading == heading_ &&
            !(v.self.left != self_.left && v.self.top != self_.top))
            speed_ = moved;
    }
    // A car it finds on the move (it took the wheel mid-game) goes where its picture points.
    if (heading_ == None && self_.visible && v.self.visible &&
        (v.self.left != self_.left || v.self.top != self_.top))
        heading_ = v.seenHeading;
    // Device stock from the bonus items it drove over.
    for (int k = 0; k < 2; ++k) {
        const Control& item = k == 0 ? v.w.bonusItem1 : v.w.bonusItem2;
        const bool gone = !item.visible || item.left != items_[k].left || item.top != items_[k].top;
        if (items_[k].visible && gone && itemKinds_[k] >= 0 && v.self.visible &&
            touching(items_[k].left, items_[k].top, kCarBox, kCarBox, 20).has(v.self.left, v.self.top)) {
            if (kItemKinds[itemKinds_[k]].cheese) cheeseStock_ += 5;
            if (kItemKinds[itemKinds_[k]].slicks) slickStock_ += 5;
        }
        items_[k] = {item.left, item.top, item.visible};
        itemKinds_[k] = itemKind(item.picture);
    }
    // The other car's last step; a jump (a new life, leaving a station) is no step.
    if (other_.visible && v.other.visible) {
        otherDx_ = v.other.left - other_.left;
        otherDy_ = v.other.top - other_.top;
        if (std::abs(otherDx_) + std::abs(otherDy_) > 200) otherDx_ = otherDy_ = 0;
    } else {
        otherDx_ = otherDy_ = 0;
    }
    const Control& cheese = v.w.*v.otherRow.cheese;
    cheeseDx_ = cheese.visible && otherCheese_.visible ? cheese.left - otherCheese_.left : 0;
    cheeseDy_ = cheese.visible && otherCheese_.visible ? cheese.top - otherCheese_.top : 0;
    otherCheese_ = {cheese.left, cheese.top, cheese.visible};
    // A picture that changed without a key of its own: the car skids on a slick.
    if (v.self.visible && self_.visible && v.seenHeading != lastSeenHeading_ && v.seenHeading != None &&
        lastSeenHeading_ != None && now - steeredAt_ > kLookStepMs)
        spinUntil_ = now + 2 * kLookStepMs;
    lastSeenHeading_ = v.seenHeading;
    self_ = {v.self.left, v.self.top, v.self.visible};
    other_ = {v.other.left, v.other.top, v.other.visible};
    lastLook_ = now;
}

void ComputerDriver::shop(const View& v, std::int64_t now) {
    const SkillTraits& t = kSkills[static_cast<int>(skill_)];
    if (now < deviceBusyUntil_) return; // the gauge has not shown the last key's effect yet
    const std::string_view keys = v.row.keys;
    // Points it must have to fill the tank once it is out again.
    const bool shortOfPoints = v.score < tank_ - v.gas + 10;
    char key = keys[4]; // leave
    if (speed_ > t.keepSpeed && speed_ > 20)
        key = keys[2]; // sell speed
    else if (shortOfPoints && tank_ >= 15)
        key = keys[1]; // sell tank
    else if (tank_ < t.buyTankTo && v.score >= 100 + tank_ + 20)
        key = keys[0]; // buy tank
    if (!queue(key, now)) return;
    deviceBusyUntil_ = now + t.reactionMs + kLookStepMs;
    if (key == keys[4]) heading_ = Right; // it comes out beside the station, heading right
}

void ComputerDriver::steer(const View& v, std::int64_t now) {
    const SkillTraits& t = kSkills[static_cast<int>(skill_)];
    const float s = static_cast<float>(speed_);
    const float x0 = v.self.left, y0 = v.self.top;
    const Control& gasStation = v.w.gasStation;
    const Control& upgradeStation = v.w.upgradeStation;
    auto trip = [&](const Control& station) { // seconds of driving to a station
        const float dx = std::max(0.f, std::abs(station.left + kStationWidth / 2 - x0) - kStationWidth / 2);
        const float dy = std::max(0.f, std::abs(station.top + kStationHeight / 2 - y0) - kStationHeight / 2);
        // Roads go round the other car and what lies on the field: half as far again as the crow flies.
        return static_cast<Count>((dx + dy) * 1.5f / s * kLookStepMs / 1000) + 1;
    };
    const Count gasTrip = trip(gasStation);
    const bool needGas = v.gas <= gasTrip + t.gasReserve;
    const bool canPay = v.score >= tank_ - v.gas + gasTrip + 1;
    const bool wantShop =
        speed_ > t.keepSpeed + 1 || (tank_ < t.buyTankTo && v.score >= 100 + tank_ + 20) ||
        (needGas && !canPay && (speed_ > 20 || tank_ >= 15) && v.gas > trip(upgradeStation));

    Road road(v.w, player_, t, otherDx_, otherDy_);
    road.setCheeseStep(cheeseDx_, cheeseDy_);
    if (needGas && canPay)
        road.aimAt(touching(gasStation.left, gasStation.top, kStationWidth, kStationHeight, -20),
                   &gasStation);
    else if (wantShop)
        road.aimAt(touching(upgradeStation.left, upgradeStation.top, kStationWidth, kStationHeight, -20),
                   &upgradeStation);
    else {
        // The bonus item worth most for the way there: the nearer and the more valuable first.
        Box best{2940, 1800, 3540, 2400};
        float bestValue = 0;
        for (int k = 0; k < 2; ++k) {
            if (!items_[k].visible || itemKinds_[k] < 0) continue;
            // An item beside the other car is not worth a crash.
            const float nearOther = 2 * kCarBox + t.carMargin;
            if (v.other.visible && std::abs(items_[k].left - v.other.left) <= nearOther &&
                std::abs(items_[k].top - v.other.top) <= nearOther)
                continue;
            const float way = std::abs(items_[k].left - x0) + std::abs(items_[k].top - y0);
            float value = static_cast<float>(kItemKinds[itemKinds_[k]].worth) / (way + 400);
            // One the other car gets to first is worth little to a driver that sees it coming.
            const float otherSpeed = std::abs(otherDx_) + std::abs(otherDy_);
            const float otherWay =
                std::abs(items_[k].left - v.other.left) + std::abs(items_[k].top - v.other.top);
            if (v.other.visible && otherSpeed > 0 && otherWay / otherSpeed < way / s)
                value *= 1 - t.rivalSense;
            if (value > bestValue) {
                bestValue = value;
                best = touching(items_[k].left, items_[k].top, kCarBox, kCarBox, -30);
            }
        }
        road.aimAt(best, nullptr);
    }
    road.plan();

    // Each heading it could take: safe for as far as it must look ahead, and how long the road is then.
    const int reactSteps = static_cast<int>((t.reactionMs + kLookStepMs - 1) / kLookStepMs);
    const int horizon = reactSteps + t.safetySteps;
    // Where each heading is judged: some way past where its key takes effect, whatever the speed.
    const int judgedAt = reactSteps + static_cast<int>(std::ceil(kJudgeAhead / s));
    const int lastStep = std::min(std::max(horizon, judgedAt) + 1, kPlanSteps);
    // Best: safe with its margins for as far as it must look ahead, then the shortest road; when no
    // heading is, the one that keeps clear of real harm the longest.
    struct Choice {
        Heading heading = None;
        int survival = -1, strictSurvival = -1;
        float cost = std::numeric_limits<float>::max();
    };
    Choice best{heading_};
    for (int h = Left; h <= Up; ++h) {
        Choice c{static_cast<Heading>(h), kPlanSteps, kPlanSteps};
        float x = x0, y = y0, blocked = std::numeric_limits<float>::max();
        for (int step = 1; step <= lastStep; ++step) {
            const Heading going = step <= reactSteps ? heading_ : c.heading;
            x += stepX(going) * s;
            y += stepY(going) * s;
            if (road.parks(x, y)) {
                c.cost = std::min(c.cost, static_cast<float>(step) * s);
                break; // in the station it meant to reach the car stands, safe
            }
            if (c.strictSurvival == kPlanSteps && road.danger(x, y, step, false)) c.strictSurvival = step;
            if (c.survival == kPlanSteps && road.danger(x, y, step)) c.survival = step;
            if (c.survival < kPlanSteps && (step > horizon || c.strictSurvival < kPlanSteps)) break;
            if (c.survival < kPlanSteps) continue;
            // The way driven and the road left from a few steps on: a heading that only puts off
            // turning round costs the way there and back. A heading that runs into something before
            // then is judged where it must turn.
            const float left = road.roadFrom(x, y);
            const float judged = static_cast<float>(step) * s + left;
            if (step == judgedAt || (left == 0 && step < judgedAt)) c.cost = std::min(c.cost, judged);
            if (step < judgedAt) blocked = judged + kCell;
            if (left == 0 && step > horizon) break;
        }
        if (c.cost == std::numeric_limits<float>::max()) c.cost = blocked;
        if (c.heading != heading_) c.cost += kCell / 2;
        const bool safe = c.survival > horizon, bestSafe = best.survival > horizon;
        const bool better =
            safe ? !bestSafe || c.cost < best.cost
                 : !bestSafe && (c.strictSurvival > best.strictSurvival ||
                                 (c.strictSurvival == best.strictSurvival && c.survival > best.survival));
        if (better) best = c;
    }
    const std::string_view keys = v.row.keys;
    auto steeringKey = [&keys](Heading h) { return keys[h == Up ? 0 : h == Down ? 1 : h == Left ? 2 : 3]; };
    if (best.heading != heading_) {
        Heading pressed = best.heading;
        if (t.slipChance > 0 && rng_.next() < t.slipChance)
            pressed = static_cast<Heading>(1 + static_cast<int>(rng_.next() * 4));
        if (queue(steeringKey(pressed), now)) heading_ = best.heading;
    } else if (heading_ != None && v.seenHeading != heading_ && pendingCount_ == 0 &&
               now - steeredAt_ > t.reactionMs + 4 * kLookStepMs) {
        queue(steeringKey(heading_), now); // a key that was lost, or a wrong one, or "Go!" after cheese
    }
}

void ComputerDriver::useDevices(const View& v, std::int64_t now) {
    const SkillTraits& t = kSkills[static_cast<int>(skill_)];
    if (now < deviceBusyUntil_ || heading_ == None || v.seenHeading != heading_ || !v.other.visible) return;
    const Device wanted = cheeseStock_ > 0 ? Device::Cheese : slickStock_ > 0 ? Device::Slick : Device::Trap;
    const std::string_view keys = v.row.keys;
    if (v.device != wanted) {
        if (queue(keys[5], now)) deviceBusyUntil_ = now + t.reactionMs + 2 * kLookStepMs;
        return;
    }
    const float x = v.self.left, y = v.self.top, s = static_cast<float>(speed_);
    const float dx = stepX(heading_), dy = stepY(heading_);
    // Whether the other car, going on as it goes, runs into a thing laid at (left, top).
    auto otherMeets = [&](float left, float top, float width, float height, float thingDx, float thingDy) {
        for (int k = 1; k <= 40; ++k) {
            const float fk = static_cast<float>(k);
            const float tl = left + thingDx * fk, tt = top + thingDy * fk;
            if (tl <= kWallLow || tl >= kWallRight || tt <= kWallLow || tt >= kWallBottom) return false;
            if (touching(tl, tt, width, height, 0)
                    .has(v.other.left + otherDx_ * fk, v.other.top + otherDy_ * fk))
                return true;
        }
        return false;
    };
    bool chance = false;
    if (wanted == Device::Trap && !(v.w.*v.row.trap).visible) {
        // The trap lands behind the car: beside it across the road, or a trap's length behind.
        const bool across = dy == 0;
        const float back = (dx > 0 || dy > 0) ? -375.f : 255.f;
        chance = otherMeets(across ? x + back : x, across ? y : y + back, across ? 255 : 135,
                            across ? 135 : 255, 0, 0);
    } else if (wanted == Device::Slick && !(v.w.*v.row.slick).visible) {
        chance = otherMeets(x - dx * 255, y - dy * 255, kCarBox, kCarBox, 0, 0);
    } else if (wanted == Device::Cheese && !(v.w.*v.row.cheese).visible) {
        chance = otherMeets(x, y, kCarBox, kCarBox, dx * 3 * s, dy * 3 * s);
    }
    if (!chance) return;
    if (now < nextKeyAt_) return; // no key yet: the chance is still there at the next look
    if (rng_.next() >= t.deviceChance)
        deviceBusyUntil_ = now + 1000; // it lets this chance go by
    else if (queue(keys[6], now))
        deviceBusyUntil_ = now + t.reactionMs + 3 * kLookStepMs;
}

void ComputerDriver::decide(const View& v, std::int64_t now) {
    const SkillTraits& t = kSkills[static_cast<int>(skill_)];
    if (now < lapseUntil_) return;
    if (t.lapseChance > 0 && rng_.next() < t.lapseChance) {
        lapseUntil_ = now + t.lapseMs;
        return;
    }
    if (v.splattered) return;
    if (v.shopping) return shop(v, now);
    if (!v.self.visible || now < spinUntil_) return; // refuelling, or skidding: its keys would be lost
    steer(v, now);
    useDevices(v, now);
}

KeyPresses ComputerDriver::look(const MainWindow& window, std::int64_t now) {
    KeyPresses out;
    const View v(window, player_);
    if (!v.running) {
        // Between games it forgets the last one, all but its own stream of slips.
        const Random rng = rng_;
        *this = ComputerDriver(player_, skill_, 0);
        rng_ = rng;
        return out;
    }
    // While the menu offers to resume a paused game, a key would only pile up in the key box to be
    // thrown away: it waits, and what it had decided on waits with it.
    if (window.pauseEntry.caption == "Un-pause Game") return out;
    remember(v, now);
    decide(v, now);
    int kept = 0;
    for (int i = 0; i < pendingCount_; ++i) {
        if (pending_[i].at > now) {
            pending_[kept++] = pending_[i];
            continue;
        }
        out.push(pending_[i].key);
        const std::string_view keys = v.row.keys;
        if (keys.find(pending_[i].key) < 4) steeredAt_ = now;
    }
    pendingCount_ = kept;
    return out;
}

namespace {
constexpr std::array<std::string_view, 3> kSkillWords = {"easy", "average", "hard"};
} // namespace

std::string_view skillWord(Skill skill) {
    return kSkillWords[static_cast<std::size_t>(skill)];
}

std::optional<Skill> skillNamed(std::string_view word) {
    for (std::size_t i = 0; i < kSkillWords.size(); ++i)
        if (word == kSkillWords[i]) return static_cast<Skill>(i);
    return std::nullopt;
}

void ComputerSeats::set(int player, std::optional<Skill> skill, std::uint64_t sessionSeed) {
    if (skill)
        drivers[player].emplace(player, *skill, sessionSeed * 2 + static_cast<std::uint64_t>(player));
    else
        drivers[player].reset();
}

void advanceWithComputer(Game& g, ComputerSeats& seats, std::int64_t target) {
    if (!seats.any()) return advanceClock(g, target);
    std::int64_t next = nextLook(seats, g.clock.now);
    while (next <= target && !g.exited) {
        advanceClock(g, next);
        if (g.clock.now != next) return; // a tick waits in a box: the clock holds still
        for (auto& driver : seats.drivers) {
            if (!driver) continue;
            const auto began = std::chrono::steady_clock::now();
            const KeyPresses keys = driver->look(g.window, next);
            if (seats.onLook) seats.onLook(driver->player(), std::chrono::steady_clock::now() - began);
            for (const char& key : keys)
                pressKey(g, std::string_view(&key, 1));
        }
        next += kLookStepMs;
    }
    advanceClock(g, target);
}

std::int64_t nextLook(const ComputerSeats& seats, std::int64_t now) {
    return seats.any() ? (now / kLookStepMs + 1) * kLookStepMs : -1;
}

} // namespace squeakrun
