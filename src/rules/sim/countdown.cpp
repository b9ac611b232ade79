// The once-a-second tick: counts down a cheese crash until "Go!", and burns one unit of gas of each
// car on the road; an empty tank costs a life, or the game.
#include "rules/boxes.h"
#include "rules/display.h"
#include "rules/events.h"
#include "rules/sim/contacts.h"

namespace squeakrun {

namespace {

// The count hangs above the car: 4, 3, 2, 1, then "Go!" releases it. "Go!" stays up until the
// player steers again.
void countDown(Game& g, int i) {
    Player& pl = g.players[i];
    if (!pl.splattered) return;
    Control& label = g.control(kPlayers[i].countdownLabel);
    if (pl.countdown > 0) {
        const Control& car = g.car(i);
        label.visible = true;
        label.top = car.top - 255;
        label.left = car.left;
        --pl.countdown;
        showNumber(label, pl.countdown);
    }
    if (pl.countdown <= 0) {
        label.visible = true;
        pl.hitByCheese = false;
        if (label.caption != kGoCaption) label.caption = kGoCaption;
        pl.splattered = false;
    }
}

// Gas burns whenever the car is on the road, also while it skids, coasts or stands after the stop
// key; a parked, waiting or crashed car keeps its gas. The tank is found empty on the tick after
// the last unit went.
void burnGas(Game& g, int i) {
    Player& pl = g.players[i];
    if (pl.refuelling || pl.shopping || pl.splattered || pl.crashed) return;
    if (pl.tankGas >= 1) {
        --pl.tankGas;
        --pl.shownGas;
        showNumber(g.control(kPlayers[i].gasLabel), pl.shownGas);
        return;
    }
    // Reviving refills both gas counters to the tank size.
    g.platform.cue(Cue::Empty);
    if (reviveIfAlive(g, i)) return;
    message(g, pl.name + " Ran out of gas! " + g.players[1 - i].name + " Wins!", Buttons::OK, "");
    endGame(g);
}

} // namespace

void secondTick(Game& g) {
    if (g.paused) return;
    for (int i = 0; i < 2; ++i)
        countDown(g, i);
    for (int i = 0; i < 2; ++i) {
        // Once player 1's empty tank has ended the game, player 2's fresh tank for the next game is
        // left full.
        if (g.paused) return;
        burnGas(g, i);
    }
}

} // namespace squeakrun
