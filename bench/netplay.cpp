// squeakrun-netplay [GAMES] [SECONDS]: network games between two machines in one process, over the
// simulated link at round trips of 0, 60, 150 and 300 ms (±20 ms jitter and 2 % reordering past 0),
// with no loss and with 5 % of the keys packets lost. The computer drives both cars, each on its own
// machine as a player would, closes the boxes after a while and presses start. One table: rollbacks a
// second and how far back (p99), the time a frame takes to hear the link, roll back and play forward
// (p99), the frames that had to wait, bytes a second each way (the messages', and on the wire with
// kHeaderBytes a packet for IP, UDP and ENet), and the games whose two machines or whose recording's
// replay did not end the same.
#include "headless/headless_platform.h"
#include "headless/scenario.h"
#include "headless/temp_folder.h"
#include "net/net_game.h"
#include "net/signature.h"
#include "net/sim_link.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <sstream>

using namespace squeakrun;

namespace {

constexpr std::int64_t kFrameMs = 16;
constexpr long long kHeaderBytes = 20 + 8 + 12;

struct Figures {
    long long rollbacks = 0, stalls = 0, frames = 0, differ = 0;
    long long bytesToJoin = 0, bytesToHost = 0, wireToJoin = 0, wireToHost = 0;
    decltype(RollbackStats::bySteps) bySteps{};
    std::vector<double> frameMicros;
};

// One machine's player: the computer at its keys, and a hand that closes boxes and presses start.
struct Seat {
    NetGame& game;
    ComputerDriver driver;
    std::int64_t nextLook = kLookStepMs, closeBoxAt = -1;
    Random hand;

    void act(std::int64_t wall) {
        if (game.box()) {
            if (closeBoxAt < 0) closeBoxAt = wall + 100 + static_cast<std::int64_t>(hand.next() * 500);
            if (wall >= closeBoxAt) {
                game.answer(Button::Yes, "gg");
                closeBoxAt = -1;
            }
            return;
        }
        const Control& start = game.shown().window.startButton;
        if (start.visible && start.enabled && hand.next() < 0.05) game.agree(Input::click("Command3"));
        for (; nextLook <= game.now(); nextLook += kLookStepMs)
            for (char key : driver.look(game.shown().window, nextLook))
                game.press(key);
    }
};

void playOne(const LinkShape& shape, std::uint64_t seed, std::int64_t seconds, Figures& f) {
    TempFolder hostFolder("squeakrun-netplay"), joinFolder("squeakrun-netplay");
    HeadlessPlatform hostWorld(hostFolder.path(), nullptr), joinWorld(joinFolder.path(), nullptr);
    NetGame host(hostWorld, {0, seed, {"Ann", "Bob"}, "2"}), join(joinWorld, {1, seed, {"Ann", "Bob"}, "2"});
    SimulatedPipe toJoin(shape, seed * 3 + 1), toHost(shape, seed * 5 + 2);
    Seat seats[2] = {{host, ComputerDriver(0, Skill::Average, seed), kLookStepMs, -1, Random(seed * 7)},
                     {join, ComputerDriver(1, Skill::Average, seed + 1), kLookStepMs, -1, Random(seed * 11)}};
    const auto frame = [&](std::int64_t wall, bool clocks) {
        for (int i = 0; i < 2; ++i) {
            NetGame& game = i == 0 ? host : join;
            if (clocks) seats[i].act(wall);
            const auto begin = std::chrono::steady_clock::now();
            (i == 0 ? toHost : toJoin).deliver(wall, game);
            game.advance(clocks ? kFrameMs : 0);
            f.frameMicros.push_back(
                std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - begin).count());
            for (const Message& m : game.outgoing(kFrameMs))
                (i == 0 ? toJoin : toHost).send(wall, m);
        }
    };
    std::int64_t wall = 0;
    for (; wall < seconds * 1000; wall += kFrameMs)
        frame(wall, true);
    f.bytesToJoin += toJoin.bytes();
    f.bytesToHost += toHost.bytes();
    f.wireToJoin += toJoin.bytes() + kHeaderBytes * toJoin.packets();
    f.wireToHost += toHost.bytes() + kHeaderBytes * toHost.packets();
    // The players stop; what is on its way arrives, and both machines confirm the same moment.
    for (const std::int64_t end = wall + 3000; wall < end; wall += kFrameMs)
        frame(wall, false);
    for (const NetGame* game : {&host, &join}) {
        f.rollbacks += game->stats().rollbacks;
        f.stalls += game->stats().stalledAdvances;
        for (std::size_t i = 0; i < f.bySteps.size(); ++i)
            f.bySteps[i] += game->stats().bySteps[i];
    }
    f.frames += 2 * seconds * 1000 / kFrameMs;
    const std::string recording = host.recording("netplay", "now");
    std::ostringstream out;
    const bool same = !host.desynced() && !join.desynced() && host.confirmedTime() == join.confirmedTime() &&
                      gameSignature(host.confirmed()) == gameSignature(join.confirmed()) &&
                      recording == join.recording("netplay", "now") &&
                      runScenario(recording, "netplay", out) == ScenarioStatus::Passed;
    if (!same) ++f.differ;
}

double p99(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() * 99 / 100];
}

// The depth, in ms, that 99 % of the rollbacks stayed within.
long long depthP99(const Figures& f) {
    long long seen = 0;
    for (std::size_t i = 0; i < f.bySteps.size(); ++i) {
        seen += f.bySteps[i];
        if (seen * 100 >= f.rollbacks * 99) return static_cast<long long>(i + 1) * kStepMs;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const int games = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    const std::int64_t seconds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 120;
    std::printf("%d games of %lld game seconds each, the computer at both machines\n\n", games,
                static_cast<long long>(seconds));
    std::printf("| round trip | loss | rollbacks/s | depth p99 | frame p99 | waiting frames | bytes/s to "
                "joiner (wire) | "
                "bytes/s to host (wire) | games apart |\n|---|---|---|---|---|---|---|---|---|\n");
    for (const double roundTrip : {0.0, 60.0, 150.0, 300.0}) {
        for (const double loss : {0.0, 0.05}) {
            const bool rough = roundTrip > 0;
            const LinkShape shape{roundTrip / 2, rough ? 20.0 : 0.0, loss, rough ? 0.02 : 0.0};
            Figures f;
            for (int g = 1; g <= games; ++g)
                playOne(shape, static_cast<std::uint64_t>(g), seconds, f);
            const double played = static_cast<double>(games * seconds);
            std::printf(
                "| %.0f ms | %.0f %% | %.1f | %lld ms | %.0f us | %.2f %% | %.0f (%.0f) | %.0f (%.0f) | %lld "
                "of %d |\n",
                roundTrip, loss * 100, static_cast<double>(f.rollbacks) / played / 2, depthP99(f),
                p99(f.frameMicros), 100.0 * static_cast<double>(f.stalls) / static_cast<double>(f.frames),
                static_cast<double>(f.bytesToJoin) / played, static_cast<double>(f.wireToJoin) / played,
                static_cast<double>(f.bytesToHost) / played, static_cast<double>(f.wireToHost) / played,
                f.differ, games);
            std::fflush(stdout);
        }
    }
    return 0;
}
