// Turns fuzzer bytes into a scenario for the runner: start-up answers and record files first, then a
// sequence of key presses, clicks, menu commands, small-window edits, box replies and bounded waits.
// Shared by the fuzz target and the tool that prints a reproducer as a scenario file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace squeakrun::fuzz {

// Game time one input may cover at most, so that no input can make the runner play for long.
inline constexpr long long kMaxGameMs = 120000;

std::string scenarioFromBytes(const std::uint8_t* data, std::size_t size);

} // namespace squeakrun::fuzz
