#include "harness.h"

#include "rules/events.h"

#include <cstdlib>
#include <stdexcept>
#include <unistd.h>

namespace squeakrun::bench {

namespace {
// Where scratch folders go: TMPDIR when it is set, else a RAM folder when the system has one. Every new
// record is flushed to disk three times over, which on a busy disk can take longer than the hour of play
// itself; timings here are meant to be of the game.
std::filesystem::path scratchBase() {
    std::error_code ec;
    if (!std::getenv("TMPDIR") && std::filesystem::is_directory("/dev/shm", ec)) return "/dev/shm";
    return std::filesystem::temp_directory_path();
}
} // namespace

ScratchFolder::ScratchFolder() : folder_("squeakrun-bench", scratchBase()) {
    if (folder_.path().empty())
        throw std::runtime_error("cannot make a scratch folder in " + scratchBase().string());
}

bool isOutcomeTitle(const std::string& title) {
    return title == "Outcome" || title == "Tie Game!";
}

CountingPlatform::CountingPlatform(std::filesystem::path folder)
    : HeadlessPlatform(std::move(folder), nullptr) {
    useDefaults = true;
}

Button CountingPlatform::messageBox(const std::string& text, Buttons buttons, const std::string& title) {
    if (isOutcomeTitle(title)) {
        ++outcomes;
        if (onOutcome) onOutcome(text, title);
    }
    return HeadlessPlatform::messageBox(text, buttons, title);
}

std::string CountingPlatform::inputBox(const std::string& prompt, const std::string& title,
                                       const std::string& defaultAnswer) {
    if (title == "Congratulations!") ++records;
    return HeadlessPlatform::inputBox(prompt, title, defaultAnswer);
}

Session::Session(std::uint64_t seed) : platform(folder.path()), game(platform, seed) {
    startUp(game);
}

} // namespace squeakrun::bench
