// squeakrun-soak: hours of game time played by two random players, the game checked after every 10 ms
// step against what must always hold (bench/invariants.h), including that the game stands still
// between games. The first breach is printed with the game time and the program exits 1.
//
//   squeakrun-soak HOURS SEED        HOURS may be a fraction (0.5 is half an hour)
#include "invariants.h"

#include "headless/autoplay.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

using namespace squeakrun;

int main(int argc, char** argv) {
    char* end = nullptr;
    double hours = argc == 3 ? std::strtod(argv[1], &end) : -1;
    bool hoursOk = end && *end == '\0' && hours > 0 && hours <= 10000;
    long long seed = argc == 3 ? std::strtoll(argv[2], &end, 10) : -1;
    if (!hoursOk || *end != '\0' || seed < 0) {
        std::fprintf(stderr, "usage: squeakrun-soak HOURS SEED\n");
        return 2;
    }

    bench::Session session(static_cast<std::uint64_t>(seed));
    bench::GameWatch watch(session.game, session.platform, true);
    AutoplayOptions options;
    options.seed = static_cast<std::uint64_t>(seed);
    options.stepMs = 10;
    options.check = [&watch] { watch.check(); };
    const auto gameMs = static_cast<std::int64_t>(std::llround(hours * 3600 * 1000));

    auto start = std::chrono::steady_clock::now();
    try {
        watch.check();
        long long keys = autoplay(session.game, session.platform, gameMs, options);
        std::chrono::duration<double> wall = std::chrono::steady_clock::now() - start;
        std::printf("soak %.2f game hours, seed %lld: %lld games, %lld records, %lld keys, %lld checks held "
                    "(%.1f s wall)\n",
                    hours, seed, watch.games(), session.platform.records, keys, watch.checks(), wall.count());
    } catch (const bench::Breach& breach) {
        std::printf("soak seed %lld: BREACH %s\n", seed, breach.what.c_str());
        return 1;
    }
    return 0;
}
