// The two ways the game reads a number from text, and how it writes numbers back.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace squeakrun {

// A number only when the whole text, blanks trimmed, is a finite decimal number ("2", " 2 ", "2.0");
// "2abc", "", "nan" and "1e999" are not.
std::optional<double> wholeNumber(std::string_view text);

// The number at the start of the text, leading blanks skipped; 0 when there is none ("  77 points" is 77).
double leadingNumber(std::string_view text);

// A network port as the command lines take it: a whole number from 1 to 65535, nothing around it.
std::optional<std::uint16_t> portNumber(std::string_view text);

// The shortest decimal form that reads back exactly: 1490, 0.5, 2345.678 (for a float).
std::string numberText(double value);
std::string numberText(float value);

} // namespace squeakrun
