#include "net/link.h"

#include <enet/enet.h>

namespace squeakrun {

namespace {

// What a link says as it ends, so the other machine can tell its player why.
constexpr enet_uint32 kTurnedAway = 1, kLeaving = 2;
constexpr std::size_t kChannels = 2;

bool networkReady() {
    static const bool ready = enet_initialize() == 0;
    return ready;
}

} // namespace

struct Link::Host {
    ENetHost* enet = nullptr;
    ENetPeer* calling = nullptr; // the machine called, until it answers
    ~Host() {
        if (enet) enet_host_destroy(enet);
    }
};

Link::Link(std::unique_ptr<Host> host, bool calling)
    : host_(std::move(host)), calling_(calling), heard_(std::chrono::steady_clock::now()) {
    // A packet past these is refused before it is gathered, however it is cut up.
    host_->enet->maximumPacketSize = 16 * kMaxReliableBytes;
    host_->enet->maximumWaitingData = 64 * kMaxReliableBytes;
}

std::unique_ptr<Link> Link::listen(std::uint16_t port, std::string& why) {
    if (!networkReady()) {
        why = "The network could not be started.";
        return nullptr;
    }
    ENetAddress address{};
    address.host = ENET_HOST_ANY;
    address.port = port;
    auto host = std::make_unique<Host>();
    // Two places: the second is there only to turn a second caller away with a word instead of silence.
    host->enet = enet_host_create(&address, 2, kChannels, 0, 0);
    if (!host->enet) {
        why = "Port " + std::to_string(port) + " is in use or cannot be opened.";
        return nullptr;
    }
    return std::unique_ptr<Link>(new Link(std::move(host), false));
}

std::unique_ptr<Link> Link::call(const std::string& name, std::uint16_t port, std::string& why) {
    if (!networkReady()) {
        why = "The network could not be started.";
        return nullptr;
    }
    ENetAddress address{};
    address.port = port;
    if (enet_address_set_host(&address, name.c_str()) != 0) {
        why = "No machine called " + name + " could be found.";
        return nullptr;
    }
    auto host = std::make_unique<Host>();
    host->enet = enet_host_create(nullptr, 1, kChannels, 0, 0);
    if (host->enet) host->calling = enet_host_connect(host->enet, &address, kChannels, kProtocolNumber);
    if (!host->calling) {
        why = "The network could not be started.";
        return nullptr;
    }
    return std::unique_ptr<Link>(new Link(std::move(host), true));
}

Link::~Link() {
    if (!peer_) return;
    enet_peer_disconnect_now(peer_, kLeaving);
    enet_host_flush(host_->enet);
}

void Link::close(std::string why) {
    if (closed_.empty()) closed_ = std::move(why);
    if (peer_) enet_peer_disconnect_now(peer_, 0);
    peer_ = nullptr;
}

std::chrono::milliseconds Link::silence() const {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - heard_);
}

std::uint16_t Link::port() const {
    return host_->enet->address.port;
}

void Link::send(const Message& message) {
    if (!peer_) return;
    const std::vector<std::uint8_t> bytes = encode(message);
    const bool reliable = channelOf(message) == Channel::Reliable;
    ENetPacket* packet =
        enet_packet_create(bytes.data(), bytes.size(), reliable ? ENET_PACKET_FLAG_RELIABLE : 0);
    if (enet_peer_send(peer_, static_cast<enet_uint8>(channelOf(message)), packet) != 0)
        enet_packet_destroy(packet);
}

std::vector<Message> Link::receive(std::chrono::milliseconds wait) {
    std::vector<Message> heard;
    ENetEvent event;
    auto waitMs = static_cast<enet_uint32>(wait.count());
    while (closed_.empty() && enet_host_service(host_->enet, &event, waitMs) > 0) {
        waitMs = 0;
        if (event.type == ENET_EVENT_TYPE_CONNECT) {
            if (peer_ || (calling_ && event.peer != host_->calling)) {
                enet_peer_disconnect(event.peer, kTurnedAway);
                continue;
            }
            peer_ = event.peer;
            heard_ = std::chrono::steady_clock::now();
            // ENet's throttle drops unreliable packets even on a quiet link; every keys packet counts.
            enet_peer_throttle_configure(event.peer, ENET_PEER_PACKET_THROTTLE_INTERVAL, 0, 0);
            event.peer->packetThrottle = ENET_PEER_PACKET_THROTTLE_SCALE;
            const auto gone = static_cast<enet_uint32>(kGoneAfter.count());
            enet_peer_timeout(event.peer, 0, gone, gone);
        } else if (event.type == ENET_EVENT_TYPE_RECEIVE) {
            if (event.peer == peer_) {
                heard_ = std::chrono::steady_clock::now();
                const std::span<const std::uint8_t> bytes(event.packet->data, event.packet->dataLength);
                const std::optional<Message> message = decode(bytes);
                if (message)
                    heard.push_back(*message);
                else if (event.channelID == static_cast<enet_uint8>(Channel::Reliable))
                    // A lost keys packet is made good by the next; a reliable one that is not ours is an
                    // other machine that is not a game of ours.
                    close(bytes.size() > kMaxReliableBytes
                              ? "The other machine sent a message far too long."
                              : "The other machine sent a message that is not ours.");
            }
            enet_packet_destroy(event.packet);
        } else if (event.type == ENET_EVENT_TYPE_DISCONNECT) {
            if (event.peer != peer_ && !(calling_ && event.peer == host_->calling)) continue;
            peer_ = nullptr;
            close(event.data == kTurnedAway ? "That game already has two players."
                  : event.data == kLeaving  ? "The other machine left."
                                            : "The other machine stopped answering.");
        }
    }
    if (calling_ && !peer_ && closed_.empty() && silence() > kNoAnswerAfter)
        close("No answer from the other machine.");
    return heard;
}

} // namespace squeakrun
