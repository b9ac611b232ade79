// Fuzz entry point for whole games under watch: the bytes choose the difficulty, then a sequence of
// stretches of random play, menu commands, small-window edits and clicks, key presses and quiet waits.
// After every 10 ms of game time and every action the game must still satisfy bench/invariants.h; a
// breach aborts with its description, so the fuzzer keeps the input.
#include "invariants.h"

#include "game/handlers.h"
#include "game/window/headless/autoplay.h"
#include "game/window/ops.h"
#include "game/window/scheduler.h"

#include <cstdio>
#include <cstdlib>

using namespace squeakrun;

namespace {

// Game time one input may cover at most.
constexpr std::int64_t kMaxGameMs = 120000;

using Handler = void (*)(Game&);
struct Entry {
    Control Form1::*control;
    Handler handler;
};
constexpr Entry kMenu[] = {{&Form1::mnuFilePause, Form1_mnuFilePause_Click},
                           {&Form1::mnuFileSettings, Form1_mnuFileSettings_Click},
                           {&Form1::mnuFileScores, Form1_mnuFileScores_Click},
                           {&Form1::mnuFileExit, Form1_mnuFileExit_Click},
                           {&Form1::mnuHelpAbout, Form1_mnuHelpAbout_Click},
                           {&Form1::Command3, Form1_Command3_Click},
                           {&Form1::Picture2, Form1_Picture2_Click},
                           {&Form1::lblp1gas, Form1_lblp1gas_Click},
                           {&Form1::lblp2gas, Form1_lblp2gas_Click}};
constexpr char kKeys[] = "WSADQREIKJLUPOwsadqreikjlupox";

void play(const std::uint8_t* data, std::size_t size) {
    std::size_t pos = 0;
    auto next = [&]() -> unsigned { return pos < size ? data[pos++] : 0; };

    bench::ScratchFolder folder;
    bench::CountingPlatform platform(folder.path());
    platform.useDefaults = false;
    platform.answers = {"Ann", "Bob", std::string(1, char('1' + next() % 3))};
    Game g(platform, next());
    Form1_Form_Load(g);
    platform.useDefaults = true;
    bench::GameWatch watch(g, platform, false);
    watch.check();

    AutoplayOptions options;
    options.stepMs = 10;
    options.check = [&watch] { watch.check(); };
    std::int64_t end = g.clock + kMaxGameMs;
    while (pos < size && !g.exited && g.clock < end) {
        switch (next() % 8) {
        case 0:
        case 1: // a stretch of two random players, up to five seconds
            options.seed = next();
            autoplay(g, platform, next() * 20, options);
            break;
        case 2: { // a menu command or a click in the main window, when it can be chosen
            const Entry& e = kMenu[next() % std::size(kMenu)];
            const Control& c = g.ctl(e.control);
            if (c.Visible && c.Enabled) e.handler(g);
            break;
        }
        case 3: { // the small windows' buttons
            unsigned which = next() % 4;
            if (which == 0 && g.f2.Visible) Form2_Command1_Click(g);
            if (which == 1 && g.f3.Visible) Form3_cmdupdate_Click(g);
            if (which == 2 && g.f3.Visible) Form3_cmdcancel_Click(g);
            if (which == 3 && g.f4.Visible) Form4_Command1_Click(g);
            break;
        }
        case 4: // new names and difficulty in the Game Settings window
            if (g.f3.Visible) {
                Control& box = next() % 2 ? g.f3.txtp1name : g.f3.txtp2name;
                box.Text.assign(next() % 4, char('a' + next() % 26));
                g.f3.Combo1.ListIndex = static_cast<int>(next() % 3);
            }
            break;
        case 5:
        case 6: { // a key press
            char key[2] = {kKeys[next() % (sizeof kKeys - 1)], 0};
            pressKey(g, key);
            break;
        }
        case 7: { // a quiet wait, up to 2.5 s
            std::int64_t until = g.clock + next() * 10;
            while (g.clock < until && !g.exited) {
                advanceClock(g, g.clock + 10);
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
