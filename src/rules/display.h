// What controls show: a car's picture for its heading, labels showing whole numbers, the selected
// device and its stock, the upgrade station's gauge and the countdown's last word. Beside each, how a
// player reads it back off the window: the computer driver reads the window with these, so a picture
// or caption renamed here is renamed for it too.
#pragma once

#include "rules/state.h"

#include <optional>
#include <string>
#include <string_view>

namespace squeakrun {

// A car picture of `row` facing `heading` (1 to 4), such as "badmouseleft.gif".
std::string carPicture(const PlayerRow& row, Count heading);
// The heading a car picture of `row` shows; None for any other picture (a crash).
Heading shownHeading(const PlayerRow& row, std::string_view picture);

// A label showing a whole number; the caption is written only when it changes.
void showNumber(Control& label, Count value);
// The number at the start of a caption, leading blanks skipped; 0 when there is none.
Count shownNumber(std::string_view caption);

// The device strip's picture of a selected device, and the device a picture shows (the trap for
// anything else, as the strip starts).
std::string_view devicePicture(Device device);
Device shownDevice(std::string_view picture);

// The stock label shows how many of the selected device are left; the trap never runs out.
void showStock(Control& label, const Player& pl);
// The stock a stock label shows; -1 for the trap's endless one.
Count shownStock(std::string_view caption);

// While a player shops in the upgrade station the gauge shows the tank size and speed being bought.
void showGauge(Control& gauge, const Player& pl);
struct GaugeReading {
    Count tank = 0;
    double speed = 0;
};
// What a gauge shows; nullopt while it shows no figures yet.
std::optional<GaugeReading> shownGauge(const Control& gauge);

// The countdown over a cheese-struck car ends on this word; it stays up until the player steers.
inline constexpr std::string_view kGoCaption = "Go!";

} // namespace squeakrun
