// The contact tick, every 10 ms: the stock labels, laying slicks and traps behind the cars, the
// upgrade-station gauges, then the contacts of the cars with slicks, bonus items, cheese and stations.
#include "rules/display.h"
#include "rules/events.h"
#include "rules/sim/contacts.h"

#include <charconv>
#include <string_view>

namespace squeakrun {

namespace {

// The stock of the selected device; a trap never runs out.
void showStock(Game& g, int i) {
    const Player& pl = g.players[i];
    Control& label = g.control(kPlayers[i].stockLabel);
    switch (pl.device) {
    case Device::Trap:
        if (label.caption != "Infinite") label.caption = "Infinite";
        break;
    case Device::Cheese:
        showNumber(label, pl.cheeseStock);
        break; // a stock never set reads 0
    case Device::Slick:
        showNumber(label, pl.slickStock);
        break;
    default:
        break; // no device selected: the label keeps what it said
    }
}

// Where a dropped device lands, one car length behind the car, by heading (index 1 to 4).
struct Placement {
    float dLeft, dTop;
};
constexpr Placement kSlickBehind[5] = {{0, 0}, {255, 0}, {0, -255}, {-255, 0}, {0, 255}};

// A trap lies across the road when the car drove left or right and stands along it otherwise; it
// is laid a little further back when the car drove down or right, clear of the car's own box.
struct TrapLaying {
    const char* picture;
    float dLeft, dTop, height, width;
};
constexpr TrapLaying kTrapBehind[5] = {{"", 0, 0, 0, 0},
                                       {"trapleft.gif", 255, 0, 135, 255},
                                       {"trapdown.gif", 0, -375, 255, 135},
                                       {"trapright.gif", -375, 0, 135, 255},
                                       {"trapup.gif", 0, 255, 255, 135}};

// A car without a heading has no "behind": its slick counts as laid but stays off the field.
void dropSlick(Game& g, int i) {
    Player& pl = g.players[i];
    if (!pl.slickDropped || pl.slickLaid) return;
    pl.slickLaid = true;
    if (!isHeading(pl.heading)) return;
    const Control& car = g.car(i);
    Control& slick = g.control(kPlayers[i].slick);
    const Placement& at = kSlickBehind[pl.heading];
    slick.top = car.top + at.dTop;
    slick.left = car.left + at.dLeft;
    slick.visible = true;
    slick.enabled = true;
    g.platform.cue(Cue::Drop);
}

// A trap asked for before the car has a heading waits until it has one.
void dropTrap(Game& g, int i) {
    Player& pl = g.players[i];
    if (!pl.trapDropped || pl.trapLaid || !isHeading(pl.heading)) return;
    const Control& car = g.car(i);
    Control& trap = g.control(kPlayers[i].trap);
    const TrapLaying& at = kTrapBehind[pl.heading];
    trap.picture = at.picture;
    trap.top = car.top + at.dTop;
    trap.left = car.left + at.dLeft;
    trap.height = at.height;
    trap.width = at.width;
    trap.visible = true;
    pl.trapHeading = pl.heading;
    pl.trapLaid = true;
    g.platform.cue(Cue::Drop);
}

// Writes "<label><number>" into a gauge line, touching the line only when its text changes.
template <class Number> void gaugeLine(std::string& line, std::string_view label, Number value) {
    char text[64];
    const std::size_t n = label.copy(text, label.size());
    const auto end = std::to_chars(text + n, text + sizeof text, value).ptr;
    const std::string_view wanted(text, static_cast<std::size_t>(end - text));
    if (line != wanted) line.assign(wanted);
}

// While a player shops in the upgrade station the gauge shows the tank size and speed being bought.
// The shop changes them between ticks, so the gauge is checked every tick, but only rewritten when
// a figure changed.
void drawGauge(Game& g, int i) {
    const Player& pl = g.players[i];
    if (!pl.shopping) return;
    Control& gauge = g.control(kPlayers[i].gauge);
    if (gauge.lines.size() != 2) gauge.lines.resize(2);
    gaugeLine(gauge.lines[0], "Gas: ", pl.tankSize);
    gaugeLine(gauge.lines[1], "Speed: ", pl.speed);
}

} // namespace

void contactTick(Game& g) {
    showStock(g, 1);
    showStock(g, 0);
    for (int i = 0; i < 2; ++i)
        dropSlick(g, i);
    for (int i = 0; i < 2; ++i)
        dropTrap(g, i);
    for (int i = 0; i < 2; ++i)
        drawGauge(g, i);
    // Slicks and bonus items only count while a round runs; cheese and the stations whenever the
    // game is not paused.
    if (g.carsMayMove) {
        slickContacts(g);
        bonusPickups(g);
    }
    if (!g.paused) {
        cheeseContacts(g);
        stationContacts(g);
    }
}

} // namespace squeakrun
