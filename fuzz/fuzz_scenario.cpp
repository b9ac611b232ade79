// Fuzz entry point for the game as a player drives it: the bytes become a scenario (start-up answers,
// record files, keys, clicks, menu commands, small-window edits, box replies, the computer taking or
// giving back a car, waits of bounded length) and the runner plays it. Nothing may crash, hang or trip
// the sanitizers; a malformed line (a reply naming a button the box lacks) only ends the scenario.
#include "scenario_bytes.h"

#include "headless/scenario.h"

#include <sstream>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::ostringstream out;
    squeakrun::runScenario(squeakrun::fuzz::scenarioFromBytes(data, size), "fuzz.scn", out);
    return 0;
}
