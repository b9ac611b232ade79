// A UDP relay that misbehaves on purpose, from a seed: it stands between a joining machine and a host
// on this machine and delays (with jitter), drops, duplicates and reorders the packets both ways, and
// can black out. The tests and the network benchmark bring it, as our machines' kernel has no netem.
#pragma once

#include <chrono>
#include <cstdint>
#include <random>
#include <vector>

namespace squeakrun {

struct RelayShape {
    double delayMs = 0;                          // one way
    double jitterMs = 0;                         // each packet's delay is off by up to this, either way
    double loss = 0, duplicate = 0, reorder = 0; // chances per packet
    double reorderMs = 40;                       // how much later a reordered packet comes
    std::chrono::milliseconds blackoutAfter{-1}, blackoutFor{0}; // nothing gets through meanwhile
    std::uint64_t seed = 1;
};

class Relay {
  public:
    // Listens on `port` (0: any free one) of 127.0.0.1 and passes what comes on to `target` there.
    Relay(std::uint16_t port, std::uint16_t target, const RelayShape& shape);
    ~Relay();
    Relay(const Relay&) = delete;
    Relay& operator=(const Relay&) = delete;

    bool ok() const { return front_ >= 0 && back_ >= 0; }
    std::uint16_t port() const;
    // Takes what arrived on either side and sends on what is due; never waits.
    void pump();

    // What a side has sent into the relay, the packets it lost too, as UDP payload.
    struct Traffic {
        long long bytes = 0, packets = 0;
    };
    const Traffic& fromJoiner() const { return sent_[0]; }
    const Traffic& fromHost() const { return sent_[1]; }

  private:
    struct Packet {
        std::chrono::steady_clock::time_point due;
        bool toTarget;
        std::vector<std::uint8_t> bytes;
    };
    void take(int socket, bool toTarget);

    RelayShape shape_;
    std::mt19937_64 dice_;
    int front_ = -1, back_ = -1; // the joiner's side, the host's side
    std::uint32_t joiner_ = 0;   // the joiner's address and port, once it has sent
    std::uint16_t joinerPort_ = 0;
    std::vector<Packet> queue_;
    Traffic sent_[2];
    std::vector<std::uint8_t> buffer_ = std::vector<std::uint8_t>(65536); // the largest UDP packet
    std::chrono::steady_clock::time_point start_;
};

} // namespace squeakrun
