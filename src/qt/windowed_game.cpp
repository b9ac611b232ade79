#include "qt/windowed_game.h"

#include "qt/computer_choice.h"
#include "qt/key_bindings.h"
#include "qt/qt_platform.h"
#include "rules/events.h"

#include <random>

namespace squeakrun::qt {

std::uint64_t freshSeed() {
    std::random_device entropy;
    return ((static_cast<std::uint64_t>(entropy()) << 32) ^ entropy()) & ((1ull << 48) - 1);
}

WindowedGame::WindowedGame(const GameParts& parts)
    : recorder_(parts.recorded ? std::make_unique<Recorder>() : nullptr),
      recording_(recorder_ ? std::make_unique<RecordingPlatform>(parts.platform, *recorder_) : nullptr),
      boxes_(parts.boxes), game(recording_ ? *recording_ : parts.platform, parts.seed),
      clock(game, parts.boxes),
      window(game, parts.pictures ? *parts.pictures : parts.platform, clock, parts.seed) {
    if (boxes_) {
        boxes_->setDialogParent(&window);
        boxes_->setBeforeBox([this] { window.followModel(); });
        boxes_->setKeyNames([this](char letter) { return window.keys().keyName(letter); });
    }
    if (!recorder_) return;
    recorder_->begin(parts.seed, game);
    clock.setInputObserver([this](const Input& input, std::int64_t now) { recorder_->input(input, now); });
    // The Options menu's choice of drivers is part of the session too.
    QObject::connect(&window.computer(), &ComputerChoice::seatChanged, &window,
                     [this](int player, std::optional<Skill> skill) {
                         recorder_->seated({player, skill}, game.clock.now);
                     });
}

WindowedGame::~WindowedGame() {
    // The platform may outlive the window it showed the game in.
    if (boxes_) {
        boxes_->setBeforeBox({});
        boxes_->setKeyNames({});
    }
}

void WindowedGame::startUp() {
    clock.runEvent([this](Game& g) {
        squeakrun::startUp(g);
        if (recorder_) recorder_->started();
    });
}

} // namespace squeakrun::qt
