#include "qt/mixer.h"

#include <algorithm>

namespace squeakrun::qt {

int Mixer::Playing::sample(std::size_t i) const {
    const int full = (*sound)[i];
    if (endAt == sound->size()) return full;
    // Fading: from full to nothing over the last kFadeFrames before endAt.
    return full * static_cast<int>(endAt - i) / static_cast<int>(kFadeFrames);
}

void Mixer::play(const Sound& sound) {
    if (sound.empty()) return;
    for (Playing& p : playing_)
        if (p.sound == &sound && p.endAt == sound.size())
            p.endAt = std::min(sound.size(), p.at + kFadeFrames);
    playing_.push_back({&sound, 0, sound.size()});
}

void Mixer::mix(std::span<std::int16_t> out) {
    const std::size_t frames = out.size();
    sum_.assign(frames, 0);
    for (Playing& p : playing_) {
        const std::size_t n = std::min(frames, p.endAt - p.at);
        for (std::size_t i = 0; i < n; ++i)
            sum_[i] += p.sample(p.at + i);
        p.at += n;
    }
    std::erase_if(playing_, [](const Playing& p) { return p.at == p.endAt; });
    for (std::size_t i = 0; i < frames; ++i)
        out[i] = static_cast<std::int16_t>(std::clamp(sum_[i], -32768, 32767));
}

std::size_t Mixer::framesLeft() const {
    std::size_t left = 0;
    for (const Playing& p : playing_)
        left = std::max(left, p.endAt - p.at);
    return left;
}

} // namespace squeakrun::qt
