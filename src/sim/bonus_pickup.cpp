// Taking a bonus item: a car that touches an item gets the item's points or its five devices, and
// the item leaves the field until the bonus-item tick puts a new one down.
#include "game/window/ops.h"
#include "sim/contacts.h"

namespace squeakrun {

namespace {
constexpr Control Form1::*kItemPictures[2] = {&Form1::Command2, &Form1::Com2};
constexpr Count kDeviceBonus = 5;
} // namespace

void bonusPickups(Game& g) {
    // Player 2 is tested first, so on a shared item the device bonus goes to player 2; each player's
    // points are kept apart, so both still get their own.
    for (int i : {1, 0}) {
        const PlayerRow& row = kPlayers[i];
        Player& pl = g.p[i];
        for (int n = 0; n < 2; ++n) {
            BonusItem& item = g.items[n];
            Control& pic = g.ctl(kItemPictures[n]);
            // A taken item stays where it was, hidden, until it is replaced; standing on it again
            // finds nothing left to give.
            if (!carTouches(g.car(i), pic)) continue;
            if (item.blob) {
                pl.cheesestock += kDeviceBonus;
                item.blob = false;
            }
            if (item.slickpup) {
                pl.slickstock += kDeviceBonus;
                item.slickpup = false;
            }
            pl.score += item.points[i];
            item.points[i] = 0;
            showNumber(g.ctl(row.scoreLabel), pl.score);
            pic.Visible = false;
            item.loaded = false;
        }
    }
}

} // namespace squeakrun
