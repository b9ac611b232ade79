// A link between two network games inside one process, for the unit tests, on their exact clock: from
// a seed it delays, jitters, loses and reorders keys packets (an overtaken one is dropped, as a
// sequenced channel does) and delivers reliable messages late but whole and in order, each through the
// bytes the real link would carry.
#pragma once

#include "net/net_game.h"
#include "window/random.h"

#include <cstdint>
#include <deque>
#include <vector>

namespace squeakrun {

struct LinkShape {
    double delayMs = 0, jitterMs = 0;                // one way
    double loss = 0, reorder = 0;                    // chances per keys packet
    std::int64_t blackoutFrom = -1, blackoutTo = -1; // nothing gets through meanwhile
};

// One direction of the link; times are the caller's milliseconds.
class SimulatedPipe {
  public:
    SimulatedPipe(const LinkShape& shape, std::uint64_t seed) : shape_(shape), dice_(seed) {}
    void send(std::int64_t now, const Message& message);
    // Hands `to` every message due by `now`.
    void deliver(std::int64_t now, NetGame& to);

  private:
    struct Packet {
        std::int64_t at = 0;
        std::uint64_t number = 0;
        std::vector<std::uint8_t> bytes;
    };
    LinkShape shape_;
    Random dice_;
    std::deque<Packet> reliable_;
    std::vector<Packet> keys_;
    std::uint64_t keysSent_ = 0, keysDelivered_ = 0;
};

} // namespace squeakrun
