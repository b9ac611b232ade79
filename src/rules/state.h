// The whole game: the main window (rules/main_controls.h), the three small windows and the lists of
// their controls, both players, the bonus items and the game clock. Handlers are free functions over
// this one aggregate.
#pragma once

#include "rules/main_controls.h"
#include "window/controls.h"
#include "window/game_clock.h"
#include "window/platform.h"
#include "window/random.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace squeakrun {

// Whole counts (scores, gas, lives, stocks) are 64-bit so that no long game can overflow them.
using Count = std::int64_t;

// Which way a car, a trap, a skid or a rolling cheese points. A scenario may store any number here,
// so every use checks isHeading() before it takes one of the four.
enum Heading : int { None = 0, Left = 1, Down = 2, Right = 3, Up = 4 };
inline bool isHeading(Count code) {
    return code >= Left && code <= Up;
}

// The device a player has selected on the device strip.
enum class Device : int { None = 0, Trap = 1, Cheese = 2, Slick = 3 };

// The About window.
struct AboutWindow {
    bool loaded = false, visible = false;
    Control title, versionLabel, dedicationLabel, authorLabel, okButton;
};

// The Game Settings window.
struct SettingsWindow {
    bool loaded = false, visible = false;
    Control player1NameBox, player2NameBox, difficultyList, difficultyLabel, applyButton, cancelButton;
};

// The High Scores window: the stored score, its holder and the holder's comment.
struct ScoresWindow {
    bool loaded = false, visible = false;
    Control scoreBox, nameBox, commentBox, backButton;
};

// One control of a small window: its member, its scenario name (the window's own name goes before it)
// and how it looks before start-up runs.
template <class Window> struct WindowControl {
    Control Window::*member;
    std::string_view scenarioName;
    Design design;
};
inline constexpr WindowControl<AboutWindow> kAboutControls[] = {
    {&AboutWindow::title, "Picture1", Design::pictureBox(240, 120, 2415, 375, "title.gif")},
    {&AboutWindow::versionLabel, "Label1", Design::label(240, 600, 2415, 495)},
    {&AboutWindow::dedicationLabel, "Label2",
     Design::label(120, 1680, 2655, 615)
         .titled("I give to God all the glory for the completion of this game, without His help it would "
                 "be non-existant!")},
    {&AboutWindow::authorLabel, "Label3",
     Design::label(480, 1080, 1935, 255).titled("By the Squeakrun team")},
    {&AboutWindow::okButton, "Command1",
     Design::make(Control::Kind::Button, 960, 1320, 975, 315, "btnok.gif")},
};
inline constexpr WindowControl<SettingsWindow> kSettingsControls[] = {
    {&SettingsWindow::player1NameBox, "txtp1name",
     Design::make(Control::Kind::TextBox, 1320, 720, 975, 285).tip("First Player's Name")},
    {&SettingsWindow::player2NameBox, "txtp2name",
     Design::make(Control::Kind::TextBox, 1320, 1920, 975, 285).tip("Second Player's Name")},
    {&SettingsWindow::difficultyList, "Combo1",
     Design::make(Control::Kind::ComboBox, 2760, 2040, 1335, 315).tip("Difficulty Wanted")},
    {&SettingsWindow::difficultyLabel, "lbldif", Design::label(2880, 1560, 1095, 255, "Current Difficulty")},
    {&SettingsWindow::applyButton, "cmdupdate",
     Design::make(Control::Kind::Button, 360, 2400, 1815, 615, "btnapply.gif").tip("Complete Changes")},
    {&SettingsWindow::cancelButton, "cmdcancel",
     Design::make(Control::Kind::Button, 2880, 2640, 975, 255, "btncancel.gif")
         .tip("Cancel and return to game")},
};
inline constexpr WindowControl<ScoresWindow> kScoresControls[] = {
    {&ScoresWindow::scoreBox, "RichTextBox1", Design::make(Control::Kind::RichText, 240, 1440, 1335, 375)},
    {&ScoresWindow::nameBox, "RichTextBox2", Design::make(Control::Kind::RichText, 360, 600, 1095, 375)},
    {&ScoresWindow::commentBox, "RichTextBox3", Design::make(Control::Kind::RichText, 1800, 840, 1815, 615)},
    {&ScoresWindow::backButton, "Command1",
     Design::make(Control::Kind::Button, 1800, 1680, 1575, 495, "btnback.gif")},
};

