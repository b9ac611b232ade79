// Machines of a network game in one test process, on 127.0.0.1 over real UDP sockets: the host, its
// joiners, and the frames they run on the wall clock with their players' hands between them.
#pragma once

#include "headless/headless_platform.h"
#include "headless/temp_folder.h"
#include "net/net_peer.h"
#include "relay.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace squeakrun {

struct Machine {
    TempFolder folder;
    HeadlessPlatform world{folder.path(), nullptr};
    std::unique_ptr<NetPeer> peer;
};

inline std::unique_ptr<NetPeer> hostOn(Machine& m, const std::string& version = "1.0") {
    std::string why;
    auto link = Link::listen(0, why);
    EXPECT_TRUE(link) << why;
    return std::make_unique<NetPeer>(std::move(link), true, Introduction{"Ann", version, 77, "2"}, m.world);
}

inline std::unique_ptr<NetPeer> joinAt(Machine& m, std::uint16_t port, const std::string& version = "1.0") {
    std::string why;
    auto link = Link::call("127.0.0.1", port, why);
    EXPECT_TRUE(link) << why;
    return std::make_unique<NetPeer>(std::move(link), false, Introduction{"Bob", version}, m.world);
}

// Frames every few ms of wall time on every machine, with the players' hands of `act` between them;
// with `clocks` false the games stand and only the messages move.
template <class Act>
void frames(std::vector<NetPeer*> peers, Relay* relay, std::chrono::milliseconds length, Act act,
            bool clocks = true) {
    const auto end = std::chrono::steady_clock::now() + length;
    auto last = std::chrono::steady_clock::now();
    while (std::chrono::steady_clock::now() < end) {
        const auto now = std::chrono::steady_clock::now();
        const double ms = std::chrono::duration<double, std::milli>(now - last).count();
        last = now;
        for (NetPeer* p : peers) {
            if (relay) relay->pump();
            p->frame(clocks ? ms : 0);
            act(*p);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

inline void closeBoxes(NetPeer& p) {
    if (p.game() && p.game()->box()) p.game()->answer(Button::OK, "gg");
}

inline void closeBoxesAndStart(NetPeer& p) {
    closeBoxes(p);
    if (p.game() && !p.game()->box() && p.game()->shown().window.startButton.enabled)
        p.game()->agree(Input::click("Command3"));
}

} // namespace squeakrun
