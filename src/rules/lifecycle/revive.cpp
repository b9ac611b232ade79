// Reviving a player who lost a life but has another: the car starts again from its start place with a
// full tank, its devices off the field and the trap selected, while the other player plays on.
#include "rules/display.h"
#include "rules/events.h"
#include "rules/lifecycle/shared_steps.h"

namespace squeakrun {

namespace {

void revive(Game& g, int i) {
    const PlayerRow& row = kPlayers[i];
    Player& pl = g.players[i];
    --pl.lives;
    showNumber(g.control(row.livesLabel), pl.lives);

    pl.heading = None;
    g.car(i).moveTo(row.startLeft, row.startTop);
    pl.shownGas = pl.tankGas = pl.tankSize;
    showNumber(g.control(row.gasLabel), pl.tankSize);

    putDevicesAway(g, i);
    pl.device = Device::Trap;
    pl.cheeseStock = pl.slickStock = 0;
    pl.countdown = 0;
    pl.splattered = pl.hitByCheese = pl.spinning = pl.slickLaid = pl.slickDropped = pl.trapDropped =
        pl.trapLaid = false;
    pl.leavingStation = pl.shopping = false;
    // A lost life also spoils one flag of each bonus item, crosswise between the players.
    g.bonusItems[row.reviveClearsCheeseCrateOf].givesCheese = false;
    g.bonusItems[row.reviveClearsJamJarOf].givesSlicks = false;

    g.control(row.countdownLabel).visible = false;
    Control& select = g.control(row.deviceLabel);
    if (select.picture != devicePicture(Device::Trap)) select.picture = devicePicture(Device::Trap);
    Control& trap = g.control(row.trap);
    trap.enabled = false;
    trap.visible = false;
    Control& car = g.car(i);
    car.visible = true;
    car.enabled = true;
    pl.crashed = false;
}

} // namespace

// Player 2 first: when both cars are lost at once, one call brings both back.
void reviveCrashedCars(Game& g) {
    for (int i : {1, 0})
        if (g.players[i].crashed) revive(g, i);
}

} // namespace squeakrun