// Each small window's controls and its number, which goes before their scenario names.
template <class Window> struct SmallWindowOf;
template <> struct SmallWindowOf<AboutWindow> {
    static constexpr int number = 2;
    static constexpr const auto& controls = kAboutControls;
};
template <> struct SmallWindowOf<SettingsWindow> {
    static constexpr int number = 3;
    static constexpr const auto& controls = kSettingsControls;
};
template <> struct SmallWindowOf<ScoresWindow> {
    static constexpr int number = 4;
    static constexpr const auto& controls = kScoresControls;
};
// The scenario name of a small window's control, after its window's ("Form3.cmdupdate").
template <class Window> std::string controlName(Control Window::*member) {
    for (const WindowControl<Window>& c : SmallWindowOf<Window>::controls)
        if (c.member == member)
            return "Form" + std::to_string(SmallWindowOf<Window>::number) + "." + std::string(c.scenarioName);
    return {};
}

// One player's variables; the same for both players (players[0] is player 1, players[1] player 2).
struct Player {
    std::string name;
    Count lives = 0, score = 0;
    Count shownGas = 0;         // the gas the gas label shows
    Count tankGas = 0;          // the gas the engine burns: the tank is empty when this runs out
    Count tankSize = 0;         // what a full tank holds now (the upgrade station and slicks change it)
    Count difficultyTank = 0;   // a full tank at this difficulty
    double difficultySpeed = 0; // the start speed at this difficulty
    double speed = 0;           // twips per movement tick
    Heading heading = None;
    Device device = Device::None;
    Count countdown = 0; // seconds left standing splattered after a cheese hit
    Count cheeseStock = 0, slickStock = 0;
    double gasNeeded = 0; // what a full tank still needs while refuelling
    Heading trapHeading = None;
    double coastSpeed = 0; // the speed left while coasting to a halt after the stop key
    double skidSpeed = 0;
    Heading skidHeading = None;
    Count skidFrame = 0;
    double cheeseSpeed = 0;
    Heading cheeseHeading = None;
    bool crashed = false;
    bool splattered = false;  // standing out a cheese crash's countdown
    bool hitByCheese = false; // reached by the other player's cheese; the movement tick starts the crash
    bool spinning = false;    // skidding on a raspberry slick
    bool slickDropped = false, slickLaid = false; // asked for a slick; it lies on the field
    bool trapDropped = false, trapLaid = false;   // asked for the trap; it lies on the field
    bool leavingStation = false;                  // the stop key pressed while refuelling
    bool refuelling = false;                      // parked in the gas station
    bool shopping = false;                        // parked in the upgrade station
    bool stopKeyPressed = false;                  // the stop key pressed on the road
    bool coasting = false;
    bool cheeseDropped = false, cheeseRolling = false;
};

// A bonus item on the field: bonusItem1 shows the first, bonusItem2 the second.
struct BonusItem {
    bool placed = false;           // lying on the field, or not wanted: the bonus-item tick leaves it be
    bool givesCheese = false;      // a cheese crate: five pieces of cheese
    bool givesSlicks = false;      // a jam jar: five raspberry slicks
    std::array<Count, 2> points{}; // what it gives player 1 and player 2
};

