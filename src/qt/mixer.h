// The sounds that are playing, mixed into one stream of samples: what the speaker hands the sound
// server. Plain data and arithmetic, so that what is heard can be tested without a sound device.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace squeakrun::qt {

class Mixer {
  public:
    using Sound = std::vector<std::int16_t>;
    // How long a sound cued again takes to fade out under its fresh start: 5 ms at 22050 frames a second.
    static constexpr std::size_t kFadeFrames = 110;

    // Starts `sound`, which must outlive its playing. A sound cued again while it still plays starts
    // afresh, the last one fading out within kFadeFrames rather than playing on beneath it: a burst of
    // the same cue sounds like one sound repeated, not like a pile of them clipping, and without the
    // click of a sound cut off.
    void play(const Sound& sound);
    // The next frames of everything playing, as many as `out` holds, summed and held within 16 bits;
    // silence after the last sound ends.
    void mix(std::span<std::int16_t> out);
    // How many frames the longest of the sounds playing has still to go: none once all have ended.
    std::size_t framesLeft() const;
    void clear() { playing_.clear(); }

  private:
    struct Playing {
        const Sound* sound;
        std::size_t at;
        std::size_t endAt; // the sound's end, or where its fade ends when it was cued again
        int sample(std::size_t i) const;
    };
    std::vector<Playing> playing_;
    std::vector<int> sum_;
};

} // namespace squeakrun::qt
