// What the timedemo, the soak run and the tick benchmarks share: a game played in a scratch application
// folder where every box takes its default, on a platform that counts how each game ended.
#pragma once

#include "headless/headless_platform.h"
#include "headless/temp_folder.h"
#include "rules/state.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

namespace squeakrun::bench {

// A fresh application folder under TMPDIR (or /dev/shm when TMPDIR is not set), removed with its files
// at the end.
class ScratchFolder {
  public:
    ScratchFolder();
    const std::filesystem::path& path() const { return folder_.path(); }

  private:
    TempFolder folder_;
};

// The scripted platform with every box at its default and nothing logged, counting the boxes that
// announce how a game ended ("Outcome", "Tie Game!") and the comment boxes of new records.
class CountingPlatform : public HeadlessPlatform {
  public:
    explicit CountingPlatform(std::filesystem::path folder);
    Button messageBox(const std::string& text, Buttons buttons, const std::string& title) override;
    std::string inputBox(const std::string& prompt, const std::string& title,
                         const std::string& defaultAnswer) override;

    long long outcomes = 0; // outcome boxes since the program started
    long long records = 0;  // comment boxes of a new high score
    // Called with every outcome box before it closes, while the game still stands as it ended.
    std::function<void(const std::string& text, const std::string& title)> onOutcome;
};

bool isOutcomeTitle(const std::string& title);

// One run of the program: its folder, its platform and the game, started (the load handler has run and
// every start-up box took its default), waiting for the start button.
struct Session {
    explicit Session(std::uint64_t seed);
    ScratchFolder folder;
    CountingPlatform platform;
    Game game;
};

} // namespace squeakrun::bench