// What each of a player's keys does, by its place in PlayerRow::keys. In the upgrade station the
// steering keys trade instead (up buys tank, down sells it, right buys speed, left sells it) and the
// stop key leaves.
enum KeyRole : int {
    KeyUp,
    KeyDown,
    KeyLeft,
    KeyRight,
    KeyStop,
    KeySelect,
    KeyDrop,
    KeyBuyTank = KeyUp,
    KeySellTank = KeyDown,
    KeySellSpeed = KeyLeft,
    KeyBuySpeed = KeyRight,
    KeyLeave = KeyStop,
};
// The heading each steering key gives the car, by role.
inline constexpr Heading kSteeringHeading[] = {Up, Down, Left, Right};

// What differs between the two players, in one place. Everything else is written once for both.
struct PlayerRow {
    int number; // 1 or 2
    Control MainWindow::*car;
    Control MainWindow::*trap;
    Control MainWindow::*cheese;
    Control MainWindow::*slick;
    Control MainWindow::*nameLabel;
    Control MainWindow::*scoreLabel;
    Control MainWindow::*gasLabel;
    Control MainWindow::*livesLabel;
    Control MainWindow::*stockLabel;
    Control MainWindow::*deviceLabel; // the selected device's picture on the strip
    Control MainWindow::*countdownLabel;
    Control MainWindow::*gauge;
    std::string_view carPrefix; // car pictures are carPrefix + "up.gif" and so on
    std::string_view keys;      // upper case, in the order of KeyRole
    float startLeft, startTop;
    std::string_view crashPicture;       // wrecked in the wall or by the other car
    std::string_view cheeseCrashPicture; // splattered by the other player's cheese
    bool cheeseCrashSlowsAtFloor;        // player 2's speed still drops at exactly 20, player 1's does not
    Count slickExtraTankGasCut;          // player 2's tank loses a further 5 on a slick
    float stationExitTop;                // above (player 1) or below (player 2) either station
    std::string_view aloneInUpgradePicture;
    int reviveClearsCheeseCrateOf;       // reviving clears the cheese-crate flag of this bonus item ...
    int reviveClearsJamJarOf;            // ... and the jam-jar flag of this one
    std::string_view carCrashMessage;    // suffix after the loser's name when the other car still has lives
    std::string_view gasStationCrash[2]; // prefix and suffix around the name
    std::string_view upgradeStationCrash[2]; // prefix and suffix around the name
};

extern const std::array<PlayerRow, 2> kPlayers;

// The difficulty table: lives, full tank and start speed.
struct Difficulty {
    std::string_view name;
    Count lives, tank;
    double speed;
};
extern const std::array<Difficulty, 3> kDifficulties;

// Contact boxes, walls and station sizes shared by the ticks.
inline constexpr float kCarBox = 240;
inline constexpr float kWallLow = 240, kWallBottom = 3960, kWallRight = 6240;

// Everything the game's handlers change: plain data that can be copied and put back whole (the tick
// benchmarks replay from such a copy). It starts with the design-time values of every control.
struct GameState {
    explicit GameState(std::uint64_t seed);

    Random rng;
    GameClock clock;
    bool exited = false;

    MainWindow window;
    AboutWindow about;
    SettingsWindow settings;
    ScoresWindow scores;
    std::array<Player, 2> players;
    std::array<BonusItem, 2> bonusItems;

    bool paused = false;
    bool carsMayMove = false;     // a game runs and is not paused
    bool gameEnded = false;       // the last game ended; the start button waits
    bool gameScored = false;      // the ended game's winner and record are settled
    bool settingsChanged = false; // new settings wait for the movement tick's reset
    std::string difficulty;       // as answered or chosen; used as a number 1, 2 or 3
    double highScore = 0;
    std::string highScoreComment;
    bool recordFailureReported = false;

    // Per-player access through the player table.
    Control& car(int i) { return window.*kPlayers[i].car; }
    Control& control(Control MainWindow::*member) { return window.*member; }
};

// The game: its state and the platform it shows its boxes on.
struct Game : GameState {
    Game(Platform& platform_, std::uint64_t seed) : GameState(seed), platform(platform_) {}
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    Platform& platform;
};

} // namespace squeakrun
