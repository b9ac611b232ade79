// squeakrun-timedemo: how much faster than real time the game runs. Two random players play a stretch
// of game time (an hour by default) on the headless platform, several times over; the tool prints game
// seconds per wall second for each run and their median, minimum and maximum, and the same per second
// of processor time. The game's folder is a RAM folder unless TMPDIR names another: set TMPDIR to a disk
// folder to include the disk flushes of each new record.
//
//   squeakrun-timedemo [SEED [RUNS [GAME_MINUTES]]]      defaults: 1 5 60
#include "harness.h"

#include "headless/autoplay.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

using namespace squeakrun;

namespace {

// The speed the game must keep up: an hour of play in under 0.18 s on one core.
constexpr double kGoal = 20000;

long long argument(int argc, char** argv, int index, long long fallback) {
    if (argc <= index) return fallback;
    char* end = nullptr;
    long long v = std::strtoll(argv[index], &end, 10);
    if (*end != '\0' || v <= 0) {
        std::fprintf(stderr,
                     "usage: squeakrun-timedemo [SEED [RUNS [GAME_MINUTES]]] (positive whole numbers)\n");
        std::exit(2);
    }
    return v;
}

struct Summary {
    double median, min, max;
};

Summary summarize(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    std::size_t n = v.size();
    return {n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2, v.front(), v.back()};
}

} // namespace

int main(int argc, char** argv) {
    const auto seed = static_cast<std::uint64_t>(argument(argc, argv, 1, 1));
    const long long runs = argument(argc, argv, 2, 5);
    const long long gameMs = argument(argc, argv, 3, 60) * 60 * 1000;

    std::vector<double> rates, cpuRates;
    for (long long run = 0; run < runs; ++run) {
        bench::Session session(seed);
        if (run == 0) std::printf("application folder: %s\n", session.folder.path().c_str());
        AutoplayOptions options;
        options.seed = seed;
        std::clock_t cpuStart = std::clock();
        auto start = std::chrono::steady_clock::now();
        long long keys = autoplay(session.game, session.platform, gameMs, options);
        std::chrono::duration<double> wall = std::chrono::steady_clock::now() - start;
        double cpu = double(std::clock() - cpuStart) / CLOCKS_PER_SEC;
        rates.push_back(gameMs / 1000.0 / wall.count());
        cpuRates.push_back(gameMs / 1000.0 / cpu);
        std::printf("run %lld: %.0f game s in %.3f wall s (%.3f processor s) = %.0fx real time "
                    "(%lld keys, %lld games, %lld records)\n",
                    run + 1, gameMs / 1000.0, wall.count(), cpu, rates.back(), keys,
                    session.platform.outcomes, session.platform.records);
    }
    const Summary wall = summarize(rates), cpu = summarize(cpuRates);
    std::printf("game seconds per processor second: median %.0f, min %.0f, max %.0f\n", cpu.median, cpu.min,
                cpu.max);
    std::printf(
        "game seconds per wall second: median %.0f, min %.0f, max %.0f over %lld runs (goal %.0f: %s)\n",
        wall.median, wall.min, wall.max, runs, kGoal, wall.median >= kGoal ? "met" : "missed");
    return 0;
}
