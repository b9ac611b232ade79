// The settings reset: new names or a new difficulty from the Game Settings window clear the field and
// put the game back before the start button. The movement tick runs it on its next tick, so it happens
// even while the game is paused.
//
// Unlike the end of a game it keeps both players' lives counters in step with the new difficulty and
// reads their names back from the labels the window just wrote; unlike start-up it asks nothing.
#include "rules/boxes.h"
#include "rules/display.h"
#include "rules/lifecycle/shared_steps.h"

namespace squeakrun {

// New names or a new difficulty: clear the field and wait for the start button again.
void settingsReset(Game& g) {
    MainWindow& f = g.window;
    putDevicesAway(g);
    for (const PlayerRow& row : kPlayers)
        g.control(row.trap).visible = false;
    for (Player& pl : g.players) {
        pl.spinning = pl.splattered = false;
        pl.slickStock = 0;
    }
    for (BonusItem& item : g.bonusItems)
        item.givesSlicks = false;
    for (const PlayerRow& row : kPlayers) {
        g.control(row.car).visible = true;
        g.control(row.countdownLabel).visible = false;
    }
    for (Player& pl : g.players) {
        pl.hitByCheese = false;
        pl.countdown = 0;
        pl.device = Device::Trap;
    }
    for (const PlayerRow& row : kPlayers)
        g.control(row.deviceLabel).picture = devicePicture(Device::Trap);
    for (Player& pl : g.players) {
        pl.cheeseRolling = pl.cheeseDropped = false;
        pl.cheeseSpeed = 0;
        pl.cheeseHeading = None;
        pl.leavingStation = pl.trapDropped = pl.trapLaid = false;
        pl.shopping = false;
        // A car that was refuelling stands at its start place now; left marked as refuelling it could
        // never drive again, since the start button stops the refuelling timer.
        pl.refuelling = false;
    }
    for (const PlayerRow& row : kPlayers) {
        Control& trap = g.control(row.trap);
        trap.enabled = false;
        trap.visible = false;
        Control& gauge = g.control(row.gauge);
        gauge.clearLines();
        gauge.visible = false;
    }
    f.upgradeStation.picture = "station1.gif";
    f.settingsEntry.enabled = false;
    f.pauseEntry.enabled = false;
    for (const PlayerRow& row : kPlayers)
        g.players[row.number - 1].name = g.control(row.nameLabel).caption;
    f.startButton.enabled = true;
    f.startButton.visible = true;
    f.bonusItem1.visible = false;
    readHighScore(g);
    for (const PlayerRow& row : kPlayers) {
        g.players[row.number - 1].score = 0;
        showNumber(g.control(row.scoreLabel), 0);
    }
    placeCarsAtStart(g);
    for (Player& pl : g.players)
        pl.heading = None;
    g.carsMayMove = false;
    applyDifficulty(g);
    for (const PlayerRow& row : kPlayers)
        showNumber(g.control(row.livesLabel), g.players[row.number - 1].lives);
    g.settingsChanged = false;
    for (BonusItem& item : g.bonusItems)
        item.placed = true;
    message(g, "Click on the 'Start' button to start the game, Enjoy!", Buttons::OK, "Instructions");
}

} // namespace squeakrun
