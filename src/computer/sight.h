// What the computer driver sees at one look: its own car, the other car and the panel, read off the
// window model as a player reads the screen. Every picture and caption is read back with the rules'
// own display functions turned round (rules/display.h), so renaming one cannot blind the driver.
#pragma once

#include "rules/display.h"
#include "rules/state.h"

#include <optional>
#include <string_view>

namespace squeakrun {

struct Sight {
    Sight(const MainWindow& window, int player);

    const MainWindow& w;
    const PlayerRow& row;
    const PlayerRow& otherRow;
    const Control& self;
    const Control& other;
    bool running = false;    // a game runs: the start button has gone
    bool paused = false;     // the pause entry offers to go on
    Heading heading = None;  // where its car's picture points; None for a crash picture
    bool splattered = false; // standing out a cheese crash
    bool shopping = false;   // parked in the upgrade station: its gauge shows
    std::optional<GaugeReading> gauge;
    Count gas = 0, score = 0, lives = 0;
    Device device = Device::None;
    Count stock = -1; // the selected device's stock; -1 for the trap's endless one
};

// The kind of bonus item a picture shows, as an index of kBonusKinds; -1 for none.
int bonusKindShown(std::string_view picture);

} // namespace squeakrun
