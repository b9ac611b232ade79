// The computer driver's judgement: what it remembers from look to look, where it wants to go, which
// heading takes it there safely, when it shops and refuels and when it drops a device.
#include "computer/computer_driver.h"

#include "rules/devices.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string_view>

namespace squeakrun {

namespace {

// How many movement steps ahead it follows each heading it could take.
constexpr int kPlanSteps = 60;
// How far past its reaction a heading is judged: four cells, so that a road round an obstacle counts.
constexpr float kJudgeAhead = 4 * kCell;
// The most a car moves between two looks; anything further is a jump (a new life, leaving a station).
constexpr float kLongestStep = 200;
// What it takes a device crate to be worth, in points, beside the points items.
constexpr int kDeviceCrateWorth = 25;

float stepX(Heading h) {
    return h == Left ? -1.f : h == Right ? 1.f : 0.f;
}
float stepY(Heading h) {
    return h == Up ? -1.f : h == Down ? 1.f : 0.f;
}

// The key that steers towards `heading`.
KeyRole steeringRole(Heading heading) {
    for (int role = KeyUp; role <= KeyRight; ++role)
        if (kSteeringHeading[role] == heading) return static_cast<KeyRole>(role);
    return KeyStop;
}

int worth(int kind) {
    const BonusKind& k = kBonusKinds[static_cast<std::size_t>(kind)];
    return k.points > 0 ? static_cast<int>(k.points) : kDeviceCrateWorth;
}

} // namespace

ComputerDriver::ComputerDriver(int player, Skill skill, std::uint64_t seed)
    : player_(player), skill_(skill), rng_(seed ^ 0xC2B2AE3D27D4EB4FULL) {
    rng_.randomize(player);
}

bool ComputerDriver::queue(KeyRole role, std::int64_t now) {
    if (now < nextKeyAt_ || pendingCount_ == static_cast<int>(pending_.size())) return false;
    pending_[pendingCount_++] = {now + traits().reactionMs, kPlayers[player_].keys[role]};
    nextKeyAt_ = now + traits().keyGapMs;
    return true;
}

void ComputerDriver::remember(const Sight& v, std::int64_t now) {
    if (lives_ >= 0 && v.lives < lives_) {
        // Back at the start after a lost life: standing, the trap selected, no stock left.
        heading_ = None;
        cheeseStock_ = slickStock_ = 0;
        pendingCount_ = 0;
    }
    lives_ = v.lives;
    // Just parked in the upgrade station: the steering keys it meant for the road would trade there.
    if (v.shopping && self_.visible) pendingCount_ = 0;
    if (v.device == Device::Cheese && v.stock >= 0) cheeseStock_ = v.stock;
    if (v.device == Device::Slick && v.stock >= 0) slickStock_ = v.stock;
    if (v.gauge) {
        if (v.gauge->tank > 0) tank_ = v.gauge->tank;
        if (v.gauge->speed > 0) speed_ = v.gauge->speed;
    }
    tank_ = std::max(tank_, v.gas);
    if (speed_ <= 0) {
        // Before it has seen its speed, the difficulty its full tank belongs to tells it.
        for (const Difficulty& d : kDifficulties)
            if (d.tank == tank_) speed_ = d.speed;
        if (speed_ <= 0) speed_ = 80;
    }
    // Its own road step, when it drove straight since the last look. A jump (a new life) is no step.
    const float moved = std::abs(v.self.left - self_.left) + std::abs(v.self.top - self_.top);
    const bool stepped = self_.visible && v.self.visible && moved > 0 && moved <= kLongestStep;
    if (stepped && lastLook_ >= 0 && now - lastLook_ == kLookStepMs && moved >= 20 && v.heading == heading_ &&
        !(v.self.left != self_.left && v.self.top != self_.top))
        speed_ = moved;
    // A car it finds on the move (it took the wheel mid-game) goes where its picture points. One put
    // back at the start after a crash stands, whatever its picture still shows.
    if (heading_ == None && stepped) heading_ = v.heading;
    // Device stock from the bonus items it drove over.
    for (int k = 0; k < 2; ++k) {
        const Control& item = k == 0 ? v.w.bonusItem1 : v.w.bonusItem2;
        const bool gone = !item.visible || item.left != items_[k].left || item.top != items_[k].top;
        if (items_[k].visible && gone && itemKinds_[k] >= 0 && v.self.visible &&
            touching(items_[k].left, items_[k].top, kCarBox, kCarBox, 20).has(v.self.left, v.self.top)) {
            const BonusKind& kind = kBonusKinds[static_cast<std::size_t>(itemKinds_[k])];
            if (kind.givesCheese) cheeseStock_ += kDeviceStock;
            if (kind.givesSlicks) slickStock_ += kDeviceStock;
        }
        items_[k] = {item.left, item.top, item.visible};
        itemKinds_[k] = bonusKindShown(item.picture);
    }
    // The other car's last step; a jump (a new life, leaving a station) is no step.
    if (other_.visible && v.other.visible) {
        otherDx_ = v.other.left - other_.left;
        otherDy_ = v.other.top - other_.top;
        if (std::abs(otherDx_) + std::abs(otherDy_) > kLongestStep) otherDx_ = otherDy_ = 0;
    } else {
        otherDx_ = otherDy_ = 0;
    }
    const Control& cheese = v.w.*v.otherRow.cheese;
    cheeseDx_ = cheese.visible && otherCheese_.visible ? cheese.left - otherCheese_.left : 0;
    cheeseDy_ = cheese.visible && otherCheese_.visible ? cheese.top - otherCheese_.top : 0;
    otherCheese_ = {cheese.left, cheese.top, cheese.visible};
    // A picture that changed without a key of its own: the car skids on a slick.
    if (v.self.visible && self_.visible && v.heading != lastSeenHeading_ && v.heading != None &&
        lastSeenHeading_ != None && now - steeredAt_ > kLookStepMs)
        spinUntil_ = now + 2 * kLookStepMs;
    lastSeenHeading_ = v.heading;
    self_ = {v.self.left, v.self.top, v.self.visible};
    other_ = {v.other.left, v.other.top, v.other.visible};
    lastLook_ = now;
}

void ComputerDriver::shop(const Sight& v, std::int64_t now) {
    const SkillTraits& t = traits();
    if (now < deviceBusyUntil_) return; // the gauge has not shown the last key's effect yet
    // Points it must have to fill the tank once it is out again.
    const bool shortOfPoints = v.score < tank_ - v.gas + 10;
    // Once in the station, a driver that sells at all has nothing better to do than sell what it does
    // not need.
    const bool sells = t.selling != Selling::Never;
    KeyRole key = KeyLeave;
    if (sells && speed_ > t.keepSpeed && speed_ > 20)
        key = KeySellSpeed;
    else if (sells && shortOfPoints && tank_ >= 15)
        key = KeySellTank;
    else if (tank_ < t.buyTankTo && v.score >= 100 + tank_ + 20)
        key = KeyBuyTank;
    if (!queue(key, now)) return;
    deviceBusyUntil_ = now + t.reactionMs + kLookStepMs;
    if (key == KeyLeave) heading_ = Right; // it comes out beside the station, heading right
}

std::optional<Box> ComputerDriver::bestItem(const Sight& v) const {
    const SkillTraits& t = traits();
    const float s = static_cast<float>(speed_);
    std::optional<Box> best;
    float bestValue = 0;
    for (int k = 0; k < 2; ++k) {
        if (!items_[k].visible || itemKinds_[k] < 0) continue;
        // An item beside the other car is not worth a crash.
        const float nearOther = 2 * kCarBox + t.carMargin;
        if (v.other.visible && std::abs(items_[k].left - v.other.left) <= nearOther &&
            std::abs(items_[k].top - v.other.top) <= nearOther)
            continue;
        const float way = std::abs(items_[k].left - v.self.left) + std::abs(items_[k].top - v.self.top);
        float value = static_cast<float>(worth(itemKinds_[k])) / (way + 400);
        // One the other car gets to first is worth little to a driver that sees it coming.
        const float otherSpeed = std::abs(otherDx_) + std::abs(otherDy_);
        const float otherWay =
            std::abs(items_[k].left - v.other.left) + std::abs(items_[k].top - v.other.top);
        if (v.other.visible && otherSpeed > 0 && otherWay / otherSpeed < way / s) value *= 1 - t.rivalSense;
        if (value > bestValue) {
            bestValue = value;
            best = touching(items_[k].left, items_[k].top, kCarBox, kCarBox, -30);
        }
    }
    return best;
}

ComputerDriver::Target ComputerDriver::chooseTarget(const Sight& v) const {
    const SkillTraits& t = traits();
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
    auto inside = [](const Control& station) {
        return Target{touching(station.left, station.top, kStationWidth, kStationHeight, -20), &station};
    };
    const Count gasTrip = trip(gasStation);
    const bool needGas = v.gas <= gasTrip + t.gasReserve;
    const bool canPay = v.score >= tank_ - v.gas + gasTrip + 1;
    if (needGas && canPay) return inside(gasStation);
    const std::optional<Box> item = bestItem(v);
    const bool sellsSpeed = t.selling == Selling::Freely || (t.selling == Selling::WhenIdle && !item);
    const bool wantShop = (sellsSpeed && speed_ > t.keepSpeed + 1) ||
                          (tank_ < t.buyTankTo && v.score >= 100 + tank_ + 20) ||
                          (t.selling != Selling::Never && needGas && !canPay &&
                           (speed_ > 20 || tank_ >= 15) && v.gas > trip(upgradeStation));
    if (wantShop) return inside(upgradeStation);
    // With nothing to go for it waits in the middle of the field.
    constexpr float kMidX = (kWallLow + kWallRight) / 2, kMidY = (kWallLow + kWallBottom) / 2;
    return {item.value_or(Box{kMidX - 300, kMidY - 300, kMidX + 300, kMidY + 300}), nullptr};
}

Heading ComputerDriver::chooseHeading(const Sight& v, const Road& road) const {
    const SkillTraits& t = traits();
    const float s = static_cast<float>(speed_);
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
        float x = v.self.left, y = v.self.top, blocked = std::numeric_limits<float>::max();
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
    return best.heading;
}

void ComputerDriver::steer(const Sight& v, std::int64_t now) {
    const SkillTraits& t = traits();
    Road road(v.w, player_, {t.carMargin, t.hazardMargin}, otherDx_, otherDy_);
    road.setCheeseStep(cheeseDx_, cheeseDy_);
    const Target target = chooseTarget(v);
    road.aimAt(target.box, target.station);
    road.plan();
    const Heading wanted = chooseHeading(v, road);
    if (wanted != heading_) {
        Heading pressed = wanted;
        if (t.slipChance > 0 && rng_.next() < t.slipChance)
            pressed = static_cast<Heading>(1 + static_cast<int>(rng_.next() * 4));
        if (queue(steeringRole(pressed), now)) heading_ = wanted;
    } else if (heading_ != None && v.heading != heading_ && pendingCount_ == 0 &&
               now - steeredAt_ > t.reactionMs + 4 * kLookStepMs) {
        queue(steeringRole(heading_), now); // a key that was lost, or a wrong one, or "Go!" after cheese
    }
}

void ComputerDriver::useDevices(const Sight& v, std::int64_t now) {
    const SkillTraits& t = traits();
    if (now < deviceBusyUntil_ || heading_ == None || v.heading != heading_ || !v.other.visible) return;
    const Device wanted = cheeseStock_ > 0 ? Device::Cheese : slickStock_ > 0 ? Device::Slick : Device::Trap;
    if (v.device != wanted) {
        if (queue(KeySelect, now)) deviceBusyUntil_ = now + t.reactionMs + 2 * kLookStepMs;
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
        const TrapLanding& at = kTrapBehind[heading_];
        chance = otherMeets(x + at.dLeft, y + at.dTop, at.width, at.height, 0, 0);
    } else if (wanted == Device::Slick && !(v.w.*v.row.slick).visible) {
        const SlickLanding& at = kSlickBehind[heading_];
        chance = otherMeets(x + at.dLeft, y + at.dTop, kCarBox, kCarBox, 0, 0);
    } else if (wanted == Device::Cheese && !(v.w.*v.row.cheese).visible) {
        const auto roll = static_cast<float>(kCheeseRollFactor) * s;
        chance = otherMeets(x, y, kCarBox, kCarBox, dx * roll, dy * roll);
    }
    if (!chance) return;
    if (now < nextKeyAt_) return; // no key yet: the chance is still there at the next look
    if (rng_.next() >= t.deviceChance)
        deviceBusyUntil_ = now + 1000; // it lets this chance go by
    else if (queue(KeyDrop, now))
        deviceBusyUntil_ = now + t.reactionMs + 3 * kLookStepMs;
}

void ComputerDriver::decide(const Sight& v, std::int64_t now) {
    const SkillTraits& t = traits();
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
    const Sight v(window, player_);
    if (!v.running) {
        // Between games it forgets the last one, all but its own stream of slips.
        const Random rng = rng_;
        *this = ComputerDriver(player_, skill_, 0);
        rng_ = rng;
        return out;
    }
    // While the menu offers to resume a paused game, a key would only pile up in the key box to be
    // thrown away: it waits, and what it had decided on waits with it.
    if (v.paused) return out;
    remember(v, now);
    decide(v, now);
    int kept = 0;
    for (int i = 0; i < pendingCount_; ++i) {
        if (pending_[i].at > now || !out.push(pending_[i].key)) {
            pending_[kept++] = pending_[i];
            continue;
        }
        if (v.row.keys.find(pending_[i].key) <= KeyRight) steeredAt_ = now;
    }
    pendingCount_ = kept;
    return out;
}

} // namespace squeakrun
