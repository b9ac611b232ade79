#include "window/random.h"

namespace squeakrun {

namespace {
// SplitMix64's finaliser: every input bit affects every output bit.
std::uint64_t mix(std::uint64_t z) {
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}
} // namespace

void Random::randomize(std::int64_t clockMs) {
    state_ = mix(state_ ^ mix(static_cast<std::uint64_t>(clockMs) + 0x632BE59BD9B4E019ULL));
}

std::uint64_t Random::nextBits() {
    state_ += 0x9E3779B97F4A7C15ULL;
    return mix(state_);
}

float Random::next() {
    // 24 bits fill a float's mantissa exactly, so the result is uniform and never reaches 1.
    return static_cast<float>(nextBits() >> 40) * (1.0f / 16777216.0f);
}

} // namespace squeakrun
