// The two stations: a car that drives into the gas station or the upgrade station parks there, and
// a car that slides into either while skidding is wrecked.
#include "game/handlers.h"
#include "game/window/ops.h"
#include "sim/contacts.h"

#include <string>

namespace squeakrun {

namespace {

constexpr int kRefuelTimer = 7;

// A skidding car cannot stop and wrecks itself on the station; on the last life the game is over.
void stationCrash(Game& g, int i, const std::string_view (&text)[2]) {
    if (reviveIfAlive(g, i)) return;
    std::string words(text[0]);
    words += g.p[i].name;
    words += text[1];
    message(g, words, Buttons::OK, "Oooops");
    dead(g);
}

void parkAtGasStation(Game& g, int i) {
    Player& pl = g.p[i];
    // The car parks even when its player cannot pay for the fill; refuelling then lets it out.
    pl.gasneed = static_cast<double>(pl.tgas - pl.gas);
    pl.refuel = true;
    setTimer(g, kRefuelTimer, true);
    g.car(i).Visible = false;
}

void parkAtUpgradeStation(Game& g, int i) {
    const PlayerRow& row = kPlayers[i];
    Control& station = g.f1.update1;
    if (station.Picture != row.aloneInUpgradePicture) station.Picture = row.aloneInUpgradePicture;
    g.p[i].update = true;
    g.car(i).Visible = false;
    g.ctl(row.gauge).Visible = true;
}

// The gas station first, then the upgrade station; each against player 1, then player 2.
struct Station {
    Control Form1::*picture;
    bool Player::*parked;
    std::string_view const (PlayerRow::*crashWords)[2];
    void (*park)(Game&, int);
};
constexpr Station kStations[] = {
    {&Form1::refuel, &Player::refuel, &PlayerRow::gasStationCrash, parkAtGasStation},
    {&Form1::update1, &Player::update, &PlayerRow::upgradeStationCrash, parkAtUpgradeStation},
};

} // namespace

void stationContacts(Game& g) {
    // A parked car stays hidden on the station and is found again every tick; its parked flag keeps
    // it from parking twice.
    for (const Station& station : kStations) {
        for (int i = 0; i < 2; ++i) {
            if (!carTouches(g.car(i), g.ctl(station.picture), kStationWidth, kStationHeight)) continue;
            if (g.p[i].spin)
                stationCrash(g, i, kPlayers[i].*station.crashWords);
            else if (!(g.p[i].*station.parked))
                station.park(g, i);
        }
    }
    // Both players shopping at once share the station picture.
    Control& upgrade = g.f1.update1;
    if (g.p[0].update && g.p[1].update && upgrade.Picture != "station112.gif")
        upgrade.Picture = "station112.gif";
}

} // namespace squeakrun
