// The end of a game: the winner by points, the high-score record with its three files, and the reset
// that leaves the window ready for the start button to begin the next game.
#include "rules/boxes.h"
#include "rules/display.h"
#include "rules/events.h"
#include "rules/key_box.h"
#include "rules/lifecycle/shared_steps.h"
#include "rules/saved_records.h"
#include "rules/ticks.h"

#include <string>

namespace squeakrun {

namespace {

// A record that cannot be written (read-only folder, full disk) must not stop the game. Saves are atomic,
// so the record already on disk stays whole; the players hear about it once per run.
bool save(Game& g, const char* file, const std::string& text) {
    if (saveRecord(g, file, text)) return true;
    if (g.recordFailureReported) return false;
    g.recordFailureReported = true;
    message(g,
            "The high score could not be saved in " + g.platform.recordFolder().string() +
                ". The game goes on without it.",
            Buttons::OK, "High Score");
    return false;
}

void recordHighScore(Game& g, int winner) {
    g.platform.cue(Cue::Record);
    const Player& pl = g.players[winner];
    Control& scoreBox = g.window.highScoreBox;
    scoreBox.text = std::to_string(pl.score);
    // Read back what was stored; when nothing could be stored, the box keeps showing the new record.
    if (save(g, "hscore.txt", scoreBox.text)) scoreBox.text = loadRecord(g, "hscore.txt");
    g.highScore = static_cast<double>(pl.score);

    ScoresWindow& scores = scoresWindow(g);
    scores.scoreBox.text = scoreBox.text;
    scores.nameBox.text = g.control(kPlayers[winner].nameLabel).caption;
    save(g, "name.txt", scores.nameBox.text);
    // A cancelled box gives an empty comment, which is stored, and the question comes again.
    while (g.highScoreComment.empty() && !g.exited) {
        g.highScoreComment =
            input(g, "Enter a comment for the record :)", "Congratulations!", "I rule, you drool!");
        scores.commentBox.text = g.highScoreComment;
        save(g, "comment.txt", scores.commentBox.text);
    }
}

void announce(Game& g) {
    const Count p1 = g.players[0].score, p2 = g.players[1].score;
    if (p1 == p2) {
        message(g, "Well, nobody won that round, it was a tie!", Buttons::OK, "Tie Game!");
        g.gameScored = true;
        return;
    }
    int winner = p2 > p1 ? 1 : 0;
    const Player& pl = g.players[winner];
    // Reaching the high score exactly counts as beating it.
    if (static_cast<double>(pl.score) >= g.highScore) {
        message(g, pl.name + " wins for points this round, and he beat the high score!", Buttons::OK,
                "Outcome");
        recordHighScore(g, winner);
    } else {
        message(g, pl.name + " wins for points this round, but didn't make the high scores!", Buttons::OK,
                "Outcome");
    }
    g.gameScored = true;
}

// Back to the state between games: same names and difficulty, full lives and tanks, nothing on the field.
void newGameReset(Game& g) {
    MainWindow& f = g.window;
    putDevicesAway(g);
    for (const PlayerRow& row : kPlayers) {
        g.control(row.countdownLabel).visible = false;
        g.control(row.deviceLabel).picture = devicePicture(Device::Trap);
    }
    for (const PlayerRow& row : kPlayers) {
        g.control(row.trap).enabled = false;
        g.control(row.trap).visible = false;
    }
    closeStations(g);

    g.gameEnded = true;
    for (const PlayerRow& row : kPlayers) {
        Player& pl = g.players[row.number - 1];
        pl.score = 0;
        showNumber(g.control(row.scoreLabel), 0);
        pl.heading = None;
        pl.device = Device::Trap;
        pl.countdown = 0;
        pl.cheeseStock = pl.slickStock = 0;
        pl.gasNeeded = 0;
        pl.splattered = pl.hitByCheese = pl.spinning = pl.slickLaid = pl.slickDropped = pl.trapDropped =
            pl.trapLaid = false;
        pl.leavingStation = pl.refuelling = pl.shopping = false;
    }
    for (BonusItem& item : g.bonusItems) {
        item.placed = true;
        item.givesCheese = item.givesSlicks = false;
    }
    g.bonusItems[0].points = {0, 0};

    applyDifficulty(g);
    for (const PlayerRow& row : kPlayers)
        showNumber(g.control(row.livesLabel), g.players[row.number - 1].lives);

    g.carsMayMove = false;
    setPlayTimers(g, false);
    f.bonusItem1.visible = false;
    f.player2Car.enabled = false;
    f.startButton.enabled = true;
    f.startButton.visible = true;
    setKeyBoxEnabled(g, false);
    g.highScoreComment.clear(); // the next record asks for a comment of its own

    faceCarsDown(g);
    placeCarsAtStart(g);
    for (const PlayerRow& row : kPlayers)
        g.control(row.car).visible = true;
    f.bonusItem1.visible = false;
    f.bonusItem2.visible = false;
    for (const PlayerRow& row : kPlayers) {
        Player& pl = g.players[row.number - 1];
        pl.shownGas = pl.tankGas = pl.difficultyTank;
        showNumber(g.control(row.gasLabel), pl.tankSize);
    }
}

} // namespace

void endGame(Game& g) {
    if (g.gameScored) return; // the game has been scored already
    g.paused = true;
    g.window.settingsEntry.enabled = false;
    g.window.pauseEntry.enabled = false;
    g.platform.cue(Cue::GameOver);
    announce(g);
    newGameReset(g);
}

} // namespace squeakrun
