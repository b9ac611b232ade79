// squeakrun-bench: the cost of one call of each tick handler, and of the key decoder, in a running game.
// The game is brought into play by the two random players; every few calls its state is put back as it
// was, outside the timing, so that a handler keeps meeting a game in progress rather than one it has
// already driven into the wall or out of gas.
#include "harness.h"

#include "headless/autoplay.h"
#include "rules/events.h"
#include "rules/key_box.h"
#include "rules/ticks.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <string_view>
#include <vector>

using namespace squeakrun;

namespace {

// A game some seconds into play: both cars on the move, devices and bonus items about.
struct RunningGame {
    bench::Session session{7};
    std::unique_ptr<GameState> snapshot; // everything a handler can change, to put back after a batch

    RunningGame() {
        pressStartButton(session.game);
        AutoplayOptions options;
        options.seed = 7;
        // Play on until a game is under way, not between two games.
        do
            autoplay(session.game, session.platform, 6000, options);
        while (!session.game.carsMayMove || session.game.paused);
        snapshot = std::make_unique<GameState>(session.game);
    }
};

// Each benchmark iteration is a batch of calls on the restored game, timed by hand, so putting the state
// back costs nothing in the figures; "per_call" is the time of one call. A batch is short enough that a
// handler never plays a game to its end.
constexpr int kCallsPerBatch = 16;

template <class Call>
void inRunningGame(benchmark::State& state, Call call, int callsPerBatch = kCallsPerBatch) {
    RunningGame running;
    Game& g = running.session.game;
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < callsPerBatch; ++i)
            call(g);
        std::chrono::duration<double> batch = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(batch.count());
        static_cast<GameState&>(g) = *running.snapshot;
    }
    state.counters["per_call"] = benchmark::Counter(
        callsPerBatch, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void tick(benchmark::State& state) {
    TickHandler handler = tickHandler(static_cast<int>(state.range(0)) - 1);
    inRunningGame(state, [handler](Game& g) { handler(g); });
}
BENCHMARK(tick)->ArgName("timer")->DenseRange(1, 8)->UseManualTime();

// A key press through the key box: steering, the device selection, and a letter of no command.
void key(benchmark::State& state, const char* letter) {
    inRunningGame(state, [letter](Game& g) { pressKey(g, letter); });
}
BENCHMARK_CAPTURE(key, steer, "d")->UseManualTime();
BENCHMARK_CAPTURE(key, select, "p")->UseManualTime();
BENCHMARK_CAPTURE(key, ignored, "x")->UseManualTime();

// One second of a running game: every tick of every timer that falls due.
void gameSecond(benchmark::State& state) {
    inRunningGame(
        state, [](Game& g) { advanceClock(g, g.clock.now + 1000); }, 1);
}
BENCHMARK(gameSecond)->Unit(benchmark::kMicrosecond)->UseManualTime();

} // namespace

// Each batch also pays for a restore that the figures leave out, so the usual half second of measured time
// per benchmark would take minutes: a fifth of a second is the default here (--benchmark_min_time=0.001
// makes the smoke run).
int main(int argc, char** argv) {
    std::vector<char*> args(argv, argv + argc);
    bool minTimeGiven = false;
    for (char* a : args)
        minTimeGiven |= std::string_view(a).starts_with("--benchmark_min_time");
    char defaultMinTime[] = "--benchmark_min_time=0.2";
    if (!minTimeGiven) args.insert(args.begin() + 1, defaultMinTime);
    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data())) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
