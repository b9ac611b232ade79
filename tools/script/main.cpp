// squeakrun-script: plays scenario files against the game, headless and on an exact clock.
// Exit status: 2 if any file had a malformed line, else 1 if any expectation failed, else 0.
#include "headless/scenario.h"

#include <cstring>
#include <iostream>

namespace {

void usage(std::ostream& out) {
    out << "usage: squeakrun-script FILE...\n"
           "Plays each scenario file (or recorded session) against the game, headless and on an exact\n"
           "game clock, and prints what its lines print, each box and each sound. Exit status: 2 if a\n"
           "file had a malformed line, else 1 if an expectation failed, else 0. The scenario language\n"
           "is described in docs/scenarios.md.\n";
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        usage(std::cerr);
        return 2;
    }
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        usage(std::cout);
        return 0;
    }
    int passed = 0, failed = 0;
    bool anyMalformed = false;
    for (int i = 1; i < argc; ++i) {
        auto status = squeakrun::runScenarioFile(argv[i], std::cout);
        if (status == squeakrun::ScenarioStatus::Passed)
            ++passed;
        else
            ++failed;
        anyMalformed |= status == squeakrun::ScenarioStatus::Malformed;
    }
    std::cout << "scenarios: " << passed << " passed, " << failed << " failed\n";
    return anyMalformed ? 2 : failed > 0 ? 1 : 0;
}
