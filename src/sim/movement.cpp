// The movement tick (Timer4, every 30 ms): starts the cheese crash of a car that ran onto the other
// player's cheese, puts the game back before the start button after new settings were applied, and
// drives each car one speed step along its heading.
#include "game/game_setup.h"
#include "game/handlers.h"
#include "game/window/ops.h"

namespace squeakrun {

namespace {

constexpr Count kCheeseCountdown = 5;
constexpr double kCheeseSpeedFloor = 20, kCheeseSpeedCut = 5;

// The car stands splattered for a countdown and loses a little speed; waiting makes this happen once.
void startCheeseCrash(Game& g, int i) {
    const PlayerRow& row = kPlayers[i];
    Player& pl = g.p[i];
    if (!pl.cheesehit || pl.waiting) return;
    Control& car = g.car(i);
    if (car.Picture != row.cheeseCrashPicture) car.Picture = row.cheeseCrashPicture;
    pl.countdown = kCheeseCountdown;
    bool slows = row.cheeseCrashSlowsAt20 ? pl.speed >= kCheeseSpeedFloor : pl.speed > kCheeseSpeedFloor;
    if (slows) pl.speed -= kCheeseSpeedCut;
    pl.waiting = true;
}

// New names or a new difficulty: clear the field and wait for the start button again.
void settingsReset(Game& g) {
    Form1& f = g.f1;
    putDevicesAway(g);
    for (const PlayerRow& row : kPlayers)
        g.ctl(row.trap).Visible = false;
    for (Player& pl : g.p) {
        pl.spin = pl.waiting = false;
        pl.slickstock = 0;
    }
    for (BonusItem& item : g.items)
        item.slickpup = false;
    for (const PlayerRow& row : kPlayers) {
        g.ctl(row.car).Visible = true;
        g.ctl(row.countdown).Visible = false;
    }
    for (Player& pl : g.p) {
        pl.cheesehit = false;
        pl.countdown = 0;
        pl.device = 1;
    }
    for (const PlayerRow& row : kPlayers)
        g.ctl(row.select).Picture = "trapselect.gif";
    for (Player& pl : g.p) {
        pl.cheeseroll = pl.cheesedrop = false;
        pl.cheesespeed = 0;
        pl.cheesedir = 0;
        pl.leavegas = pl.trapdrop = pl.trapset = false;
        pl.update = false;
        // A car that was refuelling stands at its start place now; left marked as refuelling it could
        // never drive again, since the start button stops the refuelling timer.
        pl.refuel = false;
    }
    for (const PlayerRow& row : kPlayers) {
        Control& trap = g.ctl(row.trap);
        trap.Enabled = false;
        trap.Visible = false;
        Control& gauge = g.ctl(row.gauge);
        gauge.Cls();
        gauge.Visible = false;
    }
    f.update1.Picture = "station1.gif";
    f.mnuFileSettings.Enabled = false;
    f.mnuFilePause.Enabled = false;
    for (const PlayerRow& row : kPlayers)
        g.p[row.number - 1].name = g.ctl(row.nameLabel).Caption;
    f.Command3.Enabled = true;
    f.Command3.Visible = true;
    f.Command2.Visible = false;
    readHighScore(g);
    for (const PlayerRow& row : kPlayers) {
        g.p[row.number - 1].score = 0;
        showNumber(g.ctl(row.scoreLabel), 0);
    }
    placeCarsAtStart(g);
    for (Player& pl : g.p)
        pl.dir = None;
    g.allowed = false;
    applyDifficulty(g);
    for (const PlayerRow& row : kPlayers)
        showNumber(g.ctl(row.livesLabel), g.p[row.number - 1].lives);
    g.changed = false;
    for (BonusItem& item : g.items)
        item.loaded = true;
    message(g, "Click on the 'Start' button to start the game, Enjoy!", Buttons::OK, "Instructions");
}

void drive(Game& g, int i) {
    Player& pl = g.p[i];
    if (pl.refuel || pl.update || pl.waiting) return; // parked or splattered
    if (pl.stop && !pl.slowdown) {
        // The stop key hands the car to the coasting tick, starting from the speed it had.
        pl.coast = pl.speed;
        pl.slowdown = true;
        return;
    }
    if (pl.stop || pl.slowdown || pl.spin || pl.crashed) return;
    Control& car = g.car(i);
    // No bounds here: a car driven past the edge is found in the wall by the crash tick.
    switch (pl.dir) {
    case Left:
        car.Left = static_cast<float>(double(car.Left) - pl.speed);
        break;
    case Down:
        car.Top = static_cast<float>(double(car.Top) + pl.speed);
        break;
    case Right:
        car.Left = static_cast<float>(double(car.Left) + pl.speed);
        break;
    case Up:
        car.Top = static_cast<float>(double(car.Top) - pl.speed);
        break;
    default:
        break;
    }
}

} // namespace

void Form1_Timer4_Timer(Game& g) {
    // A cheese crash and new settings take effect even while the game is paused.
    for (int i = 0; i < 2; ++i)
        startCheeseCrash(g, i);
    if (g.changed) settingsReset(g);
    if (g.allowed && !g.paused)
        for (int i = 0; i < 2; ++i)
            drive(g, i);
}

} // namespace squeakrun
