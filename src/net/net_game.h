// A game on two machines that feels like one keyboard. Each machine applies its own player's keys at
// once and predicts that the other player presses nothing; when the other's keys arrive for a moment
// already shown, it goes back to the last moment both players' inputs were known (the confirmed game)
// and plays forward again. What is not a key (the start button, pause, the host's settings, the answer
// to a box) is agreed: sent reliably and applied on both machines at the same game time. A box opens
// only once the moment that opens it is confirmed, so both machines open the same boxes in the same
// order. Nothing here knows how the messages travel: the caller carries them.
#pragma once

#include "net/protocol.h"
#include "rules/state.h"
#include "session/recorder.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace squeakrun {

// A car step: the movement tick's interval, the unit the two clocks are kept within.
inline constexpr std::int64_t kStepMs = 30;
// How far a machine may play ahead of what it knows of the other: past this it waits.
inline constexpr std::int64_t kMaxPredictedMs = 8 * kStepMs;
// Each machine signs its confirmed game at every multiple of this.
inline constexpr std::int64_t kSignatureEveryMs = 1000;
// Without a new key, a keys packet goes this often.
inline constexpr std::chrono::milliseconds kKeysEvery{30};
// The machine ahead runs at most this much slower until the clocks meet again.
inline constexpr double kMaxEasing = 0.02;

// How the game begins on both machines: the host's seed and difficulty, both names.
struct NetStart {
    int localPlayer = 0; // 0: this machine hosts and plays player 1; 1: it joined and plays player 2
    std::uint64_t seed = 1;
    std::array<std::string, 2> names;
    std::string difficulty = "2";
};

// A box that the confirmed game opened and that waits for its answer.
struct BoxRequest {
    std::uint32_t number = 0; // boxes are counted from start-up, the same on both machines
    bool input = false;       // an input box; else a message box with `buttons`
    Buttons buttons = Buttons::OK;
    std::string text, title, defaultAnswer;
    // Who answers it: player 0 or 1 (the other machine waits for that answer), or kEachPlayer: a
    // message box with only OK, which each machine's player closes on their own machine.
    int owner = 0;
    static constexpr int kEachPlayer = -1;
};

// What the rollback costs, for the network benchmark.
struct RollbackStats {
    long long rollbacks = 0;       // inputs of the other player that arrived for a moment shown
    std::int64_t deepestMs = 0;    // the furthest back one of them reached
    long long stalledAdvances = 0; // advances cut short because this machine was too far ahead
    // How many went back 0, 1, ... car steps; the last counts every deeper one.
    std::array<long long, kMaxPredictedMs / kStepMs + 2> bySteps{};
};

class NetGame {
  public:
    // `platform` gives the game its folders and plays its sounds; its boxes are never used, as every
    // box goes through box() and answer().
    NetGame(Platform& platform, const NetStart& start);
    ~NetGame();
    NetGame(const NetGame&) = delete;
    NetGame& operator=(const NetGame&) = delete;

    // Lets `ms` of wall time pass (eased by the clock's agreement): the game moves on unless this
    // machine is too far ahead of the other, a box stands open, or the two machines disagreed.
    void advance(double ms);
    // A key of this machine's player: a letter of either key set steers this machine's own car. The
    // game time it acts at (now, unless a box holds the game), or -1 when it was not taken.
    std::int64_t press(char key);
    // An input both machines apply at the same game time; false when this machine's player may not
    // make it (a settings change on the joiner's machine, anything but the start button, pause and
    // the settings, or a game that is over).
    bool agree(const Input& input);
    // Answers box(), when this machine's player may.
    void answer(Button button, const std::string& text = {});
    // This machine is leaving: the other machine hears at once.
    void quit();

    // A message from the other machine. A message that breaks the rules of the exchange ends the game
    // with broken() saying why.
    void receive(const Message& message);
    // What to send now, `ms` of wall time after the last call: every reliable message made since, then
    // a keys packet when a key waits to go or kKeysEvery have passed.
    std::vector<Message> outgoing(double ms);

