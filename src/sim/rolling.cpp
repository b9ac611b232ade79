// Everything that travels without being driven, every 30 ms: rolling cheese, cars skidding on a
// raspberry slick, and cars coasting to a halt after the stop key.
#include "game/handlers.h"
#include "sim/contacts.h"

#include <string_view>

namespace squeakrun {

namespace {

// One step of `step` twips in a heading; a thing without a heading stays put.
void stepAlong(Control& c, Count heading, double step) {
    switch (heading) {
    case Left:
        c.Left = static_cast<float>(c.Left - step);
        break;
    case Down:
        c.Top = static_cast<float>(c.Top + step);
        break;
    case Right:
        c.Left = static_cast<float>(c.Left + step);
        break;
    case Up:
        c.Top = static_cast<float>(c.Top - step);
        break;
    default:
        break;
    }
}

// Picture endings by heading (index 1 to 4).
constexpr std::string_view kEndings[5] = {"down.gif", "left.gif", "down.gif", "right.gif", "up.gif"};

// Shows prefix + ending on a car, reusing the picture's storage: a skid changes it on every tick.
void showCar(Control& car, std::string_view prefix, std::string_view ending) {
    std::string& pic = car.Picture;
    if (pic.size() == prefix.size() + ending.size() && pic.starts_with(prefix) && pic.ends_with(ending))
        return;
    pic.assign(prefix);
    pic.append(ending);
}

// A rolling cheese keeps going until it reaches the wall. The wall is looked at before the step, so
// a cheese is seen for one tick past the line before it goes.
void rollCheese(Game& g, int i) {
    Player& pl = g.p[i];
    if (!pl.cheeseroll) return;
    Control& cheese = g.ctl(kPlayers[i].cheese);
    if (inWall(cheese)) {
        cheese.Visible = false;
        pl.cheeseroll = false;
        pl.cheesedrop = false;
        pl.cheesespeed = 0;
        pl.cheesedir = 0;
        return;
    }
    stepAlong(cheese, pl.cheesedir, pl.cheesespeed);
}

// A dropped cheese sets off from under the car at three times the car's speed, fixed for the whole
// roll. It moves first on the next tick.
void launchCheese(Game& g, int i) {
    Player& pl = g.p[i];
    if (!pl.cheesedrop || pl.cheeseroll) return;
    if (isHeading(pl.dir)) pl.cheesedir = pl.dir;
    pl.cheesespeed = pl.speed * 3;
    const Control& car = g.car(i);
    Control& cheese = g.ctl(kPlayers[i].cheese);
    cheese.Top = car.Top;
    cheese.Left = car.Left;
    cheese.Visible = true;
    pl.cheeseroll = true;
}

// A skidding car turns a quarter turn clockwise on each tick while it slides on, 3 twips slower each
// time; once the step has run out it faces where its driver last steered. A car that stood still when
// it ran onto the slick spins on the spot.
void skid(Game& g, int i) {
    static constexpr Count kNextFrame[5] = {0, 2, 3, 4, 1};
    static constexpr Count kFrameHeading[5] = {0, Down, Left, Up, Right};
    Player& pl = g.p[i];
    if (!pl.spin) return;
    Control& car = g.car(i);
    const PlayerRow& row = kPlayers[i];
    if (pl.skidspeed >= 0) {
        if (isHeading(pl.skidframe)) {
            showCar(car, row.carPrefix, kEndings[kFrameHeading[pl.skidframe]]);
            pl.skidframe = kNextFrame[pl.skidframe];
        }
        stepAlong(car, pl.skiddir, pl.skidspeed);
        pl.skidspeed -= 3;
    } else {
        pl.spin = false;
        showCar(car, row.carPrefix, kEndings[isHeading(pl.dir) ? pl.dir : 0]);
    }
}

// After the stop key a car rolls on in its heading, 5 twips slower each tick, until it stands.
void coast(Game& g, int i) {
    Player& pl = g.p[i];
    if (!pl.slowdown || !isHeading(pl.dir) || pl.coast < 0) return;
    stepAlong(g.car(i), pl.dir, pl.coast);
    pl.coast -= 5;
}

} // namespace

void Form1_Timer6_Timer(Game& g) {
    if (g.paused) return;
    for (int i = 0; i < 2; ++i)
        rollCheese(g, i);
    for (int i = 0; i < 2; ++i)
        launchCheese(g, i);
    for (int i = 0; i < 2; ++i)
        skid(g, i);
    for (int i = 0; i < 2; ++i)
        coast(g, i);
}

} // namespace squeakrun
