#include "net/net_game.h"

#include "net/signature.h"
#include "rules/events.h"
#include "rules/main_controls.h"
#include "rules/ticks.h"

#include <algorithm>
#include <cctype>
#include <set>

namespace squeakrun {

namespace {

// Thrown out of a handler that opens a box nobody has answered yet: the game it ran in is played again
// from its start up to the moment before, and waits there.
struct BoxWithoutAnswer {};

// Who made what the game runs now: a player's input, the clock's ticks, or start-up.
constexpr int kTicks = -1, kStartUp = -2;

// An aggregate of the game put back whole: the rules' state is a plain value.
void assign(Game& to, const Game& from) {
    static_cast<GameState&>(to) = static_cast<const GameState&>(from);
}

// Past these, the other machine is sending what no game makes: the link is not trusted further.
constexpr std::size_t kMaxPendingInputs = 4096, kMaxAnswersAhead = 64, kMaxSignaturesKept = 64;

} // namespace

// Where a game stopped because a box opened that has no answer yet.
struct NetGame::Hold {
    enum class At { StartUp, Tick, Input } at = At::Tick;
    std::int64_t time = 0; // the tick's or the input's game time
    std::size_t input = 0; // At::Input: the input's place in pending_
    BoxRequest box;
};

// What a confirmed run did, in order, for the recording: it reaches the recorder only once the run
// stands (a run that stopped at a box is played again).
struct NetGame::Logged {
    enum class Kind { Started, Input, Answer, Reply } kind = Kind::Input;
    std::int64_t time = 0;
    int player = 0;
    Input input;
    std::string text;
    Button button = Button::OK;
};

// The platform the game runs on in a network game: every box is answered from what both machines
// agreed, or stops the run; the sounds of each moment are heard once, however often it is played
// again; folders are the machine's own.
class NetGame::Boxes : public Platform {
  public:
    Boxes(Platform& outer, const NetGame& net) : outer_(outer), net_(net) {}

    // Set for each run.
    Progress* progress = nullptr;
    std::vector<Logged>* log = nullptr;
    const GameState* game = nullptr;
    int causedBy = kTicks;
    std::optional<BoxRequest> opened;
    std::int64_t heardThrough = -1;

    Button messageBox(const std::string& text, Buttons buttons, const std::string& title) override {
        BoxRequest box = request(false, buttons, text, title, {});
        if (box.owner == BoxRequest::kEachPlayer) {
            if (net_.closed_.contains(box.number)) return replied(Button::OK);
        } else if (const auto it = net_.answers_.find(box.number); it != net_.answers_.end()) {
            // Only the buttons the box has: an answer meant for another box is no answer to this one.
            const Button b = it->second.button;
            if (b == Button::Yes || b == Button::No) return replied(b);
        }
        stop(std::move(box));
    }

    std::string inputBox(const std::string& prompt, const std::string& title,
                         const std::string& defaultAnswer) override {
        BoxRequest box = request(true, Buttons::OK, prompt, title, defaultAnswer);
        const auto it = net_.answers_.find(box.number);
        if (it == net_.answers_.end()) stop(std::move(box));
        ++progress->boxes;
        if (log) log->push_back({Logged::Kind::Answer, 0, 0, {}, it->second.text, Button::OK});
        return it->second.text;
    }

    std::filesystem::path appFolder() override { return outer_.appFolder(); }
    std::filesystem::path recordFolder() override { return outer_.recordFolder(); }
    void cue(Cue cue) override {
        if (game->clock.now > heardThrough) outer_.cue(cue);
    }
    // Leaving a network game is the front end's, told to the other machine; the rules only mark it.
    void quit() override {}

  private:
    BoxRequest request(bool input, Buttons buttons, const std::string& text, const std::string& title,
                       const std::string& defaultAnswer) const {
        BoxRequest box{progress->boxes, input, buttons, text, title, defaultAnswer, 0};
        if (!input && buttons == Buttons::OK)
            box.owner = BoxRequest::kEachPlayer;
        else if (causedBy >= 0)
            box.owner = causedBy; // a Yes/No that a player's own input asked
        else if (causedBy == kTicks)
            // A tick asks only for the record's comment: it is the round's winner's to type.
            box.owner = game->players[1].score > game->players[0].score ? 1 : 0;
        return box;
    }
    Button replied(Button b) {
        ++progress->boxes;
        if (log) log->push_back({Logged::Kind::Reply, 0, 0, {}, {}, b});
        return b;
    }
    [[noreturn]] void stop(BoxRequest box) {
        opened = std::move(box);
        throw BoxWithoutAnswer{};
    }

