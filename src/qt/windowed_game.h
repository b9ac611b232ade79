// The game in its window, put together in one place: the game on its platform, the clock driver that
// keeps it at the wall clock, the window that shows it and lets the players' inputs in, and, when the
// session is recorded, the recorder that hears every input, box answer and change of seats. The game,
// watching a replay, the real-time bench and the widget tests all build their window here.
#pragma once

#include "qt/clock_driver.h"
#include "qt/main_window.h"
#include "rules/state.h"
#include "session/recorder.h"

#include <cstdint>
#include <memory>

namespace squeakrun::qt {

class QtPlatform;

// What a game in its window is made of.
struct GameParts {
    Platform& platform; // the game's boxes, folders and sounds
    std::uint64_t seed;
    // The real boxes the platform opens, which stop the clock while open, get the window as their
    // parent, and show the window as the game stands when they open; null for a scripted platform.
    QtPlatform* boxes = nullptr;
    Platform* pictures = nullptr; // whose folder the window's pictures come from, when not the platform's
    bool recorded = false;        // the session is recorded from the start
};

// A new game's seed, from the system's entropy, within what a scenario line says exactly.
std::uint64_t freshSeed();

class WindowedGame {
    // Made before the game, which plays on the recording platform.
    std::unique_ptr<Recorder> recorder_;
    std::unique_ptr<RecordingPlatform> recording_;
    QtPlatform* boxes_;

  public:
    explicit WindowedGame(const GameParts& parts);
    ~WindowedGame();
    WindowedGame(const WindowedGame&) = delete;
    WindowedGame& operator=(const WindowedGame&) = delete;

    // Start-up (the names and the difficulty asked), as the window's first event.
    void startUp();
    // The session so far, or null when it is not recorded.
    const Recorder* recorder() const { return recorder_.get(); }

    Game game;
    ClockDriver clock;
    GameWindow window;
};

} // namespace squeakrun::qt
