// The player table, the difficulty table, and the game as it stands before start-up runs.
#include "rules/state.h"

#include "rules/ticks.h"

namespace squeakrun {

const std::array<PlayerRow, 2> kPlayers = {{
    {
        .number = 1,
        .car = &MainWindow::player1Car,
        .trap = &MainWindow::player1Trap,
        .cheese = &MainWindow::player1Cheese,
        .slick = &MainWindow::player1Slick,
        .nameLabel = &MainWindow::player1Name,
        .scoreLabel = &MainWindow::player1Score,
        .gasLabel = &MainWindow::player1Gas,
        .livesLabel = &MainWindow::player1Lives,
        .stockLabel = &MainWindow::player1Stock,
        .deviceLabel = &MainWindow::player1Device,
        .countdownLabel = &MainWindow::player1Countdown,
        .gauge = &MainWindow::player1Gauge,
        .carPrefix = "badmouse",
        .keys = "WSADQRE",
        .startLeft = 1440,
        .startTop = 2040,
        .crashPicture = "bcrash.gif",
        .cheeseCrashPicture = "bcrashc.gif",
        .cheeseCrashSlowsAtFloor = false,
        .slickExtraTankGasCut = 0,
        .stationExitTop = 1440,
        .aloneInUpgradePicture = "station11.gif",
        .reviveClearsCheeseCrateOf = 1,
        .reviveClearsJamJarOf = 0,
        .carCrashMessage = " is GAME OVER! HAHAHA!!",
        .gasStationCrash = {"Ouch! ", " hit the station!"},
        .upgradeStationCrash = {"Hehe, ", " just wrecked his car!"},
    },
    {
        .number = 2,
        .car = &MainWindow::player2Car,
        .trap = &MainWindow::player2Trap,
        .cheese = &MainWindow::player2Cheese,
        .slick = &MainWindow::player2Slick,
        .nameLabel = &MainWindow::player2Name,
        .scoreLabel = &MainWindow::player2Score,
        .gasLabel = &MainWindow::player2Gas,
        .livesLabel = &MainWindow::player2Lives,
        .stockLabel = &MainWindow::player2Stock,
        .deviceLabel = &MainWindow::player2Device,
        .countdownLabel = &MainWindow::player2Countdown,
        .gauge = &MainWindow::player2Gauge,
        .carPrefix = "mouse",
        .keys = "IKJLUPO",
        .startLeft = 5160,
        .startTop = 2040,
        .crashPicture = "crash.gif",
        .cheeseCrashPicture = "crashc.gif",
        .cheeseCrashSlowsAtFloor = true,
        .slickExtraTankGasCut = 5,
        .stationExitTop = 3000,
        .aloneInUpgradePicture = "station12.gif",
        .reviveClearsCheeseCrateOf = 0,
        .reviveClearsJamJarOf = 1,
        .carCrashMessage = " is seeing light at the end of the tunnel...",
        .gasStationCrash = {"Too bad, ", " ran into the station!"},
        .upgradeStationCrash = {"Phew, ", " sure messed up his car!"},
    },
}};

const std::array<Difficulty, 3> kDifficulties = {{
    {"Easy", 5, 30, 50},
    {"Average", 4, 25, 80},
    {"Hard", 3, 20, 100},
}};

namespace {
template <class Window, std::size_t N>
void startFrom(Window& window, const WindowControl<Window> (&controls)[N]) {
    for (const WindowControl<Window>& row : controls)
        window.*row.member = row.design.control();
}
} // namespace

GameState::GameState(std::uint64_t seed) : rng(seed) {
    for (const MainControl& row : kMainControls)
        window.*row.member = row.design.control();

    for (int i = 0; i < GameClock::kTimers; ++i)
        clock.timers[i].interval = kTimerIntervals[i];
    clock.enable(static_cast<int>(TickTimer::KeyBoxUpkeep), true); // from the very start

    startFrom(about, kAboutControls);
    // The version is the build's, so it is written here rather than in the table.
    about.versionLabel.caption = "Squeakrun! " SQUEAKRUN_VERSION " - two mice, two cars, one keyboard.";
    startFrom(settings, kSettingsControls);
    startFrom(scores, kScoresControls);
}

} // namespace squeakrun