    Platform& outer_;
    const NetGame& net_;
};

NetGame::NetGame(Platform& platform, const NetStart& start)
    : localPlayer_(start.localPlayer), boxes_(std::make_unique<Boxes>(platform, *this)),
      confirmed_(std::make_unique<Game>(*boxes_, start.seed)),
      shown_(std::make_unique<Game>(*boxes_, start.seed)) {
    // Start-up's questions were settled before the game began: the names, then the host's difficulty.
    for (std::uint32_t i = 0; i < 2; ++i)
        answers_[i] = Answer{i, Button::OK, start.names[i]};
    answers_[2] = Answer{2, Button::OK, start.difficulty};
    recorder_.begin(start.seed, *confirmed_);
    settle();
}

NetGame::~NetGame() = default;

bool NetGame::over() const {
    return desynced() || otherQuit_ || quitting_ || !broken_.empty();
}

std::int64_t NetGame::frontier() const {
    return std::max(now_, floor_);
}

bool NetGame::stalled() const {
    return now_ >= otherFrontier_ + kMaxPredictedMs;
}

double NetGame::rate() const {
    // Each side sees the other late by the same trip, so half the difference of the two leads is how
    // far this clock runs ahead.
    const double ahead = static_cast<double>((now_ - otherFrontier_) - otherLead_) / 2;
    if (ahead <= 0) return 1;
    return 1 - kMaxEasing * std::min(1.0, ahead / static_cast<double>(kStepMs));
}

void NetGame::advance(double ms) {
    if (over()) return;
    carry_ += ms * rate();
    const auto whole = static_cast<std::int64_t>(carry_);
    carry_ -= static_cast<double>(whole);
    const std::int64_t before = now_;
    std::int64_t want = now_ + whole;
    const std::int64_t cap = otherFrontier_ + kMaxPredictedMs;
    if (want > cap) {
        // Too far ahead: this machine waits for the other, and the time waited is not made up later.
        ++stats_.stalledAdvances;
        want = std::max(now_, cap);
        carry_ = 0;
    }
    now_ = want;
    settle();
    // A box waiting on the way holds this machine's time at the box: nothing it has said yet reaches
    // past it.
    if (holdAt_ >= 0 && holdAt_ < now_) now_ = std::max(before, holdAt_);
}

std::int64_t NetGame::press(char key) {
    const char own = ownKey(localPlayer_, key);
    if (!own || over()) return -1;
    const std::int64_t t = frontier();
    unacked_.push_back({static_cast<std::uint32_t>(t), order_, own});
    keyToSend_ = true;
    stamp(localPlayer_, order_++, t, Input::key(std::string(1, own)));
    settle();
    return t;
}

bool NetGame::agree(const Input& input) {
    if (!mayAgree(localPlayer_, input) || over()) return false;
    Input made = input;
    // The other machine reads the name as the message brings it.
    if (made.kind == InputKind::Type) made.text = cleanName(made.text);
    const std::int64_t t = frontier();
    reliable_.push_back(Event{static_cast<std::uint32_t>(t), order_, made});
    ++eventsSent_;
    stamp(localPlayer_, order_++, t, std::move(made));
    settle();
    return true;
}

void NetGame::answer(Button button, const std::string& text) {
    if (!box_ || over()) return;
    if (box_->owner == BoxRequest::kEachPlayer) {
        closed_.insert(box_->number);
    } else if (box_->owner == localPlayer_) {
        Answer a{box_->number, button, cleanLine(text)};
        answers_[a.box] = a;
        reliable_.push_back(std::move(a));
    } else {
        return; // the other player's box: their answer comes over the link
    }
    shownCurrent_ = false;
    settle();
}

bool NetGame::answered(const BoxRequest& box) const {
    return box.owner == BoxRequest::kEachPlayer ? closed_.contains(box.number)
                                                : answers_.contains(box.number);
}

void NetGame::quit() {
    if (!quitting_) reliable_.push_back(Quit{});
    quitting_ = true;
}

void NetGame::fail(std::string why) {
    if (broken_.empty()) broken_ = std::move(why);
}

void NetGame::stamp(int player, std::uint32_t order, std::int64_t time, Input input) {
    if (player != localPlayer_ && time < now_) {
        ++stats_.rollbacks;
        stats_.deepestMs = std::max(stats_.deepestMs, now_ - time);
        ++stats_.bySteps[std::min<std::size_t>((now_ - time) / kStepMs, stats_.bySteps.size() - 1)];
    }
    shownCurrent_ = false;
    Stamped s{time, player, order, std::move(input)};
    const auto before = [](const Stamped& a, const Stamped& b) {
        return std::tie(a.time, a.player, a.order) < std::tie(b.time, b.player, b.order);
    };
    pending_.insert(std::upper_bound(pending_.begin(), pending_.end(), s, before), std::move(s));
}

void NetGame::receive(const Message& message) {
    if (!broken_.empty()) return;
    const int other = 1 - localPlayer_;
    if (const auto* k = std::get_if<Keys>(&message)) {
        if (k->acked < firstUnacked_ || k->acked - firstUnacked_ > unacked_.size())
            return fail("The other machine acknowledged keys that were never sent.");
        unacked_.erase(unacked_.begin(), unacked_.begin() + (k->acked - firstUnacked_));
        firstUnacked_ = k->acked;
        bool complete = k->first <= otherKeys_;
        for (std::size_t i = 0; i < k->keys.size() && complete; ++i) {
            const StampedKey& key = k->keys[i];
            if (k->first + i < otherKeys_) continue; // heard before
            if (ownKey(other, key.key) != std::tolower(static_cast<unsigned char>(key.key)))
                return fail("The other machine pressed a key of this machine's player.");
            if (key.time < otherFrontier_)
                return fail("The other machine sent a key for a moment it had closed.");
            stamp(other, key.order, key.time, Input::key(std::string(1, key.key)));
            ++otherKeys_;
        }
        // Only a packet that brings every key up to its frontier moves the frontier.
        if (complete && k->frontier >= otherFrontier_) {
            if (k->events <= otherEvents_)
                otherFrontier_ = k->frontier;
            else
                frontierAwaitingEvents_ = {k->frontier, k->events};
        }
        otherLead_ = k->lead;
    } else if (const auto* e = std::get_if<Event>(&message)) {
        if (!mayAgree(other, e->input))
            return fail("The other machine made a change only the host may make.");
        if (e->time < otherFrontier_)
            return fail("The other machine sent a change for a moment it had closed.");
        stamp(other, e->order, e->time, e->input);
        ++otherEvents_;
        if (frontierAwaitingEvents_ && frontierAwaitingEvents_->second <= otherEvents_) {
            otherFrontier_ = std::max(otherFrontier_, frontierAwaitingEvents_->first);
            frontierAwaitingEvents_.reset();
        }
    } else if (const auto* a = std::get_if<Answer>(&message)) {
        if (a->box < confirmedProgress_.boxes || a->box - confirmedProgress_.boxes > kMaxAnswersAhead)
            return fail("The other machine answered a box that is not open.");
        answers_.emplace(a->box, *a);
        shownCurrent_ = false;
    } else if (const auto* s = std::get_if<Signature>(&message)) {
        otherSignatures_[s->time] = s->value;
        if (otherSignatures_.size() > kMaxSignaturesKept) otherSignatures_.erase(otherSignatures_.begin());
    } else if (std::holds_alternative<Quit>(message)) {
        otherQuit_ = true;
        return;
    } else {
        return fail("The other machine began a new game in the middle of this one.");
    }
    if (pending_.size() > kMaxPendingInputs)
        return fail("The other machine sent more inputs than a game makes.");
    settle();
}

std::vector<Message> NetGame::outgoing(double ms) {
    std::vector<Message> out = std::move(reliable_);
    reliable_.clear();
    sinceKeys_ += ms;
    // A new key goes at once; otherwise a packet every kKeysEvery says where this machine stands
    // and that it is still there.
    if (!keyToSend_ && sinceKeys_ < static_cast<double>(kKeysEvery.count())) return out;
    keyToSend_ = false;
    sinceKeys_ = 0;
    Keys k;
    k.frontier = static_cast<std::uint32_t>(frontier());
    k.lead = static_cast<std::int32_t>(now_ - otherFrontier_);
    k.acked = otherKeys_;
    k.first = firstUnacked_;
    k.events = eventsSent_;
    const std::size_t n = std::min(unacked_.size(), kMaxKeysPerPacket);
    k.keys.assign(unacked_.begin(), unacked_.begin() + static_cast<std::ptrdiff_t>(n));
    // Keys left for the next packet: every input before the first of them is known, no more.
    if (n < unacked_.size()) k.frontier = unacked_[n].time;
    out.emplace_back(std::move(k));
    return out;
}

std::optional<NetGame::Hold> NetGame::play(Game& g, Progress& p, Reach reach, std::vector<Logged>* log,
                                           std::size_t& used, const std::optional<Hold>& stopAt) {
    Boxes& b = *boxes_;
    b.progress = &p;
    b.log = log;
    b.game = &g;
    Hold hold;
    const auto attempt = [&](Hold::At at, auto&& step) {
        try {
            step();
            return true;
        } catch (const BoxWithoutAnswer&) {
            hold.at = at;
            hold.time = g.clock.now; // while a tick runs, the clock reads its due time
            hold.box = *b.opened;
            b.heardThrough = std::max(b.heardThrough, g.clock.now - 1);
            return false;
        }
    };

    if (!p.started) {
        if (stopAt) return stopAt;
        b.causedBy = kStartUp;
        if (!attempt(Hold::At::StartUp, [&] { startUp(g); })) return hold;
        p.started = true;
        if (log) log->push_back({Logged::Kind::Started, 0, 0, {}, {}, Button::OK});
    }
    const bool stopAtTick = stopAt && stopAt->at == Hold::At::Tick;
    const auto reached = [&](std::int64_t t) {
        return t < reach.until || (t == reach.until && reach.inputsOfUntil);
    };
    for (; used < pending_.size() && reached(pending_[used].time); ++used) {
        const Stamped& s = pending_[used];
        if (stopAtTick && stopAt->time <= s.time) break;
        b.causedBy = kTicks;
        if (!attempt(Hold::At::Tick, [&] { advanceClock(g, s.time); })) return hold;
        if (stopAt && stopAt->at == Hold::At::Input && stopAt->input == used) return stopAt;
        b.causedBy = s.player;
        const bool applied = attempt(Hold::At::Input, [&] {
            const std::optional<Input> did = applyInput(g, s.input);
            if (did && log) log->push_back({Logged::Kind::Input, s.time, s.player, *did, {}, Button::OK});
        });
        if (!applied) {
            hold.time = s.time;
            hold.input = used;
            return hold;
        }
    }
    b.causedBy = kTicks;
    if (!attempt(Hold::At::Tick, [&] { advanceClock(g, stopAtTick ? stopAt->time - 1 : reach.until); }))
        return hold;
    b.heardThrough = std::max(b.heardThrough, g.clock.now);
    return stopAt;
}

std::optional<NetGame::Hold> NetGame::playFrom(const Game& from, const Progress& fromProgress, Game& g,
                                               Progress& p, Reach reach, std::vector<Logged>* log,
                                               std::size_t& used) {
    assign(g, from);
    p = fromProgress;
    used = 0;
    const std::optional<Hold> hold = play(g, p, reach, log, used, std::nullopt);
    if (hold) {
        // The run that met the box is spoilt from the box on: play the same way again, up to just before.
        assign(g, from);
        p = fromProgress;
        used = 0;
        if (log) log->clear();
        play(g, p, reach, log, used, hold);
    }
    return hold;
}

void NetGame::settle() {
    if (desynced() || !broken_.empty()) return;
    const std::int64_t target = std::min(frontier(), otherFrontier_);
    // A box still waiting for its answer holds the confirmed game; playing up to it again would only
    // run the moment before it again (and save the record files again).
    while (confirmedTime_ < target && !(box_ && !answered(*box_))) {
        const std::int64_t nextSignature = (confirmedTime_ / kSignatureEveryMs + 1) * kSignatureEveryMs;
        const std::int64_t until = std::min(target, nextSignature);
        if (!confirmTo(until)) break;
        if (until == nextSignature) sign(until);
    }
    compareSignatures();
    predict();
}

bool NetGame::confirmTo(std::int64_t until) {
    Progress p;
    std::size_t used = 0;
    std::vector<Logged> log;
    const std::optional<Hold> hold =
        playFrom(*confirmed_, confirmedProgress_, *shown_, p, {until, false}, &log, used);
    std::swap(confirmed_, shown_);
    shownCurrent_ = false;
    confirmedProgress_ = p;
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(used));
    for (const Logged& l : log) {
        switch (l.kind) {
        case Logged::Kind::Started:
            recorder_.started();
            break;
        case Logged::Kind::Input:
            recorder_.input(l.input, l.time);
            if (l.input.kind == InputKind::Menu && l.input.name == controlName(&MainWindow::pauseEntry))
                pausedBy_ = l.player;
            break;
        case Logged::Kind::Answer:
            recorder_.answered(l.text);
            break;
        case Logged::Kind::Reply:
            recorder_.replied(l.button);
            break;
        }
    }
    // Answers of boxes behind the confirmed game are spent.
    answers_.erase(answers_.begin(), answers_.lower_bound(p.boxes));
    closed_.erase(closed_.begin(), closed_.lower_bound(p.boxes));
    box_.reset();
    if (hold) {
        box_ = hold->box;
        return false;
    }
    confirmedTime_ = until;
    return true;
}

