// What a raspberry slick and a piece of cheese do to a car that runs onto them. A slick catches any
// car, its owner's too; a cheese only catches the other player's car.
#include "rules/sim/contacts.h"

namespace squeakrun {

namespace {

// Take a device off the field: hidden and parked in the corner, out of everybody's way.
void putAway(Control& device) {
    device.visible = false;
    device.moveTo(0, 0);
}

// A car on a slick spins off in the heading it had, at the speed it had, and pays for it in tank size,
// gas and speed. A car already spinning slides over a second slick, which stays where it lies.
void slickHit(Game& g, int owner, int driver) {
    Player& d = g.players[driver];
    Control& slick = g.control(kPlayers[owner].slick);
    if (d.spinning || !carTouches(g.car(driver), slick)) return;
    g.platform.cue(Cue::Slick);
    d.skidSpeed = d.speed;
    putAway(slick);
    g.players[owner].slickDropped = false; // the owner may lay a new one
    g.players[owner].slickLaid = false;
    d.skidFrame = 1;
    d.spinning = true;
    if (d.tankSize > 15) {
        d.tankSize -= 5;
        d.shownGas -= 5;
        d.tankGas -= 5;
    }
    if (d.speed > 20) d.speed -= 5;
    d.tankGas -= kPlayers[driver].slickExtraTankGasCut;
    d.skidHeading = d.heading;
}

// A rolling cheese that reaches the other car marks it for a cheese crash, which the movement tick
// starts; a car parked in a station is out of reach and the cheese rolls on.
void cheeseHit(Game& g, int owner) {
    Player& o = g.players[owner];
    if (!o.cheeseDropped) return;
    const int victim = 1 - owner;
    Player& v = g.players[victim];
    Control& cheese = g.control(kPlayers[owner].cheese);
    if (!carTouches(g.car(victim), cheese) || v.refuelling || v.shopping) return;
    g.platform.cue(Cue::Cheese);
    putAway(cheese);
    o.cheeseRolling = false;
    o.cheeseDropped = false; // the owner may drop a cheese again
    o.cheeseSpeed = 0;
    o.cheeseHeading = None;
    v.hitByCheese = true;
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
