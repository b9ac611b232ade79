// The crash checks: cars in the wall, the two cars running into each other, and cars running over
// a trap. Every 50 ms, from the positions alone; a lost life goes to reviveCrashedCars, a last one ends the
// game.
#include "rules/boxes.h"
#include "rules/events.h"
#include "rules/sim/contacts.h"

namespace squeakrun {

namespace {

constexpr const char* kGameOver = "Game Over";

// A car in the wall loses a life; with none left the other player is the champion, whatever lives
// that player has. The wreck is shown only once the players have read the news.
void wallCheck(Game& g, int i) {
    if (!inWall(g.car(i))) return;
    g.platform.cue(Cue::Crash);
    if (reviveIfAlive(g, i)) return;
    const int other = 1 - i;
    g.paused = true;
    message(g, g.players[i].name + " is now officialy dead! " + g.players[other].name + " is the champion!",
            Buttons::OK, kGameOver);
    g.car(i).picture = kPlayers[i].crashPicture;
    endGame(g);
}

// Two cars that meet both lose a life; a player with none left ends the game, and here the wreck is
// on the field before the message opens. Parked cars stand inside a station and never collide.
void carToCarCheck(Game& g) {
    for (const Player& pl : g.players)
        if (pl.refuelling || pl.shopping) return;
    if (!carTouches(g.car(0), g.car(1))) return;
    const bool alive[2] = {g.players[0].lives >= 1, g.players[1].lives >= 1};
    // Both cars lose a life, or only those with none left lose the game: each loser is heard.
    for (int i = 0; i < 2; ++i)
        if ((alive[0] && alive[1]) || !alive[i]) g.platform.cue(Cue::Crash);
    if (alive[0] && alive[1]) {
        g.players[0].crashed = g.players[1].crashed = true;
        reviveCrashedCars(g);
        return;
    }
    g.paused = true;
    for (int i = 0; i < 2; ++i)
        if (!alive[i]) g.car(i).picture = kPlayers[i].crashPicture;
    std::string text = "You both crashed, hahahahahaha!";
    for (int i = 0; i < 2; ++i)
        if (!alive[i] && alive[1 - i]) text = g.players[i].name + std::string(kPlayers[i].carCrashMessage);
    message(g, text, Buttons::OK, kGameOver);
    endGame(g);
}

// One pass over the armed traps, player 2's first, with the trap box of this pass. A trap costs the
// other player 10 gas (the countdown tick deals with a tank that drops below empty); the owner driving
// over it just picks it up again. A car being refuelled can be spared, as the standing-trap pass does.
void trapPass(Game& g, float width, float height, bool refuellingSpared) {
    for (int owner : {1, 0}) {
        Player& o = g.players[owner];
        if (!o.trapLaid) continue;
        Control& trap = g.control(kPlayers[owner].trap);
        const int victim = 1 - owner;
        Player& v = g.players[victim];
        const auto takeAway = [&] {
            trap.enabled = false;
            trap.visible = false;
            o.trapLaid = false;
            o.trapDropped = false;
        };
        if (carTouches(g.car(victim), trap, width, height) && !(refuellingSpared && v.refuelling)) {
            g.platform.cue(Cue::Trap);
            v.shownGas -= 10;
            v.tankGas = v.shownGas;
            takeAway();
        }
        if (carTouches(g.car(owner), trap, width, height)) takeAway();
    }
}

// A trap keeps the heading it was last laid with after it is picked up, so this asks which way the
// traps last pointed, not whether one lies on the field.
bool eitherTrapLastPointed(const Game& g, Count a, Count b) {
    for (const Player& pl : g.players)
        if (pl.trapHeading == a || pl.trapHeading == b) return true;
    return false;
}

} // namespace

void crashCheckTick(Game& g) {
    wallCheck(g, 1);
    wallCheck(g, 0);
    carToCarCheck(g);
    // The box a trap is tested with follows from both traps' headings together: with one trap lying
    // across and the other standing, each armed trap is tested both ways.
    if (eitherTrapLastPointed(g, Left, Right)) trapPass(g, 255, 135, false);
    if (eitherTrapLastPointed(g, Down, Up)) trapPass(g, 135, 255, true);
}

} // namespace squeakrun
