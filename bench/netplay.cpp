// squeakrun-netplay [GAMES] [SECONDS] [CHECKED_GAMES] [CHECKED_SECONDS]: network games between two
// machines in one process, each machine on an ENet socket of its own, the joiner's packets through the
// misbehaving relay, on the wall clock. Round trips of 0, 60, 150, 240 and 300 ms (±20 ms jitter and
// 2 % of the packets 40 ms late past 0), with no loss and with 5 % of the packets lost either way;
// GAMES games of SECONDS each. The computer drives both cars, each on its own machine as a player
// would, closes the boxes after a while and presses start. All the games run at once.
//
// One table: the felt delay of a player's own key (the game time it acts at after the game time it
// was pressed at), rollbacks a second and how far back (p99), the processor time a frame takes to hear
// the link, roll back and play forward (p99), the frames that had to wait while the cars ran (and of
// them those more than a second after a box, when the players' pace at their boxes is no cause), the
// longest gap between two frames of one machine (a process held up that long makes the other machine
// wait whatever the link does), bytes a second each way on the wire (UDP with its and IP's headers),
// and the games whose two machines, or the headless replay of their recording, did not end with the
// same game. Then CHECKED_GAMES games of CHECKED_SECONDS at
// 150 ms, 5 % loss and 2 % reordering, counted the same way. Exit status 1 when any game ended apart.
#include "headless/headless_platform.h"
#include "headless/temp_folder.h"
#include "net/net_peer.h"
#include "net/signature.h"
#include "relay.h"
#include "session/script.h"

#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <thread>
#include <vector>

using namespace squeakrun;
using Clock = std::chrono::steady_clock;

namespace {

constexpr long long kIpUdpHeaderBytes = 20 + 8;
// The players stop, close the boxes still open, and what is on its way arrives, until both machines
// confirm the moment the one behind stopped at; past this long they will not.
constexpr std::chrono::seconds kSettleWithin{20};
// A wait this long after a box is the other player's pace at the box, not the link's doing.
constexpr std::int64_t kAfterBoxMs = 1000;
// Two machines on one computer meet in milliseconds; past this they will not.
constexpr std::chrono::seconds kMeetWithin{10};

struct Shape {
    double roundTripMs = 0, loss = 0;
};

struct Figures {
    std::vector<double> feltMs, frameMicros;
    double longestGapMs = 0; // between two frames of one machine: how late this busy process ran
    long long rollbacks = 0, stalls = 0, linkStalls = 0, frames = 0, apart = 0, games = 0;
    double seconds = 0;
    Relay::Traffic toJoiner, toHost;
    decltype(RollbackStats::bySteps) bySteps{};
};

double threadMicros() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e6 + static_cast<double>(t.tv_nsec) / 1e3;
}

// The signature the game of a recorded session ends with, replayed headless.
std::uint64_t replayedSignature(const std::string& recording) {
    const auto read = readScript(recording, Dialect::Session);
    if (!std::holds_alternative<Script>(read)) return 0;
    const Script& script = std::get<Script>(read);
    TempFolder folder("squeakrun-netplay");
    HeadlessPlatform platform(folder.path(), nullptr);
    if (writeRecords(script, folder.path())) return 0;
    Game g(platform, script.seed);
    ScriptPlayer player(g, platform, script);
    player.playAll();
    return gameSignature(g);
}

// One machine and its player: the computer at the keys, and a hand that closes boxes and presses start.
struct Side {
    TempFolder folder{"squeakrun-netplay"};
    HeadlessPlatform world{folder.path(), nullptr};
    std::unique_ptr<NetPeer> peer;
    ComputerDriver driver;
    Random hand;
    std::int64_t nextLook = kLookStepMs;
    std::int64_t lastBoxAt = 0; // the game time this machine last showed a box at
    Clock::time_point closeBoxAt{}, lastFrame = Clock::now();

    Side(int player, std::uint64_t seed) : driver(player, Skill::Average, seed), hand(seed * 7 + player) {}

    // The hand closes boxes all along, so both machines stop at one moment; the keys and the start
    // button only while the game is `played`.
    void act(Clock::time_point now, Figures* played) {
        NetGame& game = *peer->game();
        if (game.box()) {
            if (closeBoxAt == Clock::time_point{})
                closeBoxAt = now + std::chrono::milliseconds(100 + static_cast<int>(hand.next() * 500));
            if (now >= closeBoxAt) {
                game.answer(Button::Yes, "gg");
                closeBoxAt = {};
            }
            return;
        }
        if (!played) return;
        const Control& start = game.shown().window.startButton;
        if (start.visible && start.enabled && hand.next() < 0.05) game.agree(Input::click("Command3"));
        for (; nextLook <= game.now(); nextLook += kLookStepMs)
            for (char key : driver.look(game.shown().window, nextLook)) {
                const std::int64_t at = game.press(key);
                if (at >= 0) played->feltMs.push_back(static_cast<double>(at - game.now()));
            }
    }

