// The player table, the difficulty table, and the game as it stands before start-up runs.
#include "rules/state.h"

#include "rules/ticks.h"

namespace squeakrun {

const std::array<PlayerRow, 2> kPlayers = {{
    {1,
     &MainWindow::player1Car,
     &MainWindow::player1Trap,
     &MainWindow::player1Cheese,
     &MainWindow::player1Slick,
     &MainWindow::player1Name,
     &MainWindow::player1Score,
     &MainWindow::player1Gas,
     &MainWindow::player1Lives,
     &MainWindow::player1Stock,
     &MainWindow::player1Device,
     &MainWindow::player1Countdown,
     &MainWindow::player1Gauge,
     "badmouse",
     "WSADQRE",
     1440,
     2040,
     "bcrash.gif",
     "bcrashc.gif",
     false,
     0,
     1440,
     "station11.gif",
     1,
     0,
     " is GAME OVER! HAHAHA!!",
     {"Ouch! ", " hit the station!"},
     {"Hehe, ", " just wrecked his car!"}},
    {2,
     &MainWindow::player2Car,
     &MainWindow::player2Trap,
     &MainWindow::player2Cheese,
     &MainWindow::player2Slick,
     &MainWindow::player2Name,
     &MainWindow::player2Score,
     &MainWindow::player2Gas,
     &MainWindow::player2Lives,
     &MainWindow::player2Stock,
     &MainWindow::player2Device,
     &MainWindow::player2Countdown,
     &MainWindow::player2Gauge,
     "mouse",
     "IKJLUPO",
     5160,
     2040,
     "crash.gif",
     "crashc.gif",
     true,
     5,
     3000,
     "station12.gif",
     0,
     1,
     " is seeing light at the end of the tunnel...",
     {"Too bad, ", " ran into the station!"},
     {"Phew, ", " sure messed up his car!"}},
}};

const std::array<Difficulty, 3> kDifficulties = {{
    {"Easy", 5, 30, 50},
    {"Average", 4, 25, 80},
    {"Hard", 3, 20, 100},
}};

namespace {
Control make(Control::Kind kind, float left, float top, float width, float height, std::string picture = {},
             bool visible = true) {
    Control c;
    c.kind = kind;
    c.left = left;
    c.top = top;
    c.width = width;
    c.height = height;
    c.picture = std::move(picture);
    c.visible = visible;
    return c;
}
Control picture(float l, float t, float w, float h, std::string pic, bool visible = true) {
    return make(Control::Kind::Picture, l, t, w, h, std::move(pic), visible);
}
Control label(float l, float t, float w, float h, std::string tip = {}) {
    Control c = make(Control::Kind::Label, l, t, w, h);
    c.toolTip = std::move(tip);
    return c;
}
Control menu(std::string caption) {
    Control c;
    c.kind = Control::Kind::Menu;
    c.caption = std::move(caption);
    return c;
}
} // namespace

GameState::GameState(std::uint64_t seed) : rng(seed) {
    using K = Control::Kind;
    MainWindow& f = window;
    f.playfield = picture(0, 0, 6855, 4455, "field.gif");
    f.player1Car = picture(1440, 2160, 255, 255, "badmousedown.gif");
    f.player1Car.toolTip = "Player 1";
    f.player2Car = picture(5040, 2160, 255, 255, "mousedown.gif");
    f.player2Car.toolTip = "Player 2";
    f.player1Trap = picture(4320, 2880, 135, 255, "trapup.gif", false);
    f.player2Trap = picture(4560, 2880, 135, 255, "trapup.gif", false);
    f.player1Cheese = picture(4200, 3240, 255, 255, "cheesepiece.gif", false);
    f.player2Cheese = picture(4560, 3240, 255, 255, "cheesepiece.gif", false);
    f.player1Slick = picture(4200, 3600, 255, 255, "raspslick.gif", false);
    f.player2Slick = picture(4560, 3600, 255, 255, "raspslick.gif", false);
    f.bonusItem1 = picture(4200, 3840, 255, 255, "cheese.gif", false);
    f.bonusItem2 = picture(4560, 3840, 255, 255, "cheese.gif", false);
    f.upgradeStation = picture(480, 1800, kStationWidth, kStationHeight, "station1.gif");
    f.gasStation = picture(5880, 1800, kStationWidth, kStationHeight, "gasstation.gif");
    f.player1Gauge = make(K::Gauge, 240, 840, 1095, 975, {}, false);
    f.player2Gauge = make(K::Gauge, 240, 2640, 1095, 975, {}, false);
    f.startButton = make(K::Button, 1920, 1440, 3015, 1455);
    f.startButton.caption = "Start the Game!";
    f.player1Countdown = make(K::Label, 5040, 3240, 45, 195, {}, false);
    f.player2Countdown = make(K::Label, 5040, 2880, 45, 195, {}, false);

    f.deviceStrip = picture(0, 4440, 6735, 495, "strip.gif");
    f.player1Device = picture(1440, 0, 510, 510, "trapselect.gif");
    f.player2Device = picture(4800, 0, 510, 510, "trapselect.gif");
    f.player1Stock = label(2760, 120, 615, 255);
    f.player2Stock = label(6000, 120, 615, 255);

    f.statusPanel = picture(0, 4920, 6735, 1335, "panel.gif");
    f.player1Name = label(360, 720, 855, 255, "First Player's Name");
    f.player1Score = label(1560, 720, 855, 255, "First Player's Score");
    f.player2Score = label(4440, 720, 855, 255, "Second Player's Score");
    f.player2Name = label(5640, 720, 855, 255, "Second Player's Name");
    f.player1Gas = label(1680, 240, 375, 255);
    f.player2Gas = label(4800, 240, 375, 255);
    f.player1Lives = label(1200, 600, 375, 255);
    f.player2Lives = label(5280, 600, 375, 255);
    f.highScoreBox = make(K::RichText, 2880, 720, 1095, 375);
    f.highScoreBox.toolTip = "Can you beat this score?";
    f.keyBox = make(K::TextBox, 6960, 480, 135, 285);

    f.fileMenu = menu("&File");
    f.pauseEntry = menu("&Pause Game");
    f.settingsEntry = menu("&Game Settings");
    f.highScoresEntry = menu("&High Scores");
    f.exitEntry = menu("&Exit");
    f.helpMenu = menu("&Help");
    f.rulesEntry = menu("Rules");
    f.controlsEntry = menu("Controls");
    f.aboutEntry = menu("&About 'Squeakrun'");

    static constexpr int kIntervals[GameClock::kTimers] = {50, 50, 10, 30, 1000, 30, 150, 10};
    for (int i = 0; i < GameClock::kTimers; ++i)
        clock.timers[i].interval = kIntervals[i];
    clock.enable(static_cast<int>(TickTimer::KeyBoxUpkeep), true); // from the very start

    about.title = picture(240, 120, 2415, 375, "title.gif");
    about.versionLabel = label(240, 600, 2415, 495);
    about.versionLabel.caption = "Squeakrun! 1.0 - two mice, two cars, one keyboard.";
    about.authorLabel = label(480, 1080, 1935, 255);
    about.authorLabel.caption = "By the Squeakrun team";
    about.okButton = make(K::Button, 960, 1320, 975, 315, "btnok.gif");
    about.dedicationLabel = label(120, 1680, 2655, 615);
    about.dedicationLabel.caption =
        "I give to God all the glory for the completion of this game, without His help it would "
        "be non-existant!";

    settings.player1NameBox = make(K::TextBox, 1320, 720, 975, 285);
    settings.player1NameBox.toolTip = "First Player's Name";
    settings.player2NameBox = make(K::TextBox, 1320, 1920, 975, 285);
    settings.player2NameBox.toolTip = "Second Player's Name";
    settings.difficultyList = make(K::ComboBox, 2760, 2040, 1335, 315);
    settings.difficultyList.toolTip = "Difficulty Wanted";
    settings.difficultyLabel = label(2880, 1560, 1095, 255, "Current Difficulty");
    settings.applyButton = make(K::Button, 360, 2400, 1815, 615, "btnapply.gif");
    settings.applyButton.toolTip = "Complete Changes";
    settings.cancelButton = make(K::Button, 2880, 2640, 975, 255, "btncancel.gif");
    settings.cancelButton.toolTip = "Cancel and return to game";

    scores.scoreBox = make(K::RichText, 240, 1440, 1335, 375);
    scores.nameBox = make(K::RichText, 360, 600, 1095, 375);
    scores.commentBox = make(K::RichText, 1800, 840, 1815, 615);
    scores.backButton = make(K::Button, 1800, 1680, 1575, 495, "btnback.gif");
}

} // namespace squeakrun
