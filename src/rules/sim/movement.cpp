// The movement tick (every 30 ms): starts the cheese crash of a car that ran onto the other
// player's cheese, runs the settings reset once new settings were applied, and drives each car one
// speed step along its heading.
#include "rules/events.h"
#include "rules/lifecycle/shared_steps.h"

namespace squeakrun {

namespace {

constexpr Count kCheeseCountdown = 5;
constexpr double kCheeseSpeedFloor = 20, kCheeseSpeedCut = 5;

// The car stands splattered for a countdown and loses a little speed; waiting makes this happen once.
void startCheeseCrash(Game& g, int i) {
    const PlayerRow& row = kPlayers[i];
    Player& pl = g.players[i];
    if (!pl.hitByCheese || pl.splattered) return;
    Control& car = g.car(i);
    if (car.picture != row.cheeseCrashPicture) car.picture = row.cheeseCrashPicture;
    pl.countdown = kCheeseCountdown;
    bool slows = row.cheeseCrashSlowsAtFloor ? pl.speed >= kCheeseSpeedFloor : pl.speed > kCheeseSpeedFloor;
    if (slows) pl.speed -= kCheeseSpeedCut;
    pl.splattered = true;
}

void drive(Game& g, int i) {
    Player& pl = g.players[i];
    if (pl.refuelling || pl.shopping || pl.splattered) return; // parked or splattered
    if (pl.stopKeyPressed && !pl.coasting) {
        // The stop key hands the car to the coasting tick, starting from the speed it had.
        pl.coastSpeed = pl.speed;
        pl.coasting = true;
        return;
    }
    if (pl.stopKeyPressed || pl.coasting || pl.spinning || pl.crashed) return;
    Control& car = g.car(i);
    // No bounds here: a car driven past the edge is found in the wall by the crash tick.
    switch (pl.heading) {
    case Left:
        car.left = static_cast<float>(double(car.left) - pl.speed);
        break;
    case Down:
        car.top = static_cast<float>(double(car.top) + pl.speed);
        break;
    case Right:
        car.left = static_cast<float>(double(car.left) + pl.speed);
        break;
    case Up:
        car.top = static_cast<float>(double(car.top) - pl.speed);
        break;
    default:
        break;
    }
}

} // namespace

void movementTick(Game& g) {
    // A cheese crash and new settings take effect even while the game is paused.
    for (int i = 0; i < 2; ++i)
        startCheeseCrash(g, i);
    if (g.settingsChanged) settingsReset(g);
    if (g.carsMayMove && !g.paused)
        for (int i = 0; i < 2; ++i)
            drive(g, i);
}

} // namespace squeakrun