void NetGame::predict() {
    if (shownCurrent_) {
        // Nothing new since the last frame but time: the shown game plays on from where it stands.
        if (holdAt_ >= 0) return;
        Progress p = shownProgress_;
        std::size_t used = shownUsed_;
        if (!play(*shown_, p, {now_, true}, nullptr, used, std::nullopt)) {
            shownProgress_ = p;
            shownUsed_ = used;
            return;
        }
    }
    const std::optional<Hold> hold =
        playFrom(*confirmed_, confirmedProgress_, *shown_, shownProgress_, {now_, true}, nullptr, shownUsed_);
    shownCurrent_ = true;
    holdAt_ = -1;
    if (!hold) return;
    holdAt_ = hold->time;
    // Whatever this machine's player does while the box waits comes after it.
    floor_ = std::max(floor_, hold->at == Hold::At::Input ? hold->time + 1 : hold->time);
}

void NetGame::sign(std::int64_t time) {
    const std::uint64_t value = gameSignature(*confirmed_);
    ownSignatures_[time] = value;
    if (ownSignatures_.size() > kMaxSignaturesKept) ownSignatures_.erase(ownSignatures_.begin());
    reliable_.push_back(Signature{static_cast<std::uint32_t>(time), value});
}

void NetGame::compareSignatures() {
    for (const auto& [time, value] : otherSignatures_) {
        const auto own = ownSignatures_.find(time);
        if (own != ownSignatures_.end() && own->second != value) {
            desyncedAt_ = time;
            return;
        }
    }
}

std::string NetGame::recording(std::string_view version, std::string_view date) const {
    return recorder_.scenario(*confirmed_, version, date);
}

bool mayAgree(int player, const Input& input) {
    const auto is = [&](InputKind kind, Control MainWindow::*member) {
        return input.kind == kind && input.name == controlName(member);
    };
    if (is(InputKind::Click, &MainWindow::startButton) || is(InputKind::Menu, &MainWindow::pauseEntry))
        return true;
    if (player != 0) return false;
    // The host's Game Settings: the entry, then the window's boxes, list and buttons.
    return is(InputKind::Menu, &MainWindow::settingsEntry) ||
           (input.kind != InputKind::Menu && input.name.starts_with("Form3."));
}

char ownKey(int player, char key) {
    const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(key)));
    for (const PlayerRow& row : kPlayers) {
        const std::size_t role = row.keys.find(upper);
        if (upper != 0 && role != std::string_view::npos)
            return static_cast<char>(std::tolower(static_cast<unsigned char>(kPlayers[player].keys[role])));
    }
    return 0;
}

} // namespace squeakrun
