// Reviving a player who lost a life but has another: the car starts again from its start place with a
// full tank, its devices off the field and the trap selected, while the other player plays on.
#include "game/game_setup.h"
#include "game/handlers.h"
#include "game/window/ops.h"

namespace squeakrun {

namespace {

void revive(Game& g, int i) {
    const PlayerRow& row = kPlayers[i];
    Player& pl = g.p[i];
    --pl.lives;
    showNumber(g.ctl(row.livesLabel), pl.lives);

    pl.dir = None;
    g.car(i).Move(row.startLeft, row.startTop);
    pl.gas = pl.gas1 = pl.tgas;
    showNumber(g.ctl(row.gasLabel), pl.tgas);

    putDevicesAway(g, i);
    pl.device = 1;
    pl.cheesestock = pl.slickstock = 0;
    pl.countdown = 0;
    pl.waiting = pl.cheesehit = pl.spin = pl.slickset = pl.slickdrop = pl.trapdrop = pl.trapset = false;
    pl.leavegas = pl.update = false;
    // A lost life also spoils one flag of each bonus item, crosswise between the players.
    g.items[row.reviveClearsBlobOf].blob = false;
    g.items[row.reviveClearsSlickPupOf].slickpup = false;

    g.ctl(row.countdown).Visible = false;
    Control& select = g.ctl(row.select);
    if (select.Picture != "trapselect.gif") select.Picture = "trapselect.gif";
    Control& trap = g.ctl(row.trap);
    trap.Enabled = false;
    trap.Visible = false;
    Control& car = g.car(i);
    car.Visible = true;
    car.Enabled = true;
    pl.crashed = false;
}

} // namespace

// Player 2 first: when both cars are lost at once, one call brings both back.
void undead(Game& g) {
    for (int i : {1, 0})
        if (g.p[i].crashed) revive(g, i);
}

} // namespace squeakrun
