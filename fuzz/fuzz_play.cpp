// Fuzz entry point for whole games under watch: the bytes choose the difficulty, then a sequence of
// stretches of random play, menu commands, small-window edits and clicks, key presses and quiet waits.
// After every 10 ms of game time and every action the game must still satisfy bench/invariants.h; a
// breach aborts with its description, so the fuzzer keeps the input.
#include "invariants.h"

#include "headless/autoplay.h"
#include "rules/events.h"
#include "rules/key_box.h"
#include "rules/ticks.h"

#include <cstdio>
#include <cstdlib>

using namespace squeakrun;

namespace {

// Game time one input may cover at most.
constexpr std::int64_t kMaxGameMs = 120000;

using Handler = void (*)(Game&);
struct Entry {
    Control MainWindow::*control;
    Handler handler;
};
constexpr Entry kMenu[] = {
    {&MainWindow::pauseEntry, choosePause},           {&MainWindow::settingsEntry, chooseGameSettings},
    {&MainWindow::highScoresEntry, chooseHighScores}, {&MainWindow::exitEntry, chooseExit},
    {&MainWindow::aboutEntry, chooseAbout},           {&MainWindow::startButton, pressStartButton},
    {&MainWindow::playfield, clickPlayfield},         {&MainWindow::player1Gas, clickPlayer1Gas},
    {&MainWindow::player2Gas, clickPlayer2Gas}};
constexpr char kKeys[] = "WSADQREIKJLUPOwsadqreikjlupox";

void play(const std::uint8_t* data, std::size_t size) {
    std::size_t pos = 0;
    auto next = [&]() -> unsigned { return pos < size ? data[pos++] : 0; };

    bench::ScratchFolder folder;
    bench::CountingPlatform platform(folder.path());
    platform.useDefaults = false;
    platform.answers = {"Ann", "Bob", std::string(1, char('1' + next() % 3))};
    Game g(platform, next());
    startUp(g);
    platform.useDefaults = true;
    bench::GameWatch watch(g, platform, false);
    watch.check();

    AutoplayOptions options;
    options.stepMs = 10;
    options.check = [&watch] { watch.check(); };
    std::int64_t end = g.clock.now + kMaxGameMs;
    while (pos < size && !g.exited && g.clock.now < end) {
        switch (next() % 8) {
        case 0:
        case 1: // a stretch of two random players, up to five seconds
            options.seed = next();
            autoplay(g, platform, next() * 20, options);
            break;
        case 2: { // a menu command or a click in the main window, when it can be chosen
            const Entry& e = kMenu[next() % std::size(kMenu)];
            const Control& c = g.control(e.control);
            if (c.visible && c.enabled) e.handler(g);
            break;
        }
        case 3: { // the small windows' buttons
            unsigned which = next() % 4;
            if (which == 0 && g.about.visible) closeAbout(g);
            if (which == 1 && g.settings.visible) applySettings(g);
            if (which == 2 && g.settings.visible) cancelSettings(g);
            if (which == 3 && g.scores.visible) closeHighScores(g);
            break;
        }
        case 4: // new names and difficulty in the Game Settings window
            if (g.settings.visible) {
                Control& box = next() % 2 ? g.settings.player1NameBox : g.settings.player2NameBox;
                box.text.assign(next() % 4, char('a' + next() % 26));
                g.settings.difficultyList.listIndex = static_cast<int>(next() % 3);
            }
            break;
        case 5:
        case 6: { // a key press
            char key[2] = {kKeys[next() % (sizeof kKeys - 1)], 0};
            pressKey(g, key);
            break;
        }
        case 7: { // a quiet wait, up to 2.5 s
            std::int64_t until = g.clock.now + next() * 10;
            while (g.clock.now < until && !g.exited) {
                advanceClock(g, g.clock.now + 10);
                watch.check();
            }
            break;
        }
        }
        watch.check();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        play(data, size);
    } catch (const bench::Breach& breach) {
        std::fprintf(stderr, "BREACH %s\n", breach.what.c_str());
        std::abort();
    }
    return 0;
}
