#include "net/sim_link.h"

#include <algorithm>

namespace squeakrun {

void SimulatedPipe::send(std::int64_t now, const Message& message) {
    std::vector<std::uint8_t> bytes = encode(message);
    const double jitter = shape_.jitterMs * (2 * dice_.next() - 1);
    auto at = now + static_cast<std::int64_t>(shape_.delayMs + jitter);
    const bool dark = now >= shape_.blackoutFrom && now < shape_.blackoutTo;
    if (channelOf(message) == Channel::Reliable) {
        if (dark) at = std::max(at, shape_.blackoutTo);
        if (!reliable_.empty()) at = std::max(at, reliable_.back().at);
        reliable_.push_back({at, 0, std::move(bytes)});
        return;
    }
    ++keysSent_;
    if (dark || dice_.next() < shape_.loss) return;
    if (dice_.next() < shape_.reorder) at += 40;
    keys_.push_back({at, keysSent_, std::move(bytes)});
}

void SimulatedPipe::deliver(std::int64_t now, NetGame& to) {
    while (!reliable_.empty() && reliable_.front().at <= now) {
        to.receive(*decode(reliable_.front().bytes));
        reliable_.pop_front();
    }
    std::erase_if(keys_, [&](const Packet& p) {
        if (p.at > now) return false;
        if (p.number > keysDelivered_) {
            keysDelivered_ = p.number;
            to.receive(*decode(p.bytes));
        }
        return true;
    });
}

} // namespace squeakrun
