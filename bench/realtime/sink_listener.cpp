#include "sink_listener.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <limits>

namespace squeakrun::realtime {

namespace {
constexpr std::int64_t kRate = 44100;
constexpr int kLoud = 328;                     // -40 dBFS
constexpr std::int64_t kQuietGap = kRate / 20; // 50 ms of silence before a sound counts as a new one

std::int64_t monotonicNanos() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}
} // namespace

bool SinkListener::start(const std::string& source) {
    const std::string command =
        "exec parec -d " + source +
        " --raw --format=s16le --channels=1 --rate=44100 --latency-msec=5 2>/dev/null";
    parec_ = popen(command.c_str(), "r");
    if (!parec_) return false;
    stopping_ = false;
    thread_ = std::thread([this] { listen(); });
    return true;
}

// The recording's clock is tied to the monotonic one by the bytes' arrival: each read ends no later
// than it arrived, so the earliest arrival less the samples before it is when sample 0 was taken. A
// late read only loosens that bound for itself, and can only make a sound seem later than it was.
void SinkListener::listen() {
    std::int64_t total = 0, lastLoud = -kQuietGap - 1;
    std::int64_t zeroAt = std::numeric_limits<std::int64_t>::max();
    std::vector<std::int64_t> firstSamples;
    std::int16_t block[512];
    while (!stopping_) {
        const std::size_t n = std::fread(block, sizeof block[0], std::size(block), parec_);
        if (n == 0) break;
        const std::int64_t arrived = monotonicNanos();
        for (std::size_t i = 0; i < n; ++i) {
            if (std::abs(block[i]) < kLoud) continue;
            const std::int64_t k = total + static_cast<std::int64_t>(i);
            if (k - lastLoud > kQuietGap) firstSamples.push_back(k);
            lastLoud = k;
        }
        total += static_cast<std::int64_t>(n);
        zeroAt = std::min(zeroAt, arrived - total * 1'000'000'000 / kRate);
    }
    for (std::int64_t k : firstSamples)
        onsets_.push_back(zeroAt + k * 1'000'000'000 / kRate);
}

std::vector<std::int64_t> SinkListener::stop() {
    if (!parec_) return onsets_;
    stopping_ = true;
    // parec writes on, so the reader sees the flag within a block; closing ends parec itself.
    if (thread_.joinable()) thread_.join();
    pclose(parec_);
    parec_ = nullptr;
    return onsets_;
}

} // namespace squeakrun::realtime
