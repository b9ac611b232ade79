// Taking a bonus item: a car that touches an item gets the item's points or its five devices, and
// the item leaves the field until the bonus-item tick puts a new one down.
#include "rules/devices.h"
#include "rules/display.h"
#include "rules/sim/contacts.h"

namespace squeakrun {

namespace {
constexpr Control MainWindow::*kItemPictures[2] = {&MainWindow::bonusItem1, &MainWindow::bonusItem2};
} // namespace

void bonusPickups(Game& g) {
    // Player 2 is tested first, so on a shared item the device bonus goes to player 2; each player's
    // points are kept apart, so both still get their own.
    for (int i : {1, 0}) {
        const PlayerRow& row = kPlayers[i];
        Player& pl = g.players[i];
        for (int n = 0; n < 2; ++n) {
            BonusItem& item = g.bonusItems[n];
            Control& pic = g.control(kItemPictures[n]);
            // A taken item stays where it was, hidden, until it is replaced; standing on it again
            // finds nothing left to give.
            if (!carTouches(g.car(i), pic)) continue;
            if (item.givesCheese || item.givesSlicks) g.platform.cue(Cue::Stock);
            if (item.points[i] > 0) g.platform.cue(Cue::Points);
            if (item.givesCheese) {
                pl.cheeseStock += kDeviceStock;
                item.givesCheese = false;
            }
            if (item.givesSlicks) {
                pl.slickStock += kDeviceStock;
                item.givesSlicks = false;
            }
            pl.score += item.points[i];
            item.points[i] = 0;
            showNumber(g.control(row.scoreLabel), pl.score);
            pic.visible = false;
            item.placed = false;
        }
    }
}

} // namespace squeakrun
