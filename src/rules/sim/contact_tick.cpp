// The contact tick, every 10 ms: the stock labels, laying slicks and traps behind the cars, the
// upgrade-station gauges, then the contacts of the cars with slicks, bonus items, cheese and stations.
#include "rules/devices.h"
#include "rules/display.h"
#include "rules/events.h"
#include "rules/sim/contacts.h"

namespace squeakrun {

namespace {

// A car without a heading has no "behind": its slick counts as laid but stays off the field.
void dropSlick(Game& g, int i) {
    Player& pl = g.players[i];
    if (!pl.slickDropped || pl.slickLaid) return;
    pl.slickLaid = true;
    if (!isHeading(pl.heading)) return;
    const Control& car = g.car(i);
    Control& slick = g.control(kPlayers[i].slick);
    const SlickLanding& at = kSlickBehind[pl.heading];
    slick.top = car.top + at.dTop;
    slick.left = car.left + at.dLeft;
    slick.visible = true;
    slick.enabled = true;
    g.platform.cue(Cue::Drop);
}

// A trap asked for before the car has a heading waits until it has one.
void dropTrap(Game& g, int i) {
    Player& pl = g.players[i];
    if (!pl.trapDropped || pl.trapLaid || !isHeading(pl.heading)) return;
    const Control& car = g.car(i);
    Control& trap = g.control(kPlayers[i].trap);
    const TrapLanding& at = kTrapBehind[pl.heading];
    trap.picture = at.picture;
    trap.top = car.top + at.dTop;
    trap.left = car.left + at.dLeft;
    trap.height = at.height;
    trap.width = at.width;
    trap.visible = true;
    pl.trapHeading = pl.heading;
    pl.trapLaid = true;
    g.platform.cue(Cue::Drop);
}

// While a player shops in the upgrade station the gauge shows the tank size and speed being bought.
// The shop changes them between ticks, so the gauge is checked every tick, but only rewritten when
// a figure changed.
void drawGauge(Game& g, int i) {
    const Player& pl = g.players[i];
    if (!pl.shopping) return;
    showGauge(g.control(kPlayers[i].gauge), pl);
}

} // namespace

void contactTick(Game& g) {
    for (int i : {1, 0})
        showStock(g.control(kPlayers[i].stockLabel), g.players[i]);
    for (int i = 0; i < 2; ++i)
        dropSlick(g, i);
    for (int i = 0; i < 2; ++i)
        dropTrap(g, i);
    for (int i = 0; i < 2; ++i)
        drawGauge(g, i);
    // Slicks and bonus items only count while a round runs; cheese and the stations whenever the
    // game is not paused.
    if (g.carsMayMove) {
        slickContacts(g);
        bonusPickups(g);
    }
    if (!g.paused) {
        cheeseContacts(g);
        stationContacts(g);
    }
}

} // namespace squeakrun
