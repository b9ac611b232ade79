// squeakrun-script: plays scenario files against the game, headless and on an exact clock.
// Exit status: 2 if any file had a malformed line, else 1 if any expectation failed, else 0.
#include "headless/scenario.h"

#include <iostream>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: squeakrun-script FILE...\n";
        return 2;
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
