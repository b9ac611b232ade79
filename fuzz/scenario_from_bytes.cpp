// scenario-from-bytes: prints the scenario that the scenario fuzzer builds from a file of bytes, so that a
// finding can be replayed with squeakrun-script and kept under tests/scenarios.
//
//   scenario-from-bytes CRASH_FILE > tests/scenarios/some_topic.scn
#include "scenario_bytes.h"

#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: scenario-from-bytes FILE\n";
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::cerr << "cannot read " << argv[1] << "\n";
        return 2;
    }
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::cout << squeakrun::fuzz::scenarioFromBytes(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                                    bytes.size());
    return 0;
}
