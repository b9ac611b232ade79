// The key decoder: every key press lands in the key box, and this handler turns the box's text into a
// request of player 2 or player 1 (a heading, a stop, a device, a drop, leaving a station, or a purchase
// in the upgrade station). It never moves a car; the ticks act on the requests.
#include "rules/display.h"
#include "rules/events.h"
#include "rules/key_box.h"

#include <string_view>

namespace squeakrun {

namespace {

// Tanks and speeds in the upgrade station move in steps of 5. The limits only say when the station
// still trades: it buys below a ceiling and sells from a floor, so one step may carry a value past
// either (and raspberry slicks cut tanks and speeds further).
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
    return g.window.keyBox.text;
}

void steer(Game& g, int i, Heading heading) {
    const PlayerRow& row = kPlayers[i];
    Player& pl = g.players[i];
    g.car(i).picture = carPicture(row, heading);
    pl.heading = heading;
    clearKeyBox(g);
    pl.stopKeyPressed = false;
    pl.coasting = false;
    g.control(row.countdownLabel).visible = false;
}

// The trap, the cheese, the slick, and round again.
void selectNextDevice(Game& g, int i) {
    static constexpr Device kAfter[] = {Device::Cheese, Device::Slick, Device::Trap};
    Player& pl = g.players[i];
    const int now = static_cast<int>(pl.device);
    if (now < 1 || now > 3) return; // an unknown device stays as it is, key and all
    pl.device = kAfter[now - 1];
    g.control(kPlayers[i].deviceLabel).picture = devicePicture(pl.device);
    clearKeyBox(g);
}

// A refused drop still uses up the key press.
void dropDevice(Game& g, int i) {
    const PlayerRow& row = kPlayers[i];
    Player& pl = g.players[i];
    switch (pl.device) {
    case Device::Trap: // the trap has no stock: whether one already lies out is decided when it is laid
        pl.trapDropped = true;
        g.control(row.trap).enabled = true;
        break;
    case Device::Cheese:
        if (!pl.cheeseDropped && pl.cheeseStock >= 1) {
            --pl.cheeseStock;
            pl.cheeseDropped = true;
            g.control(row.cheese).enabled = true;
        }
        break;
    case Device::Slick:
        if (!pl.slickDropped && pl.slickStock >= 1) {
            --pl.slickStock;
            pl.slickDropped = true;
        }
        break;
    default:
        break;
    }
    clearKeyBox(g);
}

void driverKeys(Game& g, int i) {
    const PlayerRow& row = kPlayers[i];
    Player& pl = g.players[i];
    // In the gas station the stop key means "let me out now", not "stop".
    if (pl.refuelling && typed(keyText(g), row, KeyStop)) {
        pl.leavingStation = true;
        clearKeyBox(g);
    }
    const std::string& text = keyText(g);
    for (int role = KeyUp; role <= KeyRight; ++role)
        if (typed(text, row, static_cast<KeyRole>(role))) return steer(g, i, kSteeringHeading[role]);
    if (typed(text, row, KeyStop)) {
        pl.stopKeyPressed = true;
        clearKeyBox(g);
        g.control(row.countdownLabel).visible = false;
    } else if (typed(text, row, KeySelect)) {
        selectNextDevice(g, i);
    } else if (typed(text, row, KeyDrop)) {
        dropDevice(g, i);
    }
}

void afterShopping(Game& g, int i) {
    g.platform.cue(Cue::Shop);
    const PlayerRow& row = kPlayers[i];
    showNumber(g.control(row.scoreLabel), g.players[i].score);
    g.control(row.gauge).clearLines(); // the contact tick prints the new figures
    clearKeyBox(g);
}

void leaveUpgradeStation(Game& g, int i) {
    const PlayerRow& row = kPlayers[i];
    Player& pl = g.players[i];
    Control& car = g.car(i);
    Control& gauge = g.control(row.gauge);
    if (pl.shownGas > pl.tankSize)
        pl.shownGas = pl.tankGas = pl.tankSize; // a tank sold below the gas in it spills the rest
    gauge.clearLines();
    car.picture = carPicture(row, Right);
    // The station shows whoever is still parked inside.
    int other = 1 - i;
    g.window.upgradeStation.picture =
        g.players[other].shopping ? kPlayers[other].aloneInUpgradePicture : "station1.gif";
    pl.shopping = false;
    car.visible = true;
    car.top = row.stationExitTop;
    car.left = 600;
    pl.heading = Right;
    gauge.visible = false;
    clearKeyBox(g);
}

// Buying costs points, selling earns them. A refusal for want of points uses up the key; a refusal at the
// ceiling leaves the key in the box.
void shopKeys(Game& g, int i) {
    const PlayerRow& row = kPlayers[i];
    Player& pl = g.players[i];
    const std::string& text = keyText(g);
    if (typed(text, row, KeyBuyTank)) {
        if (pl.tankSize < kTankCeiling && pl.score >= kTankPrice) {
            pl.tankSize += 5;
            pl.score -= kTankPrice;
            afterShopping(g, i);
        } else if (pl.score < kTankPrice) {
            clearKeyBox(g);
        }
    } else if (typed(text, row, KeySellTank)) {
        if (pl.tankSize >= kTankFloor) {
            pl.tankSize -= 5;
            pl.score += kTankPrice;
            afterShopping(g, i);
        } else {
            clearKeyBox(g);
        }
    } else if (typed(text, row, KeyBuySpeed)) {
        if (pl.score >= kSpeedPrice && pl.speed < kSpeedCeiling) {
            pl.speed += 5;
            pl.score -= kSpeedPrice;
            afterShopping(g, i);
        } else if (pl.score < kSpeedPrice) {
            clearKeyBox(g);
        }
    } else if (typed(text, row, KeySellSpeed)) {
        if (pl.speed > kSpeedFloor) {
            pl.speed -= 5;
            pl.score += kSpeedPrice;
            afterShopping(g, i);
        } else {
            clearKeyBox(g);
        }
    } else if (typed(text, row, KeyLeave)) {
        leaveUpgradeStation(g, i);
    }
}

void playerSection(Game& g, int i) {
    const Player& pl = g.players[i];
    if (!pl.shopping && !pl.splattered && !pl.spinning)
        driverKeys(g, i);
    else if (pl.shopping)
        shopKeys(g, i);
    // A car in a cheese crash or a skid ignores its player; the key waits in the box.
}

} // namespace

void decodeKeyBox(Game& g) {
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
