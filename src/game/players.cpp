// The player table, the difficulty table, and the game as it stands before start-up runs.
#include "game/state.h"

namespace squeakrun {

const std::array<PlayerRow, 2> kPlayers = {{
    {1,
     &Form1::bmouse1,
     &Form1::trap1,
     &Form1::piccheese1,
     &Form1::picrasb1,
     &Form1::lblpname1,
     &Form1::lblscore1,
     &Form1::lblp1gas,
     &Form1::lblp1lives,
     &Form1::lblp1stock,
     &Form1::picselect1,
     &Form1::fdown1,
     &Form1::piccar1,
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
     &Form1::Command1,
     &Form1::trap2,
     &Form1::piccheese2,
     &Form1::picrasb2,
     &Form1::lblpname,
     &Form1::lblScore,
     &Form1::lblp2gas,
     &Form1::lblp2lives,
     &Form1::lblp2stock,
     &Form1::picselect2,
     &Form1::fdown2,
     &Form1::piccar2,
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
    c.Left = left;
    c.Top = top;
    c.Width = width;
    c.Height = height;
    c.Picture = std::move(picture);
    c.Visible = visible;
    return c;
}
Control picture(float l, float t, float w, float h, std::string pic, bool visible = true) {
    return make(Control::Kind::Picture, l, t, w, h, std::move(pic), visible);
}
Control label(float l, float t, float w, float h, std::string tip = {}) {
    Control c = make(Control::Kind::Label, l, t, w, h);
    c.ToolTip = std::move(tip);
    return c;
}
Control menu(std::string caption) {
    Control c;
    c.kind = Control::Kind::Menu;
    c.Caption = std::move(caption);
    return c;
}
} // namespace

GameState::GameState(std::uint64_t seed) : rng(seed) {
    using K = Control::Kind;
    Form1& f = f1;
    f.Picture2 = picture(0, 0, 6855, 4455, "field.gif");
    f.bmouse1 = picture(1440, 2160, 255, 255, "badmousedown.gif");
    f.bmouse1.ToolTip = "Player 1";
    f.Command1 = picture(5040, 2160, 255, 255, "mousedown.gif");
    f.Command1.ToolTip = "Player 2";
    f.trap1 = picture(4320, 2880, 135, 255, "trapup.gif", false);
    f.trap2 = picture(4560, 2880, 135, 255, "trapup.gif", false);
    f.piccheese1 = picture(4200, 3240, 255, 255, "cheesepiece.gif", false);
    f.piccheese2 = picture(4560, 3240, 255, 255, "cheesepiece.gif", false);
    f.picrasb1 = picture(4200, 3600, 255, 255, "raspslick.gif", false);
    f.picrasb2 = picture(4560, 3600, 255, 255, "raspslick.gif", false);
    f.Command2 = picture(4200, 3840, 255, 255, "cheese.gif", false);
    f.Com2 = picture(4560, 3840, 255, 255, "cheese.gif", false);
    f.update1 = picture(480, 1800, kStationWidth, kStationHeight, "station1.gif");
    f.refuel = picture(5880, 1800, kStationWidth, kStationHeight, "gasstation.gif");
    f.piccar1 = make(K::Gauge, 240, 840, 1095, 975, {}, false);
    f.piccar2 = make(K::Gauge, 240, 2640, 1095, 975, {}, false);
    f.Command3 = make(K::Button, 1920, 1440, 3015, 1455);
    f.Command3.Caption = "Start the Game!";
    f.fdown1 = make(K::Label, 5040, 3240, 45, 195, {}, false);
    f.fdown2 = make(K::Label, 5040, 2880, 45, 195, {}, false);

    f.Picture11 = picture(0, 4440, 6735, 495, "strip.gif");
    f.picselect1 = picture(1440, 0, 510, 510, "trapselect.gif");
    f.picselect2 = picture(4800, 0, 510, 510, "trapselect.gif");
    f.lblp1stock = label(2760, 120, 615, 255);
    f.lblp2stock = label(6000, 120, 615, 255);

    f.Picture1 = picture(0, 4920, 6735, 1335, "panel.gif");
    f.lblpname1 = label(360, 720, 855, 255, "First Player's Name");
    f.lblscore1 = label(1560, 720, 855, 255, "First Player's Score");
    f.lblScore = label(4440, 720, 855, 255, "Second Player's Score");
    f.lblpname = label(5640, 720, 855, 255, "Second Player's Name");
    f.lblp1gas = label(1680, 240, 375, 255);
    f.lblp2gas = label(4800, 240, 375, 255);
    f.lblp1lives = label(1200, 600, 375, 255);
    f.lblp2lives = label(5280, 600, 375, 255);
    f.RichTextBox1 = make(K::RichText, 2880, 720, 1095, 375);
    f.RichTextBox1.ToolTip = "Can you beat this score?";
    f.Text3 = make(K::TextBox, 6960, 480, 135, 285);

    f.mnuFile = menu("&File");
    f.mnuFilePause = menu("&Pause Game");
    f.mnuFileSettings = menu("&Game Settings");
    f.mnuFileScores = menu("&High Scores");
    f.mnuFileExit = menu("&Exit");
    f.mnuHelp = menu("&Help");
    f.mnuHelpRules = menu("Rules");
    f.mnuHelpControls = menu("Controls");
    f.mnuHelpAbout = menu("&About 'Squeakrun'");

    static constexpr int kIntervals[8] = {50, 50, 10, 30, 1000, 30, 150, 10};
    for (int i = 0; i < 8; ++i)
        f.timers[i].Interval = kIntervals[i];
    f.timers[7].Enabled = true; // key box upkeep runs from the very start
    f.timers[7].due = kIntervals[7];

    f2.Picture1 = picture(240, 120, 2415, 375, "title.gif");
    f2.Label1 = label(240, 600, 2415, 495);
    f2.Label1.Caption = "Squeakrun! 1.0 - two mice, two cars, one keyboard.";
    f2.Label3 = label(480, 1080, 1935, 255);
    f2.Label3.Caption = "By the Squeakrun team";
    f2.Command1 = make(K::Button, 960, 1320, 975, 315, "btnok.gif");
    f2.Label2 = label(120, 1680, 2655, 615);
    f2.Label2.Caption =
        "I give to God all the glory for the completion of this game, without His help it would "
        "be non-existant!";

    f3.txtp1name = make(K::TextBox, 1320, 720, 975, 285);
    f3.txtp1name.ToolTip = "First Player's Name";
    f3.txtp2name = make(K::TextBox, 1320, 1920, 975, 285);
    f3.txtp2name.ToolTip = "Second Player's Name";
    f3.Combo1 = make(K::ComboBox, 2760, 2040, 1335, 315);
    f3.Combo1.ToolTip = "Difficulty Wanted";
    f3.lbldif = label(2880, 1560, 1095, 255, "Current Difficulty");
    f3.cmdupdate = make(K::Button, 360, 2400, 1815, 615, "btnapply.gif");
    f3.cmdupdate.ToolTip = "Complete Changes";
    f3.cmdcancel = make(K::Button, 2880, 2640, 975, 255, "btncancel.gif");
    f3.cmdcancel.ToolTip = "Cancel and return to game";

    f4.RichTextBox1 = make(K::RichText, 240, 1440, 1335, 375);
    f4.RichTextBox2 = make(K::RichText, 360, 600, 1095, 375);
    f4.RichTextBox3 = make(K::RichText, 1800, 840, 1815, 615);
    f4.Command1 = make(K::Button, 1800, 1680, 1575, 495, "btnback.gif");
}

} // namespace squeakrun
