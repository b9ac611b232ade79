// A scenario file played as one machine's player of a network game, on the wall clock: its keys
// steer this machine's car, its clicks and menus are this player's, its answers close this player's
// boxes, and what it prints or expects is the confirmed game, the one both machines agree on.
#pragma once

#include "headless/scenario.h"
#include "net/link.h"

#include <cstdint>
#include <filesystem>
#include <ostream>
#include <string>

namespace squeakrun {

struct NetSide {
    bool hosting = true;
    std::string host;                   // the joiner's: the machine that hosts
    std::uint16_t port = kDefaultPort;  // the host's port
    std::filesystem::path recordFolder; // where the merged session is saved; empty: nowhere
    std::string version;                // the game's, which both machines must share
};

// Plays `file` as `side`'s player against whoever plays the other machine. Passed when the machines
// met, every look was confirmed and every expectation held; Malformed for a file this machine cannot
// play (a line only one keyboard can play, a key of neither car); Failed otherwise, with the line the
// players would read.
ScenarioStatus playNetScenarioFile(const std::filesystem::path& file, const NetSide& side, std::ostream& out);

} // namespace squeakrun
