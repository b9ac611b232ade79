// Start-up (the main window's load) and the start button.
#include "rules/boxes.h"
#include "rules/display.h"
#include "rules/events.h"
#include "rules/key_box.h"
#include "rules/lifecycle/shared_steps.h"
#include "rules/ticks.h"

namespace squeakrun {

void startUp(Game& g) {
    MainWindow& f = g.window;
    putDevicesAway(g);
    for (const PlayerRow& row : kPlayers) {
        g.control(row.trap).enabled = false;
        g.control(row.trap).visible = false;
    }

    g.paused = true;
    g.carsMayMove = false;
    g.gameEnded = false;
    for (BonusItem& item : g.bonusItems)
        item.placed = true;
    g.highScoreComment.clear();
    for (Player& pl : g.players) {
        pl.heading = None;
        pl.device = Device::Trap;
        pl.countdown = 0;
        pl.splattered = pl.hitByCheese = pl.slickLaid = pl.trapDropped = pl.trapLaid = false;
        pl.leavingStation = pl.refuelling = pl.shopping = pl.stopKeyPressed = false;
        pl.slickStock = 0;
        pl.gasNeeded = 0;
    }

    closeStations(g);
    f.settingsEntry.enabled = false;
    f.pauseEntry.enabled = false;
    f.startButton.enabled = true;
    f.startButton.visible = true;

    readHighScore(g);
    f.player1Score.caption = "0";
    f.player2Score.caption = "0";
    placeCarsAtStart(g);

    // A cancelled box answers empty text, so each question comes back until it is answered.
    static constexpr const char* kNamePrompts[2] = {"Player 1 - Enter your name:",
                                                    "Player 2 - Enter your name:"};
    static constexpr const char* kDefaultNames[2] = {"Skitter", "Scamper"};
    for (int i = 0; i < 2; ++i)
        while (g.players[i].name.empty() && !g.exited)
            g.players[i].name = input(g, kNamePrompts[i], "Name Entry", kDefaultNames[i]);
    while (difficultyLevel(g) == 0 && !g.exited)
        g.difficulty = input(g, "Enter Difficulty: (1-Easy|2-Average|3-Hard)", "Enter Difficulty", "2");

    f.player2Name.caption = g.players[1].name;
    f.player1Name.caption = g.players[0].name;
    applyDifficulty(g);
    for (const PlayerRow& row : kPlayers)
        showNumber(g.control(row.livesLabel), g.players[row.number - 1].lives);

    message(g, "Click on the 'Start' button to start the game, Enjoy!", Buttons::OK, "Instructions");
}

void pressStartButton(Game& g) {
    MainWindow& f = g.window;
    for (const PlayerRow& row : kPlayers) {
        for (auto member : {row.slick, row.cheese, row.trap})
            g.control(member).moveTo(0, 0);
        g.control(row.trap).enabled = false;
    }
    readHighScore(g);

    g.paused = false;
    g.carsMayMove = true;
    g.gameEnded = false;
    g.gameScored = false;
    // Nothing left from the last game pays: each item gives something again only once the bonus-item
    // tick has placed it anew.
    for (BonusItem& item : g.bonusItems)
        item = BonusItem{};
    for (Player& pl : g.players) {
        pl.score = 0;
        pl.shownGas = pl.tankGas = pl.difficultyTank;
        pl.heading = None;
        pl.device = Device::Trap;
        pl.splattered = pl.spinning = pl.slickLaid = pl.trapDropped = pl.trapLaid = pl.leavingStation =
            pl.shopping = false;
        pl.gasNeeded = 0;
    }

    for (const PlayerRow& row : kPlayers)
        g.control(row.trap).visible = false;
    closeStations(g);
    setKeyBoxEnabled(g, true);
    for (const PlayerRow& row : kPlayers) {
        showNumber(g.control(row.gasLabel), g.players[row.number - 1].tankSize);
        g.control(row.scoreLabel).caption = "0";
    }
    f.settingsEntry.enabled = true;
    f.pauseEntry.enabled = true;
    faceCarsDown(g);
    // Every game starts with the trap selected; the strip shows it even if a player cycled the
    // devices while the game stood paused before the start.
    for (const PlayerRow& row : kPlayers)
        g.control(row.deviceLabel).picture = devicePicture(Device::Trap);
    focusKeyBox(g);
    placeCarsAtStart(g);
    setPlayTimers(g, true);

    f.bonusItem1.visible = true;
    f.player2Car.enabled = false;
    f.startButton.enabled = false;
    f.startButton.visible = false;
    g.platform.cue(Cue::Start);
}

} // namespace squeakrun
