// Start-up (the main window's load) and the start button.
#include "game/game_setup.h"
#include "game/handlers.h"
#include "game/window/ops.h"

namespace squeakrun {

void Form1_Form_Load(Game& g) {
    Form1& f = g.f1;
    putDevicesAway(g);
    for (const PlayerRow& row : kPlayers) {
        g.ctl(row.trap).Enabled = false;
        g.ctl(row.trap).Visible = false;
    }

    g.paused = true;
    g.allowed = false;
    g.died = false;
    for (BonusItem& item : g.items) item.loaded = true;
    g.hcomment.clear();
    for (Player& pl : g.p) {
        pl.dir = None;
        pl.device = 1;
        pl.countdown = 0;
        pl.waiting = pl.cheesehit = pl.slickset = pl.trapdrop = pl.trapset = false;
        pl.leavegas = pl.refuel = pl.update = pl.stop = false;
        pl.slickstock = 0;
        pl.gasneed = 0;
    }

    closeStations(g);
    f.mnuFileSettings.Enabled = false;
    f.mnuFilePause.Enabled = false;
    f.Command3.Enabled = true;
    f.Command3.Visible = true;

    readHighScore(g);
    f.lblscore1.Caption = "0";
    f.lblScore.Caption = "0";
    placeCarsAtStart(g);

    // A cancelled box answers empty text, so each question comes back until it is answered.
    static constexpr const char* kNamePrompts[2] = {"Player 1 - Enter your name:", "Player 2 - Enter your name:"};
    static constexpr const char* kDefaultNames[2] = {"Skitter", "Scamper"};
    for (int i = 0; i < 2; ++i)
        while (g.p[i].name.empty() && !g.exited)
            g.p[i].name = input(g, kNamePrompts[i], "Name Entry", kDefaultNames[i]);
    while (difficultyLevel(g) == 0 && !g.exited)
        g.dif = input(g, "Enter Difficulty: (1-Easy|2-Average|3-Hard)", "Enter Difficulty", "2");

    f.lblpname.Caption = g.p[1].name;
    f.lblpname1.Caption = g.p[0].name;
    applyDifficulty(g);
    for (const PlayerRow& row : kPlayers) showNumber(g.ctl(row.livesLabel), g.p[row.number - 1].lives);

    message(g, "Click on the 'Start' button to start the game, Enjoy!", Buttons::OK, "Instructions");
}

void Form1_Command3_Click(Game& g) {
    Form1& f = g.f1;
    for (const PlayerRow& row : kPlayers) {
        for (auto member : {row.slick, row.cheese, row.trap}) g.ctl(member).Move(0, 0);
        g.ctl(row.trap).Enabled = false;
    }
    readHighScore(g);

    g.paused = false;
    g.allowed = true;
    g.died = false;
    g.outcomedone = false;
    for (BonusItem& item : g.items) item.loaded = false;
    for (Player& pl : g.p) {
        pl.score = 0;
        pl.gas = pl.gas1 = pl.cvalue;
        pl.dir = None;
        pl.device = 1;
        pl.waiting = pl.spin = pl.slickset = pl.trapdrop = pl.trapset = pl.leavegas = pl.update = false;
        pl.gasneed = 0;
    }

    for (const PlayerRow& row : kPlayers) g.ctl(row.trap).Visible = false;
    closeStations(g);
    setKeyBoxEnabled(g, true);
    for (const PlayerRow& row : kPlayers) {
        showNumber(g.ctl(row.gasLabel), g.p[row.number - 1].tgas);
        g.ctl(row.scoreLabel).Caption = "0";
    }
    f.mnuFileSettings.Enabled = true;
    f.mnuFilePause.Enabled = true;
    faceCarsDown(g);
    // Every game starts with the trap selected; the strip shows it even if a player cycled the
    // devices while the game stood paused before the start.
    for (const PlayerRow& row : kPlayers) g.ctl(row.select).Picture = "trapselect.gif";
    focusKeyBox(g);
    placeCarsAtStart(g);
    for (int n = 1; n <= 6; ++n) setTimer(g, n, true);

    f.Command2.Visible = true;
    f.Command1.Enabled = false;
    f.Command3.Enabled = false;
    f.Command3.Visible = false;
}

} // namespace squeakrun
