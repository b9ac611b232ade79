#include "headless/net_script.h"

#include "headless/headless_platform.h"
#include "headless/looks.h"
#include "headless/temp_folder.h"
#include "net/net_peer.h"
#include "session/script.h"
#include "session/session_file.h"

#include <chrono>
#include <ctime>
#include <memory>
#include <optional>

namespace squeakrun {

namespace {

using Clock = std::chrono::steady_clock;

// A host that nobody calls for this long gives up.
constexpr std::chrono::seconds kMeetWithin{60};
// A frame waits this long for the link, so a machine that waits for the other does not spin.
constexpr std::chrono::milliseconds kFrameWait{2};
// After its last line a machine goes on speaking for this long, so the other hears where it stopped
// before it hears that it left.
constexpr std::chrono::milliseconds kLinger{500};

// Start-up asks three things in turn: player 1's name, player 2's, the difficulty. Each machine
// answers its own from the answer lines before start; the host also chooses the difficulty.
constexpr std::size_t kStartUpQuestions = 3, kDifficultyQuestion = 2;

class NetRunner {
  public:
    NetRunner(const NetSide& side, const std::string& label, std::ostream& out)
        : side_(side), out_(out), looks_(label, out, platform_, folder_.path()) {}

    ScenarioStatus run(const std::filesystem::path& file) {
        auto read = readScriptFile(file, Dialect::Test);
        if (const auto* error = std::get_if<ScriptError>(&read)) return looks_.malformed(*error);
        const Script& script = std::get<Script>(read);
        if (const auto error = unplayable(script)) return looks_.malformed(*error);
        if (const auto error = writeRecords(script, folder_.path())) return looks_.malformed(*error);
        std::optional<Introduction> me = introduce(script);
        if (!me) return looks_.status();
        if (!meet(*me)) return gone(0);
        view_ = std::make_unique<Game>(platform_, script.seed);
        looks_.watch(*view_);

        ScriptSteps steps(script);
        Step step;
        std::int64_t target = 0; // the game time the file's waits have reached
        bool started = false;
        while (steps.next(step) && looks_.status() == ScenarioStatus::Passed) {
            if (!started) {
                started = step.kind == Step::Kind::Start; // what comes before is the introduction's
                continue;
            }
            if (!play(step, target)) return gone(step.line);
        }
        finish(target);
        return looks_.status();
    }

  private:
    NetGame& game() { return *peer_->game(); }
    int player() const { return side_.hosting ? 0 : 1; }

    // The first line this machine cannot play, before anything plays.
    std::optional<ScriptError> unplayable(const Script& script) const {
        ScriptSteps steps(script);
        Step step;
        while (steps.next(step)) {
            const auto refuse = [&](const std::string& why) {
                return ScriptError{step.line, step.text, why};
            };
            if (step.kind == Step::Kind::Computer)
                return refuse("each machine's player drives their own car in a network game");
            if (step.kind == Step::Kind::Own && step.command != "print" && step.command != "dump")
                return refuse(step.command + " reaches into a game both machines must agree on");
            if (step.kind != Step::Kind::Input) continue;
            if (step.input.kind == InputKind::Key) {
                if (step.input.name.size() != 1 || !ownKey(player(), step.input.name[0]))
                    return refuse("a network game's keys are the keys of either car");
            } else if (!mayAgree(player(), step.input)) {
                return refuse("not this machine's player's to do in a network game");
            }
        }
        return std::nullopt;
    }

    // Who this machine's player is, from the answers before start; the answers past start-up's wait
    // for the boxes that come later, as the replies do.
    std::optional<Introduction> introduce(const Script& script) {
        Introduction me{{}, side_.version, script.seed, "2"};
        ScriptSteps steps(script);
        Step step;
        std::size_t asked = 0;
        while (steps.next(step) && step.kind != Step::Kind::Start) {
            if (step.kind == Step::Kind::Reply) platform_.replies.push_back(step.reply);
            if (step.kind != Step::Kind::Answer) continue;
            const std::size_t question = asked++;
            if (question >= kStartUpQuestions) {
                platform_.answers.push_back(step.answer);
            } else if (question == static_cast<std::size_t>(player())) {
                me.name = step.answer.value_or("");
            } else if (question == kDifficultyQuestion && side_.hosting && step.answer) {
                // The other machine takes no difficulty but these.
                if (*step.answer != "1" && *step.answer != "2" && *step.answer != "3") {
                    looks_.malformed(
                        ScriptError{step.line, step.text, "a network game's difficulty is 1, 2 or 3"});
                    return std::nullopt;
                }
                me.difficulty = *step.answer;
            }
        }
        return me;
    }

    // Opens the link and runs frames until the two machines have met; false when they did not.
    bool meet(const Introduction& me) {
        std::string why;
        std::unique_ptr<Link> link =
            side_.hosting ? Link::listen(side_.port, why) : Link::call(side_.host, side_.port, why);
        if (!link) {
            out_ << why << '\n';
            return false;
        }
        peer_ = std::make_unique<NetPeer>(std::move(link), side_.hosting, me, platform_);
        const auto since = Clock::now();
        while (!peer_->game() && !peer_->over() && Clock::now() - since < kMeetWithin)
            frame(0);
        if (!peer_->game() && !peer_->over())
            out_ << "Nobody joined within " << kMeetWithin.count() << " s.\n";
        return peer_->game() != nullptr;
    }

