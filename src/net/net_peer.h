// One machine of a network game from the first packet to the last: the two machines introduce
// themselves (protocol number, game version, names; the host adds the seed, the difficulty and its
// stored records), then play the game over the link, frame by frame, and say in one line what the
// players must know: a refusal, "Waiting for Bob…", "Bob left the game".
#pragma once

#include "net/link.h"
#include "net/net_game.h"

#include <array>
#include <chrono>
#include <filesystem>
#include <memory>
#include <string>

namespace squeakrun {

// Who this machine's player is and, on the host, the game both machines play.
struct Introduction {
    std::string name;
    std::string version; // the game's: both machines must play the same rules
    // The host's only.
    std::uint64_t seed = 1;
    std::string difficulty = "2";
};

// What became of a record of a network game in this machine's own record files.
enum class KeptRecord { Lower, Kept, Unsaved };
// A record this machine's network game stored (the texts of kRecordFiles), kept in `own` platform's
// record files too when it reaches the high score stored there, as a record made on one keyboard would.
KeptRecord keepIfRecord(const std::array<std::string, 3>& stored, Platform& own);

class NetPeer {
  public:
    // `hosting`: this machine listens on `link`, plays player 1 and chooses the game. `platform` gives
    // the game its folders and sounds; the host's stored records are the game's on both machines.
    NetPeer(std::unique_ptr<Link> link, bool hosting, Introduction me, Platform& platform);
    ~NetPeer();

    // One frame: hears the link (waiting up to `wait` for it), lets `ms` of wall time pass in the game
    // and sends what the game has to say.
    void frame(double ms, std::chrono::milliseconds wait = {});
    // This machine leaves: the other hears at once.
    void quit();

    // The game, once both machines have met; null before.
    NetGame* game() { return game_.get(); }
    const NetGame* game() const { return game_.get(); }
    const std::string& otherName() const { return otherName_; }
    // What the players must read now, or empty text.
    std::string line() const;
    // Nothing more will happen: refused, left, or the games differed.
    bool over() const;
    const Link& link() const { return *link_; }

  private:
    void hear(const Message& message);
    // `fromSent`: the game plays from the records as sent rather than from this machine's own files.
    void begin(const HostSetup& setup, bool fromSent);
    // A game that plays from the records as sent keeps them apart; a new one goes to this machine's files.
    void keepNewRecord();

    std::unique_ptr<Link> link_;
    bool hosting_;
    Introduction me_;
    Platform& platform_;
    std::unique_ptr<Platform> records_; // the records as sent, when the game plays from them
    std::filesystem::path recordsFolder_;
    std::array<std::string, 3> seenRecords_; // the records in recordsFolder_ when last looked at
    std::string unsaved_;                    // why the last record could not be kept, if it could not
    std::unique_ptr<NetGame> game_;
    std::string otherName_, refused_;
    bool introduced_ = false;
    std::chrono::steady_clock::time_point sent_;
};

} // namespace squeakrun
