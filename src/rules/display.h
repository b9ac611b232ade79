// What controls show: a car's picture for its heading and labels showing whole numbers.
#pragma once

#include "rules/state.h"

#include <string>

namespace squeakrun {

// A car picture of `row` facing `heading` (1 to 4), such as "badmouseleft.gif".
std::string carPicture(const PlayerRow& row, Count heading);

// A label showing a whole number; the caption is written only when it changes.
void showNumber(Control& label, Count value);

} // namespace squeakrun
