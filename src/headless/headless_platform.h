// A scripted platform for tests and tools: boxes are answered from queues (or take their defaults),
// every box and every sound is logged, and the application folder is whatever folder the caller gives.
#pragma once

#include "session/script.h"
#include "window/platform.h"

#include <optional>
#include <ostream>
#include <vector>

namespace squeakrun {

class HeadlessPlatform : public Platform, public BoxAnswers {
  public:
    HeadlessPlatform(std::filesystem::path folder, std::ostream* logTo)
        : log(logTo), folder_(std::move(folder)) {}

    Button messageBox(const std::string& text, Buttons buttons, const std::string& title) override;
    std::string inputBox(const std::string& prompt, const std::string& title,
                         const std::string& defaultAnswer) override;
    std::filesystem::path appFolder() override { return folder_; }
    // Nothing to close: the game marks itself ended, and the runner reads that mark.
    void quit() override {}
    void cue(Cue cue) override;

    bool useDefaults = false; // every box takes its default, queued answers stay queued

    std::string lastMessage, lastTitle, lastPrompt;
    long long messageCount = 0, inputCount = 0;
    // The cues heard since someone last looked and emptied the list; a long run nobody listens to keeps
    // only the first few thousand.
    std::vector<Cue> heard;
    static constexpr std::size_t kHeardKept = 4096;
    std::optional<std::string> fault; // a queued reply named a button the box did not have
    std::ostream* log;                // where every box and sound is written, or nowhere

  private:
    std::filesystem::path folder_;
};

// How the runner and the tests write texts: CR, LF and backslash escaped.
std::string escapeText(std::string_view text);

} // namespace squeakrun