    int localPlayer() const { return localPlayer_; }
    // The game as this machine shows it, the other car predicted.
    const Game& shown() const { return *shown_; }
    // The game both machines agree on, and the game time up to which they do.
    const Game& confirmed() const { return *confirmed_; }
    std::int64_t confirmedTime() const { return confirmedTime_; }
    // Start-up has run in the confirmed game: before, there is no session to replay.
    bool started() const { return confirmedProgress_.started; }
    std::int64_t now() const { return now_; }
    // The confirmed box waiting for an answer, if any.
    const std::optional<BoxRequest>& box() const { return box_; }
    // This machine waits: it is kMaxPredictedMs ahead of what it heard from the other machine.
    bool stalled() const;
    // How much slower this machine's clock runs now to let the other catch up: 1 or down to 0.98.
    double rate() const;
    // The two machines' games differed at a confirmed moment.
    bool desynced() const { return desyncedAt_ >= 0; }
    std::int64_t desyncedAt() const { return desyncedAt_; }
    bool otherQuit() const { return otherQuit_; }
    const std::string& broken() const { return broken_; }
    // Who paused the game last (0 or 1), or -1.
    int pausedBy() const { return pausedBy_; }
    const RollbackStats& stats() const { return stats_; }

    // The confirmed game as a scenario file: both players' inputs at the game times they took effect.
    std::string recording(std::string_view version, std::string_view date) const;

  private:
    struct Stamped {
        std::int64_t time = 0;
        int player = 0;
        std::uint32_t order = 0;
        Input input;
    };
    struct Progress {
        bool started = false;    // start-up has run
        std::uint32_t boxes = 0; // boxes opened so far
    };
    struct Hold;
    struct Logged;
    class Boxes;

    // How far a run plays: to the ticks of `until`, then the inputs of that millisecond too for the
    // shown game (a key acts at once) but not for the confirmed one (the other machine may still make
    // some of that millisecond).
    struct Reach {
        std::int64_t until = 0;
        bool inputsOfUntil = false;
    };
    // Plays `g` on over the pending inputs, from pending_[used] on; the box that stopped it, if one
    // did. With `stopAt`, stops just before that box instead.
    std::optional<Hold> play(Game& g, Progress& p, Reach reach, std::vector<Logged>* log, std::size_t& used,
                             const std::optional<Hold>& stopAt);
    // The same from a copy of `from`, left just before a box that has no answer.
    std::optional<Hold> playFrom(const Game& from, const Progress& fromProgress, Game& g, Progress& p,
                                 Reach reach, std::vector<Logged>* log, std::size_t& used);
    bool over() const;
    bool answered(const BoxRequest& box) const;
    void settle();
    bool confirmTo(std::int64_t until);
    void predict();
    void sign(std::int64_t time);
    void compareSignatures();
    void stamp(int player, std::uint32_t order, std::int64_t time, Input input);
    std::int64_t frontier() const;
    void fail(std::string why);

    int localPlayer_;
    std::unique_ptr<Boxes> boxes_;
    std::unique_ptr<Game> confirmed_, shown_;
    Progress confirmedProgress_;
    std::int64_t confirmedTime_ = -1;
    Recorder recorder_;

    std::int64_t now_ = 0;
    std::int64_t holdAt_ = -1; // the game time of a box the shown game waits at
    Progress shownProgress_;
    std::size_t shownUsed_ = 0;    // the pending inputs the shown game has applied
    bool shownCurrent_ = false;    // the shown game holds every input and answer known
    std::int64_t floor_ = 0;       // no input of this machine is stamped earlier than this any more
    double carry_ = 0;             // wall time not yet a whole millisecond of game time
    std::vector<Stamped> pending_; // inputs of both players after the confirmed game, in order
    std::optional<BoxRequest> box_;

    // This machine's keys the other has not acknowledged, and its agreed messages still to send.
    std::vector<StampedKey> unacked_;
    std::uint32_t firstUnacked_ = 0;
    std::uint32_t order_ = 0;
    std::uint32_t eventsSent_ = 0;
    bool keyToSend_ = false;
    double sinceKeys_ = 1e9; // the first call sends
    std::vector<Message> reliable_;

    // What this machine heard from the other.
    std::int64_t otherFrontier_ = 0;
    std::int64_t otherLead_ = 0;
    std::uint32_t otherKeys_ = 0, otherEvents_ = 0;
    std::optional<std::pair<std::int64_t, std::uint32_t>> frontierAwaitingEvents_;

    std::map<std::uint32_t, Answer> answers_; // agreed answers by box number
    std::set<std::uint32_t> closed_;          // OK boxes this machine's player closed
    std::map<std::int64_t, std::uint64_t> ownSignatures_, otherSignatures_;
    std::int64_t desyncedAt_ = -1;
    bool otherQuit_ = false, quitting_ = false;
    std::string broken_;
    int pausedBy_ = -1;
    RollbackStats stats_;
};

// Which of the game's inputs a player may make on a network game: both may press the start button
// and pause; only the host (player 0) changes the settings.
bool mayAgree(int player, const Input& input);

// A letter of either key set as the same key of `player`'s set, or 0 for a letter of neither.
char ownKey(int player, char key);

} // namespace squeakrun