    void frame(Clock::time_point now, bool clocks, Figures* counted) {
        const double ms = std::chrono::duration<double, std::milli>(now - lastFrame).count();
        lastFrame = now;
        const double before = threadMicros();
        peer->frame(clocks ? ms : 0);
        if (counted) {
            counted->frameMicros.push_back(threadMicros() - before);
            counted->longestGapMs = std::max(counted->longestGapMs, ms);
            ++counted->frames;
        }
        if (peer->game() && peer->game()->box()) lastBoxAt = peer->game()->now();
        if (peer->game()) act(now, counted);
    }
};

// One network game: the host, the relay, the joiner calling the relay.
class Match {
  public:
    Match(const Shape& shape, std::uint64_t seed, std::chrono::seconds length, Figures& f)
        : figures_(f), seed_(seed), length_(length), sides_{Side(0, seed), Side(1, seed + 1)} {
        std::string why;
        auto hostLink = Link::listen(0, why);
        if (!hostLink) fail(why);
        const bool rough = shape.roundTripMs > 0;
        relay_ = std::make_unique<Relay>(0, hostLink->port(),
                                         RelayShape{shape.roundTripMs / 2,
                                                    rough ? 20.0 : 0.0,
                                                    shape.loss,
                                                    0,
                                                    rough ? 0.02 : 0.0,
                                                    40,
                                                    std::chrono::milliseconds(-1),
                                                    {},
                                                    seed});
        auto joinLink = Link::call("127.0.0.1", relay_->port(), why);
        if (!relay_->ok() || !joinLink) fail(why);
        sides_[0].peer = std::make_unique<NetPeer>(
            std::move(hostLink), true, Introduction{"Ann", "netplay", seed, "2"}, sides_[0].world);
        sides_[1].peer = std::make_unique<NetPeer>(std::move(joinLink), false, Introduction{"Bob", "netplay"},
                                                   sides_[1].world);
    }

    bool done() const { return done_; }

    void step() {
        const auto now = Clock::now();
        const bool met = sides_[0].peer->game() && sides_[1].peer->game();
        if (!met && now > created_ + kMeetWithin) {
            done_ = true;
            return;
        }
        if (met && began_ == Clock::time_point{}) began_ = now;
        const bool playing = met && now < began_ + length_;
        if (met && !playing && !stopped_) stop();
        for (Side& side : sides_) {
            relay_->pump();
            side.frame(now, !stopped_, playing ? &figures_ : nullptr);
        }
        if (playing) countWaits();
        if (stopped_ && (settled() || now >= began_ + length_ + kSettleWithin)) done_ = true;
    }

    // Both machines and the replay of either's recording must end with the same game. Judged once
    // every game is done, so that no game's frames wait for another's judging.
    void judge() {
        ++figures_.games;
        const char* why = stopped_ ? differences() : "the machines never met";
        if (why) {
            ++figures_.apart;
            std::fprintf(stderr, "game of seed %llu: %s\n", static_cast<unsigned long long>(seed_), why);
        }
        for (Side& side : sides_)
            side.peer.reset();
    }

  private:
    [[noreturn]] static void fail(const std::string& why) {
        std::fprintf(stderr, "squeakrun-netplay: %s\n", why.c_str());
        std::exit(1);
    }

    // A wait shows only while the cars run: before the start and at a box nothing moves anyway. Right
    // after a box it is the other player's pace that is waited for: each closes their own box, and the
    // machine whose player was quicker runs up to kMaxPredictedMs ahead, then waits.
    void countWaits() {
        const std::int64_t lastBoxAt = std::max(sides_[0].lastBoxAt, sides_[1].lastBoxAt);
        for (const Side& side : sides_) {
            const NetGame& game = *side.peer->game();
            if (!game.stalled() || !game.shown().carsMayMove || game.box()) continue;
            ++figures_.stalls;
            if (game.now() > lastBoxAt + kAfterBoxMs) ++figures_.linkStalls;
        }
    }

    // The players let go: what the game did up to here is counted.
    void stop() {
        stopped_ = true;
        figures_.seconds += std::chrono::duration<double>(length_).count();
        for (const Side& side : sides_) {
            const RollbackStats& s = side.peer->game()->stats();
            figures_.rollbacks += s.rollbacks;
            for (std::size_t i = 0; i < s.bySteps.size(); ++i)
                figures_.bySteps[i] += s.bySteps[i];
        }
        const auto add = [](Relay::Traffic& to, const Relay::Traffic& from) {
            to.bytes += from.bytes;
            to.packets += from.packets;
        };
        add(figures_.toHost, relay_->fromJoiner());
        add(figures_.toJoiner, relay_->fromHost());
    }

    bool settled() const {
        const NetGame& host = *sides_[0].peer->game();
        const NetGame& join = *sides_[1].peer->game();
        const std::int64_t end = std::min(host.now(), join.now());
        return !host.box() && !join.box() && host.confirmedTime() == end && join.confirmedTime() == end;
    }

