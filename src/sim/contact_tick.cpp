// The contact tick, every 10 ms: the stock labels, laying slicks and traps behind the cars, the
// upgrade-station gauges, then the contacts of the cars with slicks, bonus items, cheese and stations.
#include "game/handlers.h"
#include "game/window/ops.h"
#include "sim/contacts.h"

#include <charconv>
#include <string_view>

namespace squeakrun {

namespace {

// The stock of the selected device; a trap never runs out.
void showStock(Game& g, int i) {
    const Player& pl = g.p[i];
    Control& label = g.ctl(kPlayers[i].stockLabel);
    switch (pl.device) {
    case 1:
        if (label.Caption != "Infinite") label.Caption = "Infinite";
        break;
    case 2:
        showNumber(label, pl.cheesestock);
        break; // a stock never set reads 0
    case 3:
        showNumber(label, pl.slickstock);
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
    Player& pl = g.p[i];
    if (!pl.slickdrop || pl.slickset) return;
    pl.slickset = true;
    if (!isHeading(pl.dir)) return;
    const Control& car = g.car(i);
    Control& slick = g.ctl(kPlayers[i].slick);
    const Placement& at = kSlickBehind[pl.dir];
    slick.Top = car.Top + at.dTop;
    slick.Left = car.Left + at.dLeft;
    slick.Visible = true;
    slick.Enabled = true;
}

// A trap asked for before the car has a heading waits until it has one.
void dropTrap(Game& g, int i) {
    Player& pl = g.p[i];
    if (!pl.trapdrop || pl.trapset || !isHeading(pl.dir)) return;
    const Control& car = g.car(i);
    Control& trap = g.ctl(kPlayers[i].trap);
    const TrapLaying& at = kTrapBehind[pl.dir];
    trap.Picture = at.picture;
    trap.Top = car.Top + at.dTop;
    trap.Left = car.Left + at.dLeft;
    trap.Height = at.height;
    trap.Width = at.width;
    trap.Visible = true;
    pl.trapdir = pl.dir;
    pl.trapset = true;
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
    const Player& pl = g.p[i];
    if (!pl.update) return;
    Control& gauge = g.ctl(kPlayers[i].gauge);
    if (gauge.Lines.size() != 2) gauge.Lines.resize(2);
    gaugeLine(gauge.Lines[0], "Gas: ", pl.tgas);
    gaugeLine(gauge.Lines[1], "Speed: ", pl.speed);
}

} // namespace

void Form1_Timer3_Timer(Game& g) {
    showStock(g, 1);
    showStock(g, 0);
    for (int i = 0; i < 2; ++i)
        dropSlick(g, i);
    for (int i = 0; i < 2; ++i)
        dropTrap(g, i);
    for (int i = 0; i < 2; ++i)
        drawGauge(g, i);
    // Slicks and bonus items only count while a round runs; cheese and the stations also before the
    // first start, but never while the game stands still.
    if (g.allowed) {
        slickContacts(g);
        bonusPickups(g);
    }
    if (!g.paused) {
        cheeseContacts(g);
        stationContacts(g);
    }
}

} // namespace squeakrun
