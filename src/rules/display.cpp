#include "rules/display.h"

#include <charconv>

namespace squeakrun {

std::string carPicture(const PlayerRow& row, Count heading) {
    static constexpr std::string_view kEndings[] = {"", "left.gif", "down.gif", "right.gif", "up.gif"};
    std::string name(row.carPrefix);
    name += kEndings[heading >= 1 && heading <= 4 ? heading : 2];
    return name;
}

void showNumber(Control& label, Count value) {
    // Ticks call this many times a second: write the caption only when the number really changed.
    char digits[24];
    auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    std::string_view text(digits, static_cast<std::size_t>(end - digits));
    if (label.caption != text) label.caption.assign(text);
}

} // namespace squeakrun
