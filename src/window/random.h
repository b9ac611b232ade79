// The game's random numbers: a small, fast generator that can be reseeded from the clock.
#pragma once

#include <cstdint>

namespace squeakrun {

class Random {
  public:
    explicit Random(std::uint64_t seed = 1) : state_(seed) {}
    // Reseeding mixes the clock into the state instead of replacing it, so two reseeds within the
    // same millisecond still give fresh, independent numbers.
    void randomize(std::int64_t clockMs);
    // The next number in [0, 1), single precision.
    float next();

  private:
    std::uint64_t nextBits();
    std::uint64_t state_;
};

} // namespace squeakrun
