#include "rules/lifecycle/shared_steps.h"

#include "rules/boxes.h"
#include "rules/display.h"
#include "rules/saved_records.h"
#include "rules/ticks.h"
#include "window/numbers.h"

namespace squeakrun {

int difficultyLevel(const Game& g) {
    auto value = wholeNumber(g.difficulty);
    if (!value) return 0;
    for (int level = 1; level <= 3; ++level)
        if (*value == level) return level;
    return 0;
}

void applyDifficulty(Game& g) {
    int level = difficultyLevel(g);
    if (level == 0) return;
    const Difficulty& d = kDifficulties[level - 1];
    for (Player& pl : g.players)
        pl.lives = d.lives;
    settingsWindow(g).difficultyLabel.caption = std::string(d.name);
    for (Player& pl : g.players) {
        pl.difficultyTank = d.tank;
        pl.difficultySpeed = d.speed;
    }
    for (Player& pl : g.players) {
        pl.tankSize = pl.difficultyTank;
        pl.speed = pl.difficultySpeed;
    }
}

void readHighScore(Game& g) {
    Control& box = g.window.highScoreBox;
    box.text = loadRecord(g, "hscore.txt");
    if (box.text.empty()) box.text = "0";
    g.highScore = leadingNumber(box.text);
}

void putDevicesAway(Game& g, int player) {
    const PlayerRow& row = kPlayers[player];
    for (auto member : {row.slick, row.cheese})
        g.control(member).visible = false;
    for (auto member : {row.slick, row.cheese, row.trap})
        g.control(member).moveTo(0, 0);
}

void putDevicesAway(Game& g) {
    for (int i = 0; i < 2; ++i)
        putDevicesAway(g, i);
}

void closeStations(Game& g) {
    for (const PlayerRow& row : kPlayers) {
        Control& gauge = g.control(row.gauge);
        gauge.clearLines();
        gauge.visible = false;
    }
    g.window.upgradeStation.picture = "station1.gif";
    setTimer(g, TickTimer::Refuelling, false);
}

void placeCarsAtStart(Game& g) {
    for (const PlayerRow& row : kPlayers)
        g.control(row.car).moveTo(row.startLeft, row.startTop);
}

void faceCarsDown(Game& g) {
    for (const PlayerRow& row : kPlayers)
        g.control(row.car).picture = carPicture(row, Down);
}

} // namespace squeakrun
