// What controls show, and how a player reads each back.
#include "rules/display.h"

#include <array>
#include <charconv>

namespace squeakrun {

namespace {
constexpr std::array<std::string_view, 5> kCarEndings = {"", "left.gif", "down.gif", "right.gif", "up.gif"};

constexpr std::array<std::string_view, 4> kDevicePictures = {"trapselect.gif", "trapselect.gif",
                                                             "cheeseselect.gif", "raspslickselect.gif"};
constexpr std::string_view kEndlessStock = "Infinite";
constexpr std::string_view kGaugeTank = "Gas: ", kGaugeSpeed = "Speed: ";

// Writes "<label><number>" into a gauge line, touching the line only when its text changes.
template <class Number> void gaugeLine(std::string& line, std::string_view label, Number value) {
    char text[64];
    const std::size_t n = label.copy(text, label.size());
    const auto end = std::to_chars(text + n, text + sizeof text, value).ptr;
    const std::string_view wanted(text, static_cast<std::size_t>(end - text));
    if (line != wanted) line.assign(wanted);
}

// The number after a gauge line's label, or nullopt when the line is not that label's.
std::optional<double> gaugeNumber(std::string_view line, std::string_view label) {
    if (line.substr(0, label.size()) != label) return std::nullopt;
    line.remove_prefix(label.size());
    double value = 0;
    if (std::from_chars(line.data(), line.data() + line.size(), value).ec != std::errc{}) return std::nullopt;
    return value;
}
} // namespace

std::string carPicture(const PlayerRow& row, Count heading) {
    std::string name(row.carPrefix);
    name += kCarEndings[heading >= 1 && heading <= 4 ? heading : 2];
    return name;
}

Heading shownHeading(const PlayerRow& row, std::string_view picture) {
    if (picture.substr(0, row.carPrefix.size()) != row.carPrefix) return None;
    picture.remove_prefix(row.carPrefix.size());
    for (int h = Left; h <= Up; ++h)
        if (picture == kCarEndings[h]) return static_cast<Heading>(h);
    return None;
}

void showNumber(Control& label, Count value) {
    // Ticks call this many times a second: write the caption only when the number really changed.
    char digits[24];
    auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    std::string_view text(digits, static_cast<std::size_t>(end - digits));
    if (label.caption != text) label.caption.assign(text);
}

Count shownNumber(std::string_view caption) {
    Count value = 0;
    while (!caption.empty() && caption.front() == ' ')
        caption.remove_prefix(1);
    std::from_chars(caption.data(), caption.data() + caption.size(), value);
    return value;
}

std::string_view devicePicture(Device device) {
    const auto index = static_cast<std::size_t>(device);
    return kDevicePictures[index < kDevicePictures.size() ? index : 0];
}

Device shownDevice(std::string_view picture) {
    for (Device d : {Device::Cheese, Device::Slick})
        if (picture == devicePicture(d)) return d;
    return Device::Trap;
}

void showStock(Control& label, const Player& pl) {
    switch (pl.device) {
    case Device::Trap:
        if (label.caption != kEndlessStock) label.caption = kEndlessStock;
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

Count shownStock(std::string_view caption) {
    return caption == kEndlessStock ? -1 : shownNumber(caption);
}

void showGauge(Control& gauge, const Player& pl) {
    if (gauge.lines.size() != 2) gauge.lines.resize(2);
    gaugeLine(gauge.lines[0], kGaugeTank, pl.tankSize);
    gaugeLine(gauge.lines[1], kGaugeSpeed, pl.speed);
}

std::optional<GaugeReading> shownGauge(const Control& gauge) {
    if (gauge.lines.size() != 2) return std::nullopt;
    const auto tank = gaugeNumber(gauge.lines[0], kGaugeTank);
    const auto speed = gaugeNumber(gauge.lines[1], kGaugeSpeed);
    if (!tank || !speed) return std::nullopt;
    return GaugeReading{static_cast<Count>(*tank), *speed};
}

} // namespace squeakrun
