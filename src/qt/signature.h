// A cheap signature of everything the game window shows, so that the window repaints and the clock
// driver wakes only when what the players see really changed.
#pragma once

#include "rules/state.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace squeakrun::qt {

// A quick hash (eight bytes at a time) of what controls show: enough to tell one frame's content
// from the next, and cheap, since the clock driver asks what the window would show after each tick it
// plays ahead.
struct Signature {
    std::uint64_t value = 1469598103934665603ull;
    void word(std::uint64_t w) {
        value = (value ^ w) * 0x9E3779B97F4A7C15ull;
        value ^= value >> 29;
    }
    void bytes(const void* p, std::size_t n) {
        const auto* b = static_cast<const unsigned char*>(p);
        std::uint64_t w = 0;
        if (n < 8) {
            for (std::size_t i = 0; i < n; ++i)
                w |= std::uint64_t{b[i]} << (8 * i);
            word(w);
            return;
        }
        for (std::size_t i = 0; i + 8 <= n; i += 8) {
            std::memcpy(&w, b + i, 8);
            word(w);
        }
        // The last few bytes: the last eight, which overlap the words before.
        if (n % 8) {
            std::memcpy(&w, b + n - 8, 8);
            word(w);
        }
    }
    void text(std::string_view s) {
        word(s.size());
        bytes(s.data(), s.size());
    }
    void add(const Control& c); // its place, state, picture, texts and lines
};

// Changes whenever anything the window shows changes: the playfield with everything drawn on it (places,
// sizes, visibility, pictures, texts), the start button, the menu entries and the open small windows.
std::uint64_t shownSignature(const GameState& g);

} // namespace squeakrun::qt
