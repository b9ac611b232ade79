// The once-a-second tick: counts down a cheese crash until "Go!", and burns one unit of gas of each
// car on the road; an empty tank costs a life, or the game.
#include "game/handlers.h"
#include "game/window/ops.h"
#include "sim/contacts.h"

namespace squeakrun {

namespace {

// The count hangs above the car: 4, 3, 2, 1, then "Go!" releases it. "Go!" stays up until the
// player steers again.
void countDown(Game& g, int i) {
    Player& pl = g.p[i];
    if (!pl.waiting) return;
    Control& label = g.ctl(kPlayers[i].countdown);
    if (pl.countdown > 0) {
        const Control& car = g.car(i);
        label.Visible = true;
        label.Top = car.Top - 255;
        label.Left = car.Left;
        --pl.countdown;
        showNumber(label, pl.countdown);
    }
    if (pl.countdown <= 0) {
        label.Visible = true;
        pl.cheesehit = false;
        if (label.Caption != "Go!") label.Caption = "Go!";
        pl.waiting = false;
    }
}

// Gas burns whenever the car is on the road, also while it skids, coasts or stands after the stop
// key; a parked, waiting or crashed car keeps its gas. The tank is found empty on the tick after
// the last unit went.
void burnGas(Game& g, int i) {
    Player& pl = g.p[i];
    if (pl.refuel || pl.update || pl.waiting || pl.crashed) return;
    if (pl.gas1 >= 1) {
        --pl.gas1;
        --pl.gas;
        showNumber(g.ctl(kPlayers[i].gasLabel), pl.gas);
        return;
    }
    // Reviving refills both gas counters to the tank size.
    if (reviveIfAlive(g, i)) return;
    message(g, pl.name + " Ran out of gas! " + g.p[1 - i].name + " Wins!", Buttons::OK, "");
    dead(g);
}

} // namespace

void Form1_Timer5_Timer(Game& g) {
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