    // One frame: the link heard, `ms` of game time offered to the game, this player's boxes closed.
    void frame(double ms) {
        last_ = Clock::now();
        peer_->frame(ms, kFrameWait);
        if (!peer_->game()) return;
        const std::optional<BoxRequest>& box = game().box();
        if (!box || box->number == answered_ ||
            (box->owner != player() && box->owner != BoxRequest::kEachPlayer))
            return;
        // The scripted platform takes this player's answer from the queues as it would on one keyboard,
        // and logs the box.
        answered_ = box->number;
        if (box->input)
            game().answer(Button::OK, platform_.inputBox(box->text, box->title, box->defaultAnswer));
        else
            game().answer(platform_.messageBox(box->text, box->buttons, box->title));
    }

    // The wall time since the last frame, in ms.
    double sinceLastFrame() const {
        return std::chrono::duration<double, std::milli>(Clock::now() - last_).count();
    }

    bool play(const Step& step, std::int64_t& target) {
        switch (step.kind) {
        case Step::Kind::Answer:
            platform_.answers.push_back(step.answer);
            break;
        case Step::Kind::Reply:
            platform_.replies.push_back(step.reply);
            break;
        case Step::Kind::Wait:
            target += step.ms;
            reach(target);
            break;
        case Step::Kind::Input:
            if (step.input.kind == InputKind::Key)
                game().press(step.input.name[0]);
            else
                game().agree(step.input);
            break;
        case Step::Kind::Expect:
            if (!confirm(target + 1)) return false;
            looks_.expect(step);
            break;
        case Step::Kind::Own:
            if (!confirm(target + 1)) return false;
            if (step.command == "print")
                looks_.print(step);
            else
                looks_.writeDump(out_);
            break;
        default:
            break;
        }
        if (platform_.fault && looks_.status() == ScenarioStatus::Passed)
            looks_.malformed(step, *platform_.fault);
        return !peer_->over();
    }

    // The game follows the wall clock up to `time`, never past it: a key after a wait acts at the game
    // time the file gives it, on both machines.
    void reach(std::int64_t time) {
        while (game().now() < time && !peer_->over())
            frame(std::min(sinceLastFrame(), static_cast<double>(time - game().now())));
    }

    // The confirmed game at `moment`, once the other machine's inputs before it have arrived, into
    // view_; false when the other machine went first. A look at the file's time T confirms T + 1, so
    // the inputs both players made at T are in it.
    bool confirm(std::int64_t moment) {
        reach(moment);
        while (game().confirmedTime() < moment && !peer_->over())
            frame(0);
        if (game().confirmedTime() < moment) return false;
        static_cast<GameState&>(*view_) = game().confirmed();
        return true;
    }

    // The file played to its end: the other machine hears where this one stopped, then that it left;
    // the merged session is saved.
    void finish(std::int64_t target) {
        confirm(target + 1);
        for (const auto until = Clock::now() + kLinger; Clock::now() < until && !peer_->over();)
            frame(0);
        peer_->quit();
        if (side_.recordFolder.empty()) return;
        const std::time_t now = std::time(nullptr);
        char date[32];
        std::strftime(date, sizeof date, "%Y-%m-%d %H:%M UTC", std::gmtime(&now));
        const auto saved =
            saveNewScenarioFile(side_.recordFolder, side_.hosting ? "network-host" : "network-join",
                                game().recording(side_.version, date));
        if (saved)
            out_ << "session saved as " << saved->string() << '\n';
        else
            looks_.fail(0, "the session could not be saved in " + side_.recordFolder.string());
    }

    // The game ended before the file did (at `line`; 0: before it began), with the line its player
    // would read: the other machine refused, left, or played another game.
    ScenarioStatus gone(int line) {
        if (peer_ && !peer_->line().empty()) out_ << peer_->line() << '\n';
        looks_.fail(line,
                    line > 0 ? "the network game ended before this line" : "no network game was played");
        return looks_.status();
    }

    const NetSide& side_;
    std::ostream& out_;
    TempFolder folder_{"squeakrun-net"};
    HeadlessPlatform platform_{folder_.path(), &out_};
    ScenarioLooks looks_;
    std::unique_ptr<NetPeer> peer_;
    std::unique_ptr<Game> view_; // the confirmed game of the moment looked at
    Clock::time_point last_ = Clock::now();
    std::uint32_t answered_ = ~0u; // the last box this machine's player closed
};

} // namespace

ScenarioStatus playNetScenarioFile(const std::filesystem::path& file, const NetSide& side,
                                   std::ostream& out) {
    NetRunner runner(side, file.string(), out);
    return runner.run(file);
}

} // namespace squeakrun
