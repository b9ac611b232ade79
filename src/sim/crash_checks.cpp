// The crash checks: cars in the wall, the two cars running into each other, and cars running over
// a trap. Every 50 ms, from the positions alone; a lost life goes to undead, a last one ends the game.
#include "game/handlers.h"
#include "game/window/ops.h"
#include "sim/contacts.h"

namespace squeakrun {

namespace {

constexpr const char* kGameOver = "Game Over";

// A car in the wall loses a life; with none left the other player is the champion, whatever lives
// that player has. The wreck is shown only once the players have read the news.
void wallCheck(Game& g, int i) {
    if (!inWall(g.car(i)) || reviveIfAlive(g, i)) return;
    const int other = 1 - i;
    g.paused = true;
    message(g, g.p[i].name + " is now officialy dead! " + g.p[other].name + " is the champion!", Buttons::OK,
            kGameOver);
    g.car(i).Picture = kPlayers[i].crashPicture;
    dead(g);
}

// Two cars that meet both lose a life; a player with none left ends the game, and here the wreck is
// on the field before the message opens. Parked cars stand inside a station and never collide.
void carToCarCheck(Game& g) {
    for (const Player& pl : g.p)
        if (pl.refuel || pl.update) return;
    if (!carTouches(g.car(0), g.car(1))) return;
    const bool alive[2] = {g.p[0].lives >= 1, g.p[1].lives >= 1};
    if (alive[0] && alive[1]) {
        g.p[0].crashed = g.p[1].crashed = true;
        undead(g);
        return;
    }
    g.paused = true;
    for (int i = 0; i < 2; ++i)
        if (!alive[i]) g.car(i).Picture = kPlayers[i].crashPicture;
    std::string text = "You both crashed, hahahahahaha!";
    for (int i = 0; i < 2; ++i)
        if (!alive[i] && alive[1 - i]) text = g.p[i].name + std::string(kPlayers[i].carCrashMessage);
    message(g, text, Buttons::OK, kGameOver);
    dead(g);
}

// One pass over the armed traps, player 2's first, with the trap box of this pass. A trap costs the
// other player 10 gas (the countdown tick deals with a tank that drops below empty); the owner driving
// over it just picks it up again. A car being refuelled can be spared, as the standing-trap pass does.
void trapPass(Game& g, float width, float height, bool refuellingSpared) {
    for (int owner : {1, 0}) {
        Player& o = g.p[owner];
        if (!o.trapset) continue;
        Control& trap = g.ctl(kPlayers[owner].trap);
        const int victim = 1 - owner;
        Player& v = g.p[victim];
        const auto takeAway = [&] {
            trap.Enabled = false;
            trap.Visible = false;
            o.trapset = false;
            o.trapdrop = false;
        };
        if (carTouches(g.car(victim), trap, width, height) && !(refuellingSpared && v.refuel)) {
            v.gas -= 10;
            v.gas1 = v.gas;
            takeAway();
        }
        if (carTouches(g.car(owner), trap, width, height)) takeAway();
    }
}

bool anyTrapLaid(const Game& g, Count a, Count b) {
    for (const Player& pl : g.p)
        if (pl.trapdir == a || pl.trapdir == b) return true;
    return false;
}

} // namespace

void Form1_Timer1_Timer(Game& g) {
    wallCheck(g, 1);
    wallCheck(g, 0);
    carToCarCheck(g);
    // The box a trap is tested with follows from both traps' headings together: with one trap lying
    // across and the other standing, each armed trap is tested both ways.
    if (anyTrapLaid(g, Left, Right)) trapPass(g, 255, 135, false);
    if (anyTrapLaid(g, Down, Up)) trapPass(g, 135, 255, true);
}

} // namespace squeakrun
