// The refuelling tick: a car parked in the gas station buys one unit of gas per tick, a point a unit,
// until the tank is full, its player presses the stop key, or it cannot pay for the whole fill; then
// it is put back on the field beside the station, heading left.
#include "rules/display.h"
#include "rules/events.h"

namespace squeakrun {

namespace {

constexpr float kStationExitLeft = 6120;

// The visit is over: the car stands beside the station, heading away from it. A leave request belongs
// to this visit alone, so it is dropped even when the car leaves for want of points; kept, it would
// throw the car out of its next visit before a single unit was sold.
void leaveStation(Game& g, int i) {
    const PlayerRow& row = kPlayers[i];
    Player& pl = g.players[i];
    pl.leavingStation = false;
    pl.refuelling = false;
    Control& car = g.car(i);
    car.top = row.stationExitTop;
    car.left = kStationExitLeft;
    car.picture = carPicture(row, Left);
    car.visible = true;
    pl.heading = Left;
}

void refuelStep(Game& g, int i) {
    const PlayerRow& row = kPlayers[i];
    Player& pl = g.players[i];
    const Count need = pl.tankSize - pl.shownGas;
    pl.gasNeeded = static_cast<double>(need);
    // A player who cannot pay for the whole fill gets none of it.
    if (pl.score < need || need <= 0 || pl.leavingStation) return leaveStation(g, i);
    --pl.score;
    showNumber(g.control(row.scoreLabel), pl.score);
    ++pl.tankGas;
    ++pl.shownGas;
    showNumber(g.control(row.gasLabel), pl.shownGas);
    g.platform.cue(Cue::Refuel);
}

} // namespace

void refuelTick(Game& g) {
    if (g.paused) return;
    for (int i = 0; i < 2; ++i)
        if (g.players[i].refuelling) refuelStep(g, i);
}

} // namespace squeakrun
