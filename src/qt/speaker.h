// The game's sounds on a desktop: each cue's sound file is loaded once at start and played on a
// thread of the sounds' own, so that talking to the sound server never holds up the game.
#pragma once

#include "window/platform.h"

#include <QThread>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <memory>

namespace squeakrun::qt {

class Voices;

// Ends a thread's event loop and gives it `grace` to finish. A thread still busy then (a sound server
// that hangs) is left to run until the process ends, never killed: it may hold locks that the rest of
// the process still takes on its way out. True when it finished; `thread` is empty either way.
bool finishOrLeave(std::unique_ptr<QThread>& thread, std::chrono::milliseconds grace);

class Speaker {
  public:
    // Loads every cue's sound from `folder` ("crash.wav" and so on). With no sound device, a file
    // missing or unreadable, or the sound server going away later, the game plays on silently and
    // says so once on stderr; the sound thread never shows a box.
    explicit Speaker(const std::filesystem::path& folder);
    ~Speaker();
    Speaker(const Speaker&) = delete;
    Speaker& operator=(const Speaker&) = delete;

    // Returns at once: the sound thread starts the sound. Nothing sounds while muted.
    void play(Cue cue);
    void setMuted(bool muted) { muted_ = muted; }
    bool muted() const { return muted_; }

    // The player's choice of sound on or off, kept between runs in the player's config folder (on
    // unless the player turned it off).
    static bool chosenOn();
    static void choose(bool on);

  private:
    std::unique_ptr<QThread> thread_;
    Voices* voices_; // lives on thread_, which deletes it when it finishes
    std::atomic<bool> muted_{false};
};

} // namespace squeakrun::qt
