// squeakrun-script: plays scenario files against the game, headless and on an exact clock, or one file
// as one machine's player of a network game.
// Exit status: 2 if any file had a malformed line (or the command line was wrong), else 1 if any
// expectation failed, else 0.
#include "headless/net_script.h"
#include "headless/scenario.h"
#include "window/numbers.h"

#include <cstring>
#include <iostream>
#include <optional>
#include <string_view>
#include <vector>

namespace {

void usage(std::ostream& out) {
    out << "usage: squeakrun-script FILE...\n"
           "       squeakrun-script --host[=PORT] [--record DIR] FILE\n"
           "       squeakrun-script --join=HOST[:PORT] [--record DIR] FILE\n"
           "Plays each scenario file (or recorded session) against the game, headless and on an exact\n"
           "game clock, and prints what its lines print, each box and each sound.\n"
           "With --host or --join it plays one FILE as this machine's player of a network game, on the\n"
           "wall clock: the host plays player 1 and listens on PORT (default "
        << squeakrun::kDefaultPort
        << "), the joiner plays player 2.\n"
           "FILE's keys steer this machine's car with either key set, its clicks, menus and answers are\n"
           "this player's, and print, dump and expect show the game both machines agree on at that\n"
           "moment. --record DIR saves the session of both players there as a scenario file.\n"
           "Exit status: 2 if a file had a malformed line, else 1 if an expectation failed (or the\n"
           "network game ended early), else 0. The scenario language is described in docs/scenarios.md.\n";
}

// The network side the options name, or nullopt with `why`; `files` gets every other argument.
std::optional<squeakrun::NetSide> readOptions(int argc, char** argv, std::vector<std::string>& files,
                                              bool& network, std::string& why) {
    squeakrun::NetSide side;
    std::optional<std::string> record;
    const auto wrong = [&](std::string text) {
        why = std::move(text);
        return std::nullopt;
    };
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--host" || arg.starts_with("--host=")) {
            network = true;
            side.hosting = true;
            if (arg != "--host") {
                const auto port = squeakrun::portNumber(arg.substr(7));
                if (!port) return wrong("--host=PORT needs a port from 1 to 65535");
                side.port = *port;
            }
        } else if (arg.starts_with("--join=")) {
            network = true;
            side.hosting = false;
            std::string_view where = arg.substr(7);
            if (const std::size_t colon = where.rfind(':'); colon != std::string_view::npos) {
                const auto port = squeakrun::portNumber(where.substr(colon + 1));
                if (!port) return wrong("--join=HOST:PORT needs a port from 1 to 65535");
                side.port = *port;
                where = where.substr(0, colon);
            }
            if (where.empty()) return wrong("--join needs the host's name or address");
            side.host = std::string(where);
        } else if (arg == "--record" && i + 1 < argc) {
            record = argv[++i];
        } else if (arg.starts_with("--record=")) {
            record = std::string(arg.substr(9));
        } else if (arg.starts_with("--")) {
            return wrong("unknown option " + std::string(arg));
        } else {
            files.emplace_back(arg);
        }
    }
    if (record && !network) return wrong("--record goes with --host or --join");
    if (network && files.size() != 1) return wrong("a network game plays one FILE");
    if (record) side.recordFolder = *record;
    side.version = SQUEAKRUN_VERSION;
    return side;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        usage(std::cout);
        return 0;
    }
    std::vector<std::string> files;
    bool network = false;
    std::string why;
    const auto side = readOptions(argc, argv, files, network, why);
    if (!side || files.empty()) {
        if (!why.empty()) std::cerr << "squeakrun-script: " << why << '\n';
        usage(std::cerr);
        return 2;
    }
    int passed = 0, failed = 0;
    bool anyMalformed = false;
    for (const std::string& file : files) {
        const auto status = network ? squeakrun::playNetScenarioFile(file, *side, std::cout)
                                    : squeakrun::runScenarioFile(file, std::cout);
        if (status == squeakrun::ScenarioStatus::Passed)
            ++passed;
        else
            ++failed;
        anyMalformed |= status == squeakrun::ScenarioStatus::Malformed;
    }
    std::cout << "scenarios: " << passed << " passed, " << failed << " failed\n";
    return anyMalformed ? 2 : failed > 0 ? 1 : 0;
}
