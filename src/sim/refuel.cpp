// The refuelling tick: a car parked in the gas station buys one unit of gas per tick, a point a unit,
// until the tank is full, its player presses the stop key, or it cannot pay for the whole fill; then
// it is put back on the field beside the station, heading left.
#include "game/handlers.h"
#include "game/window/ops.h"

namespace squeakrun {

namespace {

constexpr float kStationExitLeft = 6120;

// The visit is over: the car stands beside the station, heading away from it. A leave request belongs
// to this visit alone, so it is dropped even when the car leaves for want of points; kept, it would
// throw the car out of its next visit before a single unit was sold.
void leaveStation(Game& g, int i) {
    const PlayerRow& row = kPlayers[i];
    Player& pl = g.p[i];
    pl.leavegas = false;
    pl.refuel = false;
    Control& car = g.car(i);
    car.Top = row.stationExitTop;
    car.Left = kStationExitLeft;
    car.Picture = carPicture(row, Left);
    car.Visible = true;
    pl.dir = Left;
}

void refuelStep(Game& g, int i) {
    const PlayerRow& row = kPlayers[i];
    Player& pl = g.p[i];
    const Count need = pl.tgas - pl.gas;
    pl.gasneed = static_cast<double>(need);
    // A player who cannot pay for the whole fill gets none of it.
    if (pl.score < need || need <= 0 || pl.leavegas) return leaveStation(g, i);
    --pl.score;
    showNumber(g.ctl(row.scoreLabel), pl.score);
    ++pl.gas1;
    ++pl.gas;
    showNumber(g.ctl(row.gasLabel), pl.gas);
}

} // namespace

void Form1_Timer7_Timer(Game& g) {
    if (g.paused) return;
    for (int i = 0; i < 2; ++i)
        if (g.p[i].refuel) refuelStep(g, i);
}

} // namespace squeakrun
