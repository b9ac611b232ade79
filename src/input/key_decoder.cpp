// The key decoder: every key press lands in the key box, and this handler turns the box's text into a
// request of player 2 or player 1 (a heading, a stop, a device, a drop, leaving a station, or a purchase
// in the upgrade station). It never moves a car; the ticks act on the requests.
#include "game/handlers.h"
#include "game/window/ops.h"

#include <string_view>

namespace squeakrun {

namespace {

// Positions of a player's letters in PlayerRow::keys.
enum KeyRole { KeyUp, KeyDown, KeyLeft, KeyRight, KeyStop, KeySelect, KeyDrop };

// Tanks and speeds in the upgrade station move in steps of 5 and stay within these limits.
constexpr Count kTankCeiling = 995, kTankFloor = 15;
constexpr double kSpeedCeiling = 995, kSpeedFloor = 20;
constexpr Count kTankPrice = 100, kSpeedPrice = 200;

// A letter typed in either case; the box must hold that one letter and nothing else.
bool typed(std::string_view text, const PlayerRow& row, KeyRole role) {
    char upper = row.keys[role];
    return text.size() == 1 && (text[0] == upper || text[0] == upper - 'A' + 'a');
}

bool anyCommandLetter(std::string_view text) {
    for (const PlayerRow& row : kPlayers)
        for (int role = KeyUp; role <= KeyDrop; ++role)
            if (typed(text, row, static_cast<KeyRole>(role))) return true;
    return false;
}

const std::string& keyText(Game& g) {
    return g.f1.Text3.Text;
}

void steer(Game& g, int i, Heading heading) {
    const PlayerRow& row = kPlayers[i];
    Player& pl = g.p[i];
    g.car(i).Picture = carPicture(row, heading);
    pl.dir = heading;
    clearKeyBox(g);
    pl.stop = false;
    pl.slowdown = false;
    g.ctl(row.countdown).Visible = false;
}

void selectNextDevice(Game& g, int i) {
    static constexpr const char* kSelectPictures[] = {"trapselect.gif", "cheeseselect.gif",
                                                      "raspslickselect.gif"};
    Player& pl = g.p[i];
    if (pl.device < 1 || pl.device > 3) return; // an unknown device stays as it is, key and all
    pl.device = pl.device % 3 + 1;
    g.ctl(kPlayers[i].select).Picture = kSelectPictures[pl.device - 1];
    clearKeyBox(g);
}

// A refused drop still uses up the key press.
void dropDevice(Game& g, int i) {
    const PlayerRow& row = kPlayers[i];
    Player& pl = g.p[i];
    switch (pl.device) {
    case 1: // the trap has no stock: whether one already lies out is decided when it is laid
        pl.trapdrop = true;
        g.ctl(row.trap).Enabled = true;
        break;
    case 2:
        if (!pl.cheesedrop && pl.cheesestock >= 1) {
            --pl.cheesestock;
            pl.cheesedrop = true;
            g.ctl(row.cheese).Enabled = true;
        }
        break;
    case 3:
        if (!pl.slickdrop && pl.slickstock >= 1) {
            --pl.slickstock;
            pl.slickdrop = true;
        }
        break;
    default:
        break;
    }
    clearKeyBox(g);
}

void driverKeys(Game& g, int i) {
    const PlayerRow& row = kPlayers[i];
    Player& pl = g.p[i];
    // In the gas station the stop key means "let me out now", not "stop".
    if (pl.refuel && typed(keyText(g), row, KeyStop)) {
        pl.leavegas = true;
        clearKeyBox(g);
    }
    static constexpr Heading kHeadings[] = {Up, Down, Left, Right};
    const std::string& text = keyText(g);
    for (int role = KeyUp; role <= KeyRight; ++role)
        if (typed(text, row, static_cast<KeyRole>(role))) return steer(g, i, kHeadings[role]);
    if (typed(text, row, KeyStop)) {
        pl.stop = true;
        clearKeyBox(g);
        g.ctl(row.countdown).Visible = false;
    } else if (typed(text, row, KeySelect)) {
        selectNextDevice(g, i);
    } else if (typed(text, row, KeyDrop)) {
        dropDevice(g, i);
    }
}

void afterShopping(Game& g, int i) {
    const PlayerRow& row = kPlayers[i];
    showNumber(g.ctl(row.scoreLabel), g.p[i].score);
    g.ctl(row.gauge).Cls(); // the contact tick prints the new figures
    clearKeyBox(g);
}

void leaveUpgradeStation(Game& g, int i) {
    const PlayerRow& row = kPlayers[i];
    Player& pl = g.p[i];
    Control& car = g.car(i);
    Control& gauge = g.ctl(row.gauge);
    if (pl.gas > pl.tgas) pl.gas = pl.gas1 = pl.tgas; // a tank sold below the gas in it spills the rest
    gauge.Cls();
    car.Picture = carPicture(row, Right);
    // The station shows whoever is still parked inside.
    int other = 1 - i;
    g.f1.update1.Picture = g.p[other].update ? kPlayers[other].aloneInUpgradePicture : "station1.gif";
    pl.update = false;
    car.Visible = true;
    car.Top = row.stationExitTop;
    car.Left = 600;
    pl.dir = Right;
    gauge.Visible = false;
    clearKeyBox(g);
}

// Buying costs points, selling earns them. A refusal for want of points uses up the key; a refusal at the
// ceiling leaves the key in the box.
void shopKeys(Game& g, int i) {
    const PlayerRow& row = kPlayers[i];
    Player& pl = g.p[i];
    const std::string& text = keyText(g);
    if (typed(text, row, KeyUp)) {
        if (pl.tgas < kTankCeiling && pl.score >= kTankPrice) {
            pl.tgas += 5;
            pl.score -= kTankPrice;
            afterShopping(g, i);
        } else if (pl.score < kTankPrice) {
            clearKeyBox(g);
        }
    } else if (typed(text, row, KeyDown)) {
        if (pl.tgas >= kTankFloor) {
            pl.tgas -= 5;
            pl.score += kTankPrice;
            afterShopping(g, i);
        } else {
            clearKeyBox(g);
        }
    } else if (typed(text, row, KeyRight)) {
        if (pl.score >= kSpeedPrice && pl.speed < kSpeedCeiling) {
            pl.speed += 5;
            pl.score -= kSpeedPrice;
            afterShopping(g, i);
        } else if (pl.score < kSpeedPrice) {
            clearKeyBox(g);
        }
    } else if (typed(text, row, KeyLeft)) {
        if (pl.speed > kSpeedFloor) {
            pl.speed -= 5;
            pl.score += kSpeedPrice;
            afterShopping(g, i);
        } else {
            clearKeyBox(g);
        }
    } else if (typed(text, row, KeyStop)) {
        leaveUpgradeStation(g, i);
    }
}

void playerSection(Game& g, int i) {
    const Player& pl = g.p[i];
    if (!pl.update && !pl.waiting && !pl.spin)
        driverKeys(g, i);
    else if (pl.update)
        shopKeys(g, i);
    // A car in a cheese crash or a skid ignores its player; the key waits in the box.
}

} // namespace

void Form1_Text3_Change(Game& g) {
    if (g.paused) return;
    if (!anyCommandLetter(keyText(g))) {
        // Anything that is not one command letter is thrown away at once.
        clearKeyBox(g);
        return;
    }
    // Player 2's keys are looked at first; a key it used leaves an empty box for player 1.
    playerSection(g, 1);
    playerSection(g, 0);
}

} // namespace squeakrun
