// The bonus-item tick: whenever an item has been taken, a fresh one of a random kind is put at a
// random place on the field.
#include "rules/devices.h"
#include "rules/events.h"
#include "rules/state.h"

namespace squeakrun {

namespace {

// Where an item may lie: its corner strictly inside these bounds keeps the whole item on the field.
constexpr float kItemTopLow = 960, kItemTopHigh = 3960, kItemLeftLow = 1200, kItemLeftHigh = 5520;
constexpr int kMaxDraws = 1000;

const BonusKind& kindOf(float k) {
    for (const BonusKind& kind : kBonusKinds)
        if (k < kind.below) return kind;
    return kBonusKinds.back();
}

// Places one item if it has been taken. The first item reseeds before each number of a position,
// the second once per position.
void placeItem(Game& g, BonusItem& item, Control MainWindow::*picture, bool reseedEachNumber) {
    if (item.placed) return;
    Control& pic = g.control(picture);
    pic.visible = false;

    // About half the draws land in the area, so a few tries do. The cap only keeps a tick from ever
    // spinning on a generator gone wrong; the item is then placed on a later tick.
    float y = 0, x = 0;
    for (int tries = 0; y < kItemTopLow || y > kItemTopHigh || x < kItemLeftLow || x > kItemLeftHigh;
         ++tries) {
        if (tries == kMaxDraws) return;
        g.rng.randomize(g.clock.now);
        y = g.rng.next() * 4000.0f;
        if (reseedEachNumber) g.rng.randomize(g.clock.now);
        x = g.rng.next() * 6000.0f;
    }
    // A place exactly on a bound is not used; the next tick draws again.
    if (!(y > kItemTopLow && y < kItemTopHigh && x > kItemLeftLow && x < kItemLeftHigh)) return;

    g.rng.randomize(g.clock.now);
    const BonusKind& kind = kindOf(g.rng.next());
    pic.left = x;
    pic.top = y;
    pic.visible = true;
    item.givesCheese = kind.givesCheese;
    item.givesSlicks = kind.givesSlicks;
    item.points = {kind.points, kind.points};
    if (pic.picture != kind.picture) pic.picture = kind.picture;
    item.placed = true;
}

} // namespace

void bonusItemTick(Game& g) {
    if (!g.carsMayMove) return;
    placeItem(g, g.bonusItems[1], &MainWindow::bonusItem2, false);
    placeItem(g, g.bonusItems[0], &MainWindow::bonusItem1, true);
}

} // namespace squeakrun
