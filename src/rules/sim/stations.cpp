// The two stations: a car that drives into the gas station or the upgrade station parks there, and
// a car that slides into either while skidding is wrecked.
#include "rules/boxes.h"
#include "rules/events.h"
#include "rules/sim/contacts.h"
#include "rules/ticks.h"

#include <string>

namespace squeakrun {

namespace {

// A skidding car cannot stop and wrecks itself on the station; on the last life the game is over.
void stationCrash(Game& g, int i, const std::string_view (&text)[2]) {
    g.platform.cue(Cue::Crash);
    if (reviveIfAlive(g, i)) return;
    std::string words(text[0]);
    words += g.players[i].name;
    words += text[1];
    message(g, words, Buttons::OK, "Oooops");
    endGame(g);
}

void parkAtGasStation(Game& g, int i) {
    Player& pl = g.players[i];
    // The car parks even when its player cannot pay for the fill; refuelling then lets it out.
    pl.gasNeeded = static_cast<double>(pl.tankSize - pl.shownGas);
    pl.refuelling = true;
    setTimer(g, TickTimer::Refuelling, true);
    g.car(i).visible = false;
}

void parkAtUpgradeStation(Game& g, int i) {
    const PlayerRow& row = kPlayers[i];
    Control& station = g.window.upgradeStation;
    if (station.picture != row.aloneInUpgradePicture) station.picture = row.aloneInUpgradePicture;
    g.players[i].shopping = true;
    g.car(i).visible = false;
    g.control(row.gauge).visible = true;
}

// The gas station first, then the upgrade station; each against player 1, then player 2.
struct Station {
    Control MainWindow::*picture;
    bool Player::*parked;
    std::string_view const (PlayerRow::*crashWords)[2];
    void (*park)(Game&, int);
};
constexpr Station kStations[] = {
    {&MainWindow::gasStation, &Player::refuelling, &PlayerRow::gasStationCrash, parkAtGasStation},
    {&MainWindow::upgradeStation, &Player::shopping, &PlayerRow::upgradeStationCrash, parkAtUpgradeStation},
};

} // namespace

void stationContacts(Game& g) {
    // A parked car stays hidden on the station and is found again every tick; its parked flag keeps
    // it from parking twice.
    for (const Station& station : kStations) {
        for (int i = 0; i < 2; ++i) {
            if (!carTouches(g.car(i), g.control(station.picture), kStationWidth, kStationHeight)) continue;
            if (g.players[i].spinning)
                stationCrash(g, i, kPlayers[i].*station.crashWords);
            else if (!(g.players[i].*station.parked))
                station.park(g, i);
        }
    }
    // Both players shopping at once share the station picture.
    Control& upgrade = g.window.upgradeStation;
    if (g.players[0].shopping && g.players[1].shopping && upgrade.picture != "station112.gif")
        upgrade.picture = "station112.gif";
}

} // namespace squeakrun