    // Why the game ended apart, the first reason of these, or nullptr.
    const char* differences() const {
        const NetGame& host = *sides_[0].peer->game();
        const NetGame& join = *sides_[1].peer->game();
        const std::string recording = host.recording("netplay", "now");
        const std::uint64_t signature = gameSignature(host.confirmed());
        return host.desynced() || join.desynced()                 ? "went apart at a signed moment"
               : !host.broken().empty() || !join.broken().empty() ? "a machine broke off"
               : host.confirmedTime() != join.confirmedTime()     ? "confirmed different moments"
               : signature != gameSignature(join.confirmed())     ? "confirmed different games"
               : recording != join.recording("netplay", "now")    ? "recorded different sessions"
               : replayedSignature(recording) != signature        ? "the recording replays elsewhere"
                                                                  : nullptr;
    }

    Figures& figures_;
    std::uint64_t seed_;
    std::chrono::seconds length_;
    Side sides_[2];
    std::unique_ptr<Relay> relay_;
    Clock::time_point created_ = Clock::now(), began_{};
    bool stopped_ = false, done_ = false;
};

// Plays every match at once until each is done, then judges them.
void playAll(std::vector<std::unique_ptr<Match>>& matches) {
    for (bool left = true; left;) {
        left = false;
        for (auto& m : matches)
            if (!m->done()) {
                m->step();
                left = true;
            }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    for (auto& m : matches)
        m->judge();
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

double percentOfFrames(long long n, const Figures& f) {
    return 100.0 * static_cast<double>(n) / static_cast<double>(std::max(1LL, f.frames));
}

double wirePerSecond(const Relay::Traffic& t, double seconds) {
    return static_cast<double>(t.bytes + kIpUdpHeaderBytes * t.packets) / seconds;
}

} // namespace

int main(int argc, char** argv) {
    const int games = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    const std::chrono::seconds seconds(argc > 2 ? std::max(1, std::atoi(argv[2])) : 60);
    const int checkedGames = argc > 3 ? std::max(0, std::atoi(argv[3])) : 100;
    const std::chrono::seconds checkedSeconds(argc > 4 ? std::max(1, std::atoi(argv[4])) : 120);

    const std::vector<Shape> shapes = {{0, 0},      {0, 0.05}, {60, 0},     {60, 0.05}, {150, 0},
                                       {150, 0.05}, {240, 0},  {240, 0.05}, {300, 0},   {300, 0.05}};
    std::vector<Figures> rows(shapes.size());
    std::vector<std::unique_ptr<Match>> matches;
    for (std::size_t r = 0; r < shapes.size(); ++r)
        for (int g = 1; g <= games; ++g)
            matches.push_back(
                std::make_unique<Match>(shapes[r], static_cast<std::uint64_t>(g), seconds, rows[r]));
    std::printf("%d games of %lld s at each link, the computer at both machines, through the relay\n\n",
                games, static_cast<long long>(seconds.count()));
    std::fflush(stdout);
    playAll(matches);

    std::printf(
        "| round trip | loss | felt delay max | rollbacks/s | depth p99 | frame p99 | waiting frames | "
        "not after a box | longest frame gap | bytes/s to joiner | bytes/s to host | games apart |\n"
        "|---|---|---|---|---|---|---|---|---|---|---|---|\n");
    for (std::size_t r = 0; r < shapes.size(); ++r) {
        const Figures& f = rows[r];
        std::printf(
            "| %.0f ms | %.0f %% | %.0f ms | %.1f | %lld ms | %.0f us | %.2f %% | %.2f %% | %.0f ms | %.0f | "
            "%.0f | %lld of %lld |\n",
            shapes[r].roundTripMs, shapes[r].loss * 100,
            f.feltMs.empty() ? 0.0 : *std::max_element(f.feltMs.begin(), f.feltMs.end()),
            static_cast<double>(f.rollbacks) / f.seconds / 2, depthP99(f), p99(f.frameMicros),
            percentOfFrames(f.stalls, f), percentOfFrames(f.linkStalls, f), f.longestGapMs,
            wirePerSecond(f.toJoiner, f.seconds), wirePerSecond(f.toHost, f.seconds), f.apart, f.games);
    }
    std::fflush(stdout);
    long long apart = 0;
    for (const Figures& f : rows)
        apart += f.apart;

    if (checkedGames == 0) return apart > 0 ? 1 : 0;
    Figures checked;
    matches.clear();
    for (int g = 1; g <= checkedGames; ++g)
        matches.push_back(std::make_unique<Match>(Shape{150, 0.05}, static_cast<std::uint64_t>(1000 + g),
                                                  checkedSeconds, checked));
    playAll(matches);
    std::printf(
        "\n%lld games of %lld s at 150 ms, 5 %% loss, 2 %% reordering: %lld apart; frame p99 %.0f us, "
        "waiting frames %.2f %% (not after a box %.2f %%), longest frame gap %.0f ms\n",
        checked.games, static_cast<long long>(checkedSeconds.count()), checked.apart,
        p99(checked.frameMicros), percentOfFrames(checked.stalls, checked),
        percentOfFrames(checked.linkStalls, checked), checked.longestGapMs);
    // Two machines apart is a fault, not a figure.
    return apart + checked.apart > 0 ? 1 : 0;
}
