#include "window/numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace squeakrun {

namespace {
bool isBlank(char c) {
    return c == ' ' || c == '\t';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Length of the decimal number at the start of `s` (sign, digits, fraction, exponent), 0 if none.
std::size_t numberLength(std::string_view s) {
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    std::size_t digits = 0;
    while (i < s.size() && isDigit(s[i]))
        ++i, ++digits;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && isDigit(s[i]))
            ++i, ++digits;
    }
    if (digits == 0) return 0;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
        if (j < s.size() && isDigit(s[j])) {
            while (j < s.size() && isDigit(s[j]))
                ++j;
            i = j;
        }
    }
    return i;
}

// Whether a number that numberLength accepted lies below one in size. It decides only between the
// too small and the too large, so it looks at where the first significant digit stands once the
// exponent has moved the point, never at how the exponent is spelled.
bool belowOne(std::string_view s) {
    const std::size_t e = s.find_first_of("eE");
    const std::string_view digits = s.substr(0, e);
    const auto point = static_cast<long long>(std::min(digits.find('.'), digits.size()));
    const auto first = static_cast<long long>(digits.find_first_of("123456789"));
    // The value lies below 10 to the power `place` (before the exponent) and not below a tenth of it.
    const long long place = first < point ? point - first : point + 1 - first;
    long long exponent = 0;
    if (e != std::string_view::npos) {
        std::string_view text = s.substr(e + 1);
        if (text.front() == '+') text.remove_prefix(1);
        // An exponent too long for a count outweighs any number of digits before it.
        if (std::from_chars(text.data(), text.data() + text.size(), exponent).ec != std::errc())
            return text.front() == '-';
    }
    return exponent <= -place;
}

// Parses a number that numberLength accepted; from_chars takes no leading '+'.
double parse(std::string_view s) {
    if (!s.empty() && s[0] == '+') s.remove_prefix(1);
    double value = 0;
    auto result = std::from_chars(s.data(), s.data() + s.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        // Too large or too small for a double: read it as infinite or zero, as its size says.
        if (belowOne(s)) return 0.0;
        return s[0] == '-' ? -HUGE_VAL : HUGE_VAL;
    }
    return value;
}
} // namespace

std::optional<double> wholeNumber(std::string_view text) {
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    std::size_t n = numberLength(text);
    if (n == 0 || n != text.size()) return std::nullopt;
    double value = parse(text);
    if (!std::isfinite(value)) return std::nullopt;
    return value;
}

double leadingNumber(std::string_view text) {
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    std::size_t n = numberLength(text);
    if (n == 0) return 0;
    double value = parse(text.substr(0, n));
    return std::isfinite(value) ? value : 0;
}

std::string numberText(double value) {
    if (value == 0) return "0"; // no "-0"
    char buf[32];
    auto r = std::to_chars(buf, buf + sizeof buf, value);
    return std::string(buf, r.ptr);
}

std::string numberText(float value) {
    if (value == 0) return "0";
    char buf[32];
    auto r = std::to_chars(buf, buf + sizeof buf, value);
    return std::string(buf, r.ptr);
}

std::optional<std::uint16_t> portNumber(std::string_view text) {
    unsigned value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value == 0 || value > 65535)
        return std::nullopt;
    return static_cast<std::uint16_t>(value);
}

} // namespace squeakrun
