#include "game/game_setup.h"

#include "game/numbers.h"
#include "game/record_file.h"
#include "game/window/ops.h"

namespace squeakrun {

int difficultyLevel(const Game& g) {
    auto value = wholeNumber(g.dif);
    if (!value) return 0;
    for (int level = 1; level <= 3; ++level)
        if (*value == level) return level;
    return 0;
}

void applyDifficulty(Game& g) {
    int level = difficultyLevel(g);
    if (level == 0) return;
    const Difficulty& d = kDifficulties[level - 1];
    for (Player& pl : g.p)
        pl.lives = d.lives;
    settingsWindow(g).lbldif.Caption = std::string(d.name);
    for (Player& pl : g.p) {
        pl.cvalue = d.tank;
        pl.cvalue1 = d.speed;
    }
    for (Player& pl : g.p) {
        pl.tgas = pl.cvalue;
        pl.speed = pl.cvalue1;
    }
}

void readHighScore(Game& g) {
    Control& box = g.f1.RichTextBox1;
    box.Text = loadRecordFile(appFile(g, "hscore.txt"));
    if (box.Text.empty()) box.Text = "0";
    g.highscore = leadingNumber(box.Text);
}

void putDevicesAway(Game& g, int player) {
    const PlayerRow& row = kPlayers[player];
    for (auto member : {row.slick, row.cheese})
        g.ctl(member).Visible = false;
    for (auto member : {row.slick, row.cheese, row.trap})
        g.ctl(member).Move(0, 0);
}

void putDevicesAway(Game& g) {
    for (int i = 0; i < 2; ++i)
        putDevicesAway(g, i);
}

void closeStations(Game& g) {
    for (const PlayerRow& row : kPlayers) {
        Control& gauge = g.ctl(row.gauge);
        gauge.Cls();
        gauge.Visible = false;
    }
    g.f1.update1.Picture = "station1.gif";
    setTimer(g, 7, false);
}

void placeCarsAtStart(Game& g) {
    for (const PlayerRow& row : kPlayers)
        g.ctl(row.car).Move(row.startLeft, row.startTop);
}

void faceCarsDown(Game& g) {
    for (const PlayerRow& row : kPlayers)
        g.ctl(row.car).Picture = carPicture(row, Down);
}

} // namespace squeakrun
