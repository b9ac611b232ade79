// The end of a game: the winner by points, the high-score record with its three files, and the reset
// that leaves the window ready for the start button to begin the next game.
#include "game/game_setup.h"
#include "game/handlers.h"
#include "game/record_file.h"
#include "game/window/ops.h"

#include <string>

namespace squeakrun {

namespace {

// A record that cannot be written (read-only folder, full disk) must not stop the game. Saves are atomic,
// so the record already on disk stays whole; the players hear about it once per run.
bool save(Game& g, const char* file, const std::string& text) {
    if (saveRecordFile(appFile(g, file), text)) return true;
    if (g.recordFailureReported) return false;
    g.recordFailureReported = true;
    message(g,
            "The high score could not be saved in " + g.platform.appFolder().string() +
                ". The game goes on without it.",
            Buttons::OK, "High Score");
    return false;
}

void recordHighScore(Game& g, int winner) {
    const Player& pl = g.p[winner];
    Control& scoreBox = g.f1.RichTextBox1;
    scoreBox.Text = std::to_string(pl.score);
    // Read back what was stored; when nothing could be stored, the box keeps showing the new record.
    if (save(g, "hscore.txt", scoreBox.Text)) scoreBox.Text = loadRecordFile(appFile(g, "hscore.txt"));
    g.highscore = static_cast<double>(pl.score);

    Form4& scores = scoresWindow(g);
    scores.RichTextBox1.Text = scoreBox.Text;
    scores.RichTextBox2.Text = g.ctl(kPlayers[winner].nameLabel).Caption;
    save(g, "name.txt", scores.RichTextBox2.Text);
    // A cancelled box gives an empty comment, which is stored, and the question comes again.
    while (g.hcomment.empty() && !g.exited) {
        g.hcomment = input(g, "Enter a comment for the record :)", "Congratulations!", "I rule, you drool!");
        scores.RichTextBox3.Text = g.hcomment;
        save(g, "comment.txt", scores.RichTextBox3.Text);
    }
}

void announce(Game& g) {
    const Count p1 = g.p[0].score, p2 = g.p[1].score;
    if (p1 == p2) {
        message(g, "Well, nobody won that round, it was a tie!", Buttons::OK, "Tie Game!");
        g.outcomedone = true;
        return;
    }
    int winner = p2 > p1 ? 1 : 0;
    const Player& pl = g.p[winner];
    // Reaching the high score exactly counts as beating it.
    if (static_cast<double>(pl.score) >= g.highscore) {
        message(g, pl.name + " wins for points this round, and he beat the high score!", Buttons::OK,
                "Outcome");
        recordHighScore(g, winner);
    } else {
        message(g, pl.name + " wins for points this round, but didn't make the high scores!", Buttons::OK,
                "Outcome");
    }
    g.outcomedone = true;
}

// Back to the state between games: same names and difficulty, full lives and tanks, nothing on the field.
void newGameReset(Game& g) {
    Form1& f = g.f1;
    putDevicesAway(g);
    for (const PlayerRow& row : kPlayers) {
        g.ctl(row.countdown).Visible = false;
        g.ctl(row.select).Picture = "trapselect.gif";
    }
    for (const PlayerRow& row : kPlayers) {
        g.ctl(row.trap).Enabled = false;
        g.ctl(row.trap).Visible = false;
    }
    closeStations(g);

    g.died = true;
    for (const PlayerRow& row : kPlayers) {
        Player& pl = g.p[row.number - 1];
        pl.score = 0;
        showNumber(g.ctl(row.scoreLabel), 0);
        pl.dir = None;
        pl.device = 1;
        pl.countdown = 0;
        pl.cheesestock = pl.slickstock = 0;
        pl.gasneed = 0;
        pl.waiting = pl.cheesehit = pl.spin = pl.slickset = pl.slickdrop = pl.trapdrop = pl.trapset = false;
        pl.leavegas = pl.refuel = pl.update = false;
    }
    for (BonusItem& item : g.items) {
        item.loaded = true;
        item.blob = item.slickpup = false;
    }
    g.items[0].points = {0, 0};

    applyDifficulty(g);
    for (const PlayerRow& row : kPlayers)
        showNumber(g.ctl(row.livesLabel), g.p[row.number - 1].lives);

    g.allowed = false;
    for (int n = 1; n <= 6; ++n)
        setTimer(g, n, false);
    f.Command2.Visible = false;
    f.Command1.Enabled = false;
    f.Command3.Enabled = true;
    f.Command3.Visible = true;
    setKeyBoxEnabled(g, false);
    g.hcomment.clear(); // the next record asks for a comment of its own

    faceCarsDown(g);
    placeCarsAtStart(g);
    for (const PlayerRow& row : kPlayers)
        g.ctl(row.car).Visible = true;
    f.Command2.Visible = false;
    f.Com2.Visible = false;
    for (const PlayerRow& row : kPlayers) {
        Player& pl = g.p[row.number - 1];
        pl.gas = pl.gas1 = pl.cvalue;
        showNumber(g.ctl(row.gasLabel), pl.tgas);
    }
}

} // namespace

void dead(Game& g) {
    if (g.outcomedone) return; // the game has been scored already
    g.paused = true;
    g.f1.mnuFileSettings.Enabled = false;
    g.f1.mnuFilePause.Enabled = false;
    announce(g);
    newGameReset(g);
}

} // namespace squeakrun
