// What a raspberry slick and a piece of cheese do to a car that runs onto them. A slick catches any
// car, its owner's too; a cheese only catches the other player's car.
#include "sim/contacts.h"

namespace squeakrun {

namespace {

// Take a device off the field: hidden and parked in the corner, out of everybody's way.
void putAway(Control& device) {
    device.Visible = false;
    device.Move(0, 0);
}

// A car on a slick spins off in the heading it had, at the speed it had, and pays for it in tank size,
// gas and speed. A car already spinning slides over a second slick, which stays where it lies.
void slickHit(Game& g, int owner, int driver) {
    Player& d = g.p[driver];
    Control& slick = g.ctl(kPlayers[owner].slick);
    if (d.spin || !carTouches(g.car(driver), slick)) return;
    d.skidspeed = d.speed;
    putAway(slick);
    g.p[owner].slickdrop = false; // the owner may lay a new one
    g.p[owner].slickset = false;
    d.skidframe = 1;
    d.spin = true;
    if (d.tgas > 15) {
        d.tgas -= 5;
        d.gas -= 5;
        d.gas1 -= 5;
    }
    if (d.speed > 20) d.speed -= 5;
    d.gas1 -= kPlayers[driver].slickExtraGas1Cut;
    d.skiddir = d.dir;
}

// A rolling cheese that reaches the other car marks it for a cheese crash, which the movement tick
// starts; a car parked in a station is out of reach and the cheese rolls on.
void cheeseHit(Game& g, int owner) {
    Player& o = g.p[owner];
    if (!o.cheesedrop) return;
    const int victim = 1 - owner;
    Player& v = g.p[victim];
    Control& cheese = g.ctl(kPlayers[owner].cheese);
    if (!carTouches(g.car(victim), cheese) || v.refuel || v.update) return;
    putAway(cheese);
    o.cheeseroll = false;
    o.cheesedrop = false; // the owner may drop a cheese again
    o.cheesespeed = 0;
    o.cheesedir = 0;
    v.cheesehit = true;
}

} // namespace

void slickContacts(Game& g) {
    slickHit(g, 0, 1);
    slickHit(g, 1, 1);
    slickHit(g, 1, 0);
    slickHit(g, 0, 0);
}

void cheeseContacts(Game& g) {
    cheeseHit(g, 1);
    cheeseHit(g, 0);
}

} // namespace squeakrun
