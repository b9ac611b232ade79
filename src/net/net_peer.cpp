#include "net/net_peer.h"

#include "records/record_file.h"
#include "rules/saved_records.h"
#include "session/recorder.h"
#include "session/session_file.h"
#include "window/numbers.h"

#include <stdlib.h>

namespace squeakrun {

namespace {

// A game that reads and saves the records of this game in a folder of its own, which holds the host's
// records as they were sent: the joiner's always, and the host's when one of its records was too long
// to send whole. Both games start from the same high score and show the same texts.
class HostsRecords : public Platform {
  public:
    HostsRecords(Platform& outer, std::filesystem::path folder) : outer_(outer), folder_(std::move(folder)) {}
    Button messageBox(const std::string& text, Buttons buttons, const std::string& title) override {
        return outer_.messageBox(text, buttons, title);
    }
    std::string inputBox(const std::string& prompt, const std::string& title,
                         const std::string& defaultAnswer) override {
        return outer_.inputBox(prompt, title, defaultAnswer);
    }
    std::filesystem::path appFolder() override { return folder_; }
    void cue(Cue cue) override { outer_.cue(cue); }
    void quit() override { outer_.quit(); }

  private:
    Platform& outer_;
    std::filesystem::path folder_;
};

std::string nameOr(std::string name, int player) {
    name = cleanName(name);
    return name.empty() ? "Player " + std::to_string(player + 1) : name;
}

std::array<std::string, 3> recordsIn(Platform& platform) {
    Game reader(platform, 1);
    std::array<std::string, 3> texts;
    for (std::size_t i = 0; i < kRecordFiles.size(); ++i)
        texts[i] = loadRecord(reader, kRecordFiles[i]);
    return texts;
}

} // namespace

KeptRecord keepIfRecord(const std::array<std::string, 3>& stored, Platform& own) {
    // Reaching the high score exactly counts as beating it, as at the end of any game.
    if (leadingNumber(stored[0]) < leadingNumber(recordsIn(own)[0])) return KeptRecord::Lower;
    std::error_code error; // a folder that cannot be made fails the saves below
    std::filesystem::create_directories(own.recordFolder(), error);
    bool kept = true;
    for (std::size_t i = 0; i < kRecordFiles.size(); ++i)
        kept = saveRecordFile(own.recordFolder() / kRecordFiles[i], stored[i]) && kept;
    return kept ? KeptRecord::Kept : KeptRecord::Unsaved;
}

NetPeer::NetPeer(std::unique_ptr<Link> link, bool hosting, Introduction me, Platform& platform)
    : link_(std::move(link)), hosting_(hosting), me_(std::move(me)), platform_(platform) {
    me_.name = nameOr(me_.name, hosting_ ? 0 : 1);
}

NetPeer::~NetPeer() {
    std::error_code ignored;
    if (!recordsFolder_.empty()) std::filesystem::remove_all(recordsFolder_, ignored);
}

void NetPeer::frame(double ms, std::chrono::milliseconds wait) {
    if (!hosting_ && !introduced_ && link_->connected()) {
        link_->send(Hello{kProtocolNumber, me_.version, me_.name});
        introduced_ = true;
    }
    const bool boxWasOpen = game_ && game_->box();
    for (const Message& m : link_->receive(wait))
        hear(m);
    if (!game_ || over()) return;
    game_->advance(ms);
    // A record is whole (score, name, comment) once the boxes that ask for it are closed.
    if (records_ && boxWasOpen && !game_->box()) keepNewRecord();
    // The packets keep the wall clock's pace, whatever the game's time does.
    const auto now = std::chrono::steady_clock::now();
    for (const Message& m : game_->outgoing(std::chrono::duration<double, std::milli>(now - sent_).count()))
        link_->send(m);
    sent_ = now;
}

void NetPeer::quit() {
    if (!game_) return;
    game_->quit();
    for (const Message& m : game_->outgoing(0))
        link_->send(m);
    link_->receive();
}

void NetPeer::hear(const Message& message) {
    if (const auto* hello = std::get_if<Hello>(&message)) {
        if (!otherName_.empty()) return;
        otherName_ = nameOr(hello->name, hosting_ ? 1 : 0);
        const Hello mine{kProtocolNumber, me_.version, me_.name};
        if (hello->protocol != kProtocolNumber || hello->version != me_.version) {
            refused_ = "The other machine plays version " + hello->version + " of the game and this one " +
                       me_.version + "; both need the same.";
            if (hosting_) link_->send(mine); // so that the joiner can say so too
            return;
        }
        if (!hosting_) return;
        HostSetup setup{me_.seed, me_.difficulty, recordsIn(platform_)};
        bool cut = false;
        for (std::string& record : setup.records) {
            cut = cut || record.size() > kMaxRecordBytes;
            record.resize(std::min(record.size(), kMaxRecordBytes));
        }
        link_->send(mine);
        link_->send(setup);
        begin(setup, cut);
    } else if (const auto* setup = std::get_if<HostSetup>(&message)) {
        if (!hosting_ && !game_ && !otherName_.empty() && refused_.empty()) begin(*setup, true);
    } else if (game_) {
        game_->receive(message);
    }
}

void NetPeer::begin(const HostSetup& setup, bool fromSent) {
    const int local = hosting_ ? 0 : 1;
    Platform* platform = &platform_;
    if (fromSent) {
        std::string pattern = (std::filesystem::temp_directory_path() / "squeakrun-net-XXXXXX").string();
        if (mkdtemp(pattern.data())) recordsFolder_ = pattern;
        for (std::size_t i = 0; i < kRecordFiles.size(); ++i)
            if (!setup.records[i].empty())
                writeStoredRecord(recordsFolder_, {std::string(kRecordFiles[i]), setup.records[i], false});
        records_ = std::make_unique<HostsRecords>(platform_, recordsFolder_);
        seenRecords_ = recordsIn(*records_);
        platform = records_.get();
    }
    NetStart start{local, setup.seed, {}, setup.difficulty};
    start.names[local] = me_.name;
    start.names[1 - local] = otherName_;
    game_ = std::make_unique<NetGame>(*platform, start);
}

void NetPeer::keepNewRecord() {
    std::array<std::string, 3> now = recordsIn(*records_);
    if (now == seenRecords_) return;
    seenRecords_ = std::move(now);
    // Said in the game's line: a box of this machine's own would stand outside the game both play.
    unsaved_ = keepIfRecord(seenRecords_, platform_) == KeptRecord::Unsaved
                   ? "The high score could not be saved in " + platform_.recordFolder().string() + "."
                   : "";
}

std::string NetPeer::line() const {
    if (!refused_.empty()) return refused_;
    if (!game_) return link_->closed();
    if (game_->desynced())
        return "The two machines' games went apart at game time " + std::to_string(game_->desyncedAt()) +
               " ms; the game stops.";
    if (!game_->broken().empty()) return game_->broken();
    if (game_->otherQuit() || !link_->closed().empty() || link_->silence() > kGoneAfter)
        return otherName_ + " left the game";
    if (link_->silence() > kWaitAfter) return "Waiting for " + otherName_ + "\u2026";
    return unsaved_;
}

bool NetPeer::over() const {
    if (!refused_.empty() || !link_->closed().empty()) return true;
    // A host may wait for its joiner as long as its player likes; a game in play waits kGoneAfter.
    return game_ && (link_->silence() > kGoneAfter || game_->desynced() || !game_->broken().empty() ||
                     game_->otherQuit());
}

} // namespace squeakrun
