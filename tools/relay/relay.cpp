#include "relay.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>

namespace squeakrun {

namespace {

sockaddr_in local(std::uint16_t port) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons(port);
    return a;
}

int openUdp(std::uint16_t port) {
    const int s = socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK, 0);
    const sockaddr_in a = local(port);
    if (s >= 0 && bind(s, reinterpret_cast<const sockaddr*>(&a), sizeof a) != 0) {
        close(s);
        return -1;
    }
    return s;
}

} // namespace

Relay::Relay(std::uint16_t port, std::uint16_t target, const RelayShape& shape)
    : shape_(shape), dice_(shape.seed), front_(openUdp(port)), back_(openUdp(0)),
      start_(std::chrono::steady_clock::now()) {
    const sockaddr_in host = local(target);
    if (back_ >= 0) connect(back_, reinterpret_cast<const sockaddr*>(&host), sizeof host);
}

Relay::~Relay() {
    if (front_ >= 0) close(front_);
    if (back_ >= 0) close(back_);
}

std::uint16_t Relay::port() const {
    sockaddr_in a{};
    socklen_t n = sizeof a;
    getsockname(front_, reinterpret_cast<sockaddr*>(&a), &n);
    return ntohs(a.sin_port);
}

void Relay::take(int socket, bool toTarget) {
    std::uniform_real_distribution<double> chance(0, 1);
    sockaddr_in from{};
    socklen_t n = sizeof from;
    for (ssize_t got; (got = recvfrom(socket, buffer_.data(), buffer_.size(), 0,
                                      reinterpret_cast<sockaddr*>(&from), &n)) >= 0;
         n = sizeof from) {
        Traffic& sent = sent_[toTarget ? 0 : 1];
        sent.bytes += got;
        ++sent.packets;
        if (toTarget) {
            joiner_ = from.sin_addr.s_addr;
            joinerPort_ = from.sin_port;
        }
        const auto now = std::chrono::steady_clock::now();
        const auto since = std::chrono::duration_cast<std::chrono::milliseconds>(now - start_);
        const bool dark = shape_.blackoutAfter.count() >= 0 && since >= shape_.blackoutAfter &&
                          since < shape_.blackoutAfter + shape_.blackoutFor;
        if (dark || chance(dice_) < shape_.loss) continue;
        const int copies = chance(dice_) < shape_.duplicate ? 2 : 1;
        for (int i = 0; i < copies; ++i) {
            double ms = shape_.delayMs + shape_.jitterMs * (2 * chance(dice_) - 1);
            if (chance(dice_) < shape_.reorder) ms += shape_.reorderMs;
            const auto due =
                now + std::chrono::microseconds(static_cast<long long>(std::max(0.0, ms) * 1000));
            queue_.push_back({due, toTarget, {buffer_.begin(), buffer_.begin() + got}});
        }
    }
}

void Relay::pump() {
    take(front_, true);
    take(back_, false);
    const auto now = std::chrono::steady_clock::now();
    std::stable_sort(queue_.begin(), queue_.end(),
                     [](const Packet& a, const Packet& b) { return a.due < b.due; });
    auto sent = queue_.begin();
    for (; sent != queue_.end() && sent->due <= now; ++sent) {
        if (sent->toTarget) {
            send(back_, sent->bytes.data(), sent->bytes.size(), 0);
        } else if (joinerPort_) {
            sockaddr_in to = local(0);
            to.sin_addr.s_addr = joiner_;
            to.sin_port = joinerPort_;
            sendto(front_, sent->bytes.data(), sent->bytes.size(), 0, reinterpret_cast<const sockaddr*>(&to),
                   sizeof to);
        }
    }
    queue_.erase(queue_.begin(), sent);
}

} // namespace squeakrun
