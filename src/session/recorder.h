// The recording of a session in the window, kept as the scenario lines that play it again from
// start-up: the seed, the record files as the game read them, every box's answer, and each input at
// its game time. A line is a few bytes, so a ten-minute session stays well under 1 MB.
#pragma once

#include "session/inputs.h"
#include "window/platform.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace squeakrun {

// The record files a session starts from.
extern const std::array<std::string_view, 3> kRecordFiles;

class Recorder {
  public:
    // The session starts from this seed and these record files, as the game reads them now (before
    // start-up).
    void begin(std::uint64_t seed, Game& g);
    // Start-up runs now.
    void started();
    // An input at game time `now`, once applied (applyInput's answer).
    void input(const Input& input, std::int64_t now);
    // The computer took a car over, or gave it back, at game time `now`.
    void seated(const SeatChange& change, std::int64_t now);
    // A box closed with this answer or button.
    void answered(const std::string& answer);
    void replied(Button button);

    // The whole session as a scenario file, for the game as it stands: a header comment, every line so
    // far, the time since the last input, and what the players see last as expect lines.
    std::string scenario(const Game& g, std::string_view version, std::string_view date) const;

    // Bytes held, for the cost of recording.
    std::size_t size() const { return lines_.capacity() + pending_.capacity(); }

  private:
    void flushAnswers();
    // A line that happened at game time `now`, after the wait since the last one.
    void step(const std::string& line, std::int64_t now);

    std::string lines_;   // every line up to the last input
    std::string pending_; // the answers since then: they go before the next step
    std::int64_t last_ = 0;
};

// The names and texts of what the players see last (scores, lives, gas, the stored high score), as
// expect lines say them.
std::vector<std::pair<std::string, std::string>> shownAtEnd(const Game& g);

// Platform that records each box's answer while another platform answers it.
class RecordingPlatform : public Platform {
  public:
    RecordingPlatform(Platform& inner, Recorder& recorder) : inner_(inner), recorder_(recorder) {}
    Button messageBox(const std::string& text, Buttons buttons, const std::string& title) override;
    std::string inputBox(const std::string& prompt, const std::string& title,
                         const std::string& defaultAnswer) override;
    std::filesystem::path appFolder() override { return inner_.appFolder(); }
    std::filesystem::path recordFolder() override { return inner_.recordFolder(); }
    void cue(Cue cue) override { inner_.cue(cue); }
    void quit() override { inner_.quit(); }
    std::string keyName(char letter) override { return inner_.keyName(letter); }

  private:
    Platform& inner_;
    Recorder& recorder_;
};

} // namespace squeakrun
