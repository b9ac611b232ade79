// The link between the two machines of a network game: one UDP port, one other machine, through ENet.
// Channel 0 carries the keys packets, unreliable and sequenced; channel 1 everything else, reliable and
// in order. A second machine that calls is turned away, and nothing it or anyone else sends is read.
#pragma once

#include "net/protocol.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct _ENetPeer; // ENet's own, kept out of this header

namespace squeakrun {

// The port a game is hosted on unless the player names another.
inline constexpr std::uint16_t kDefaultPort = 27183;
// Silent this long, the other machine is waited for; silent this long, it has left.
inline constexpr std::chrono::milliseconds kWaitAfter{750}, kGoneAfter{30000};
// A machine called that does not answer within this is not there.
inline constexpr std::chrono::milliseconds kNoAnswerAfter{5000};

class Link {
  public:
    // Listens on `port` (0: any free one) for one other machine; nullptr with `why` when it cannot.
    static std::unique_ptr<Link> listen(std::uint16_t port, std::string& why);
    // Calls the machine at `host`:`port`; nullptr with `why` when the name cannot be looked up.
    static std::unique_ptr<Link> call(const std::string& host, std::uint16_t port, std::string& why);
    // A link still open says goodbye at once.
    ~Link();
    Link(const Link&) = delete;
    Link& operator=(const Link&) = delete;

    // Sends a message on its channel; nothing while there is no other machine.
    void send(const Message& message);
    // Every message that arrived, waiting up to `wait` for the first; sends what waits to be sent.
    std::vector<Message> receive(std::chrono::milliseconds wait = {});

    // The other machine is there.
    bool connected() const { return peer_ != nullptr; }
    // Why the link ended; empty while it stands.
    const std::string& closed() const { return closed_; }
    // How long since the other machine was last heard (or, before that, since the link began).
    std::chrono::milliseconds silence() const;
    // The port this machine listens on.
    std::uint16_t port() const;

  private:
    struct Host;
    explicit Link(std::unique_ptr<Host> host, bool calling);
    void close(std::string why);

    std::unique_ptr<Host> host_;
    _ENetPeer* peer_ = nullptr; // the one other machine, once it is there
    bool calling_;
    std::string closed_;
    std::chrono::steady_clock::time_point heard_;
};

} // namespace squeakrun
