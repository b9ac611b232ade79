// squeakrun-relay PORT TARGET [--delay MS] [--jitter MS] [--loss P] [--duplicate P] [--reorder P]
//                 [--blackout AFTER_MS FOR_MS] [--seed N]
// Passes UDP packets from 127.0.0.1:PORT to 127.0.0.1:TARGET and back, misbehaving as told, until killed.
#include "relay.h"
#include "window/numbers.h"

#include <cstdlib>
#include <iostream>
#include <optional>
#include <string_view>
#include <thread>

int main(int argc, char** argv) {
    using namespace squeakrun;
    if (argc < 3) {
        std::cerr
            << "usage: squeakrun-relay PORT TARGET [--delay MS] [--jitter MS] [--loss P] [--duplicate P]"
               " [--reorder P] [--blackout AFTER_MS FOR_MS] [--seed N]\n";
        return 2;
    }
    const std::optional<std::uint16_t> port = portNumber(argv[1]), target = portNumber(argv[2]);
    if (!port || !target) {
        std::cerr << "squeakrun-relay: PORT and TARGET are port numbers on 127.0.0.1, from 1 to 65535\n";
        return 2;
    }
    RelayShape shape;
    for (int i = 3; i + 1 < argc; i += 2) {
        const std::string_view option = argv[i];
        const double value = std::atof(argv[i + 1]);
        if (option == "--delay")
            shape.delayMs = value;
        else if (option == "--jitter")
            shape.jitterMs = value;
        else if (option == "--loss")
            shape.loss = value;
        else if (option == "--duplicate")
            shape.duplicate = value;
        else if (option == "--reorder")
            shape.reorder = value;
        else if (option == "--seed")
            shape.seed = static_cast<std::uint64_t>(value);
        else if (option == "--blackout" && i + 2 < argc) {
            shape.blackoutAfter = std::chrono::milliseconds(static_cast<long long>(value));
            shape.blackoutFor = std::chrono::milliseconds(std::atoll(argv[++i + 1]));
        } else {
            std::cerr << "squeakrun-relay: unknown option " << option << '\n';
            return 2;
        }
    }
    Relay relay(*port, *target, shape);
    if (!relay.ok()) {
        std::cerr << "squeakrun-relay: port " << argv[1] << " cannot be opened\n";
        return 1;
    }
    for (;;) {
        relay.pump();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}
