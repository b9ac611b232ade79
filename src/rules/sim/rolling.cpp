// Everything that travels without being driven, every 30 ms: rolling cheese, cars skidding on a
// raspberry slick, and cars coasting to a halt after the stop key.
#include "rules/devices.h"
#include "rules/events.h"
#include "rules/sim/contacts.h"

#include <string_view>

namespace squeakrun {

namespace {

// One step of `step` twips in a heading; a thing without a heading stays put.
void stepAlong(Control& c, Count heading, double step) {
    switch (heading) {
    case Left:
        c.left = static_cast<float>(c.left - step);
        break;
    case Down:
        c.top = static_cast<float>(c.top + step);
        break;
    case Right:
        c.left = static_cast<float>(c.left + step);
        break;
    case Up:
        c.top = static_cast<float>(c.top - step);
        break;
    default:
        break;
    }
}

// Picture endings by heading (index 1 to 4).
constexpr std::string_view kEndings[5] = {"down.gif", "left.gif", "down.gif", "right.gif", "up.gif"};

// Shows prefix + ending on a car, reusing the picture's storage: a skid changes it on every tick.
void showCar(Control& car, std::string_view prefix, std::string_view ending) {
    std::string& pic = car.picture;
    if (pic.size() == prefix.size() + ending.size() && pic.starts_with(prefix) && pic.ends_with(ending))
        return;
    pic.assign(prefix);
    pic.append(ending);
}

// A rolling cheese keeps going until it reaches the wall. The wall is looked at before the step, so
// a cheese is seen for one tick past the line before it goes.
void rollCheese(Game& g, int i) {
    Player& pl = g.players[i];
    if (!pl.cheeseRolling) return;
    Control& cheese = g.control(kPlayers[i].cheese);
    if (inWall(cheese)) {
        cheese.visible = false;
        pl.cheeseRolling = false;
        pl.cheeseDropped = false;
        pl.cheeseSpeed = 0;
        pl.cheeseHeading = None;
        return;
    }
    stepAlong(cheese, pl.cheeseHeading, pl.cheeseSpeed);
}

// A dropped cheese sets off from under the car at three times the car's speed, fixed for the whole
// roll. It moves first on the next tick.
void launchCheese(Game& g, int i) {
    Player& pl = g.players[i];
    if (!pl.cheeseDropped || pl.cheeseRolling) return;
    if (isHeading(pl.heading)) pl.cheeseHeading = pl.heading;
    pl.cheeseSpeed = pl.speed * kCheeseRollFactor;
    const Control& car = g.car(i);
    Control& cheese = g.control(kPlayers[i].cheese);
    cheese.top = car.top;
    cheese.left = car.left;
    cheese.visible = true;
    pl.cheeseRolling = true;
    g.platform.cue(Cue::Drop);
}

// A skidding car turns a quarter turn clockwise on each tick while it slides on, 3 twips slower each
// time; once the step has run out it faces where its driver last steered. A car that stood still when
// it ran onto the slick spins on the spot.
void skid(Game& g, int i) {
    static constexpr Count kNextFrame[5] = {0, 2, 3, 4, 1};
    static constexpr Count kFrameHeading[5] = {0, Down, Left, Up, Right};
    Player& pl = g.players[i];
    if (!pl.spinning) return;
    Control& car = g.car(i);
    const PlayerRow& row = kPlayers[i];
    if (pl.skidSpeed >= 0) {
        if (isHeading(pl.skidFrame)) {
            showCar(car, row.carPrefix, kEndings[kFrameHeading[pl.skidFrame]]);
            pl.skidFrame = kNextFrame[pl.skidFrame];
        }
        stepAlong(car, pl.skidHeading, pl.skidSpeed);
        pl.skidSpeed -= 3;
    } else {
        pl.spinning = false;
        showCar(car, row.carPrefix, kEndings[isHeading(pl.heading) ? pl.heading : 0]);
    }
}

// After the stop key a car rolls on in its heading, 5 twips slower each tick, until it stands.
void coast(Game& g, int i) {
    Player& pl = g.players[i];
    if (!pl.coasting || !isHeading(pl.heading) || pl.coastSpeed < 0) return;
    stepAlong(g.car(i), pl.heading, pl.coastSpeed);
    pl.coastSpeed -= 5;
}

} // namespace

void rollingTick(Game& g) {
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
