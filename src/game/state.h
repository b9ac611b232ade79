// The whole game: the main window's controls and variables, the three small windows, both players,
// the bonus items and the game clock. Handlers are free functions over this one aggregate.
#pragma once

#include "game/random.h"
#include "game/window/controls.h"
#include "game/window/platform.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace squeakrun {

// Whole counts (scores, gas, lives, stocks) are 64-bit so that no long game can overflow them.
using Count = std::int64_t;

// Heading codes of cars, traps, skids and rolling cheese.
enum Heading : int { None = 0, Left = 1, Down = 2, Right = 3, Up = 4 };
inline bool isHeading(Count code) {
    return code >= Left && code <= Up;
}

struct Form1 {
    Control Picture2, bmouse1, Command1, trap1, trap2, piccheese1, piccheese2, picrasb1, picrasb2, Command2,
        Com2, update1, refuel, piccar1, piccar2, Command3, fdown1, fdown2;
    Control Picture11, picselect1, picselect2, lblp1stock, lblp2stock;
    Control Picture1, lblpname1, lblscore1, lblScore, lblpname, lblp1gas, lblp2gas, lblp1lives, lblp2lives,
        RichTextBox1;
    Control Text3;
    Control mnuFile, mnuFilePause, mnuFileSettings, mnuFileScores, mnuFileExit, mnuHelp, mnuHelpRules,
        mnuHelpControls, mnuHelpAbout;
    std::array<Timer, 8> timers; // Timer1 .. Timer8
};

// About.
struct Form2 {
    bool loaded = false, Visible = false;
    Control Picture1, Label1, Label2, Label3, Command1;
};

// Game Settings.
struct Form3 {
    bool loaded = false, Visible = false;
    Control txtp1name, txtp2name, Combo1, lbldif, cmdupdate, cmdcancel;
};

// High Scores.
struct Form4 {
    bool loaded = false, Visible = false;
    Control RichTextBox1, RichTextBox2, RichTextBox3, Command1;
};

// One player's variables; the same for both players (p[0] is player 1, p[1] player 2).
struct Player {
    std::string name;
    Count lives = 0, score = 0, gas = 0, gas1 = 0;
    Count tgas = 0;     // tank size
    Count cvalue = 0;   // full tank for the difficulty
    double cvalue1 = 0; // start speed for the difficulty
    double speed = 0;   // twips per movement tick
    Count dir = 0;      // heading code
    Count device = 0;   // 1 trap, 2 cheese, 3 raspberry slick
    Count countdown = 0;
    Count cheesestock = 0, slickstock = 0;
    double gasneed = 0;
    Count trapdir = 0;
    double coast = 0;
    double skidspeed = 0;
    Count skiddir = 0, skidframe = 0;
    double cheesespeed = 0;
    Count cheesedir = 0;
    bool crashed = false, waiting = false, cheesehit = false, spin = false, slickset = false,
         slickdrop = false, trapdrop = false, trapset = false, leavegas = false, refuel = false,
         update = false, stop = false, slowdown = false, cheeseroll = false, cheesedrop = false;
};

// A bonus item lying on the field: Command2 is the first, Com2 the second.
struct BonusItem {
    bool loaded = false;           // nloaded / nloaded1
    bool blob = false;             // blob1 / blob2: gives five pieces of cheese
    bool slickpup = false;         // slickpup1 / slickpup2: gives five slicks
    std::array<Count, 2> points{}; // p1bonusN, p2bonusN: what it gives player 1 and player 2
};

// What differs between the two players, in one place. Everything else is written once for both.
struct PlayerRow {
    int number; // 1 or 2
    Control Form1::*car;
    Control Form1::*trap;
    Control Form1::*cheese;
    Control Form1::*slick;
    Control Form1::*nameLabel;
    Control Form1::*scoreLabel;
    Control Form1::*gasLabel;
    Control Form1::*livesLabel;
    Control Form1::*stockLabel;
    Control Form1::*select;
    Control Form1::*countdown;
    Control Form1::*gauge;
    std::string_view carPrefix; // car pictures are carPrefix + "up.gif" and so on
    std::string_view keys;      // upper case: up, down, left, right, stop, select, drop
    float startLeft, startTop;
    std::string_view crashPicture;       // wrecked in the wall or by the other car
    std::string_view cheeseCrashPicture; // splattered by the other player's cheese
    bool cheeseCrashSlowsAt20;           // player 2's speed still drops at exactly 20, player 1's does not
    Count slickExtraGas1Cut;             // player 2's gas counter loses a further 5 on a slick
    float stationExitTop;                // above (player 1) or below (player 2) either station
    std::string_view aloneInUpgradePicture;
    int reviveClearsBlobOf;              // reviving clears the cheese-blob flag of this bonus item ...
    int reviveClearsSlickPupOf;          // ... and the slick power-up flag of this one
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
inline constexpr float kStationWidth = 495, kStationHeight = 855;
inline constexpr float kWallLow = 240, kWallBottom = 3960, kWallRight = 6240;

// Everything the game's handlers change: plain data that can be copied and put back whole (the tick
// benchmarks replay from such a copy). It starts with the design-time values of every control.
struct GameState {
    explicit GameState(std::uint64_t seed);

    Random rng;
    std::int64_t clock = 0; // game time in ms since start-up
    bool inHandler = false; // a timer handler is running; the scheduler does not re-enter
    bool exited = false;

    Form1 f1;
    Form2 f2;
    Form3 f3;
    Form4 f4;
    std::array<Player, 2> p;
    std::array<BonusItem, 2> items;

    bool paused = false, allowed = false, died = false, outcomedone = false, changed = false;
    std::string dif; // the difficulty as it was answered or chosen; used as a number 1, 2 or 3
    double highscore = 0;
    std::string hcomment;
    bool recordFailureReported = false;

    // Per-player access through the player table.
    Control& car(int i) { return f1.*kPlayers[i].car; }
    Control& ctl(Control Form1::*member) { return f1.*member; }
    Timer& timer(int n) { return f1.timers[n - 1]; }
};

// The game: its state and the platform it shows its boxes on.
struct Game : GameState {
    Game(Platform& platform_, std::uint64_t seed) : GameState(seed), platform(platform_) {}
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    Platform& platform;
};

} // namespace squeakrun
