// The main window's controls: the struct that holds them and the one list that says, for each, what
// it sits in, how the front ends show it, its scenario name and its design-time look. The painter,
// the scenario names, the real window's menus and the game's starting state all walk that list, so a
// new control is a member and one row.
#pragma once

#include "window/controls.h"

#include <cstddef>
#include <iterator>
#include <string>
#include <string_view>

namespace squeakrun {

// The stations' size: their pictures' boxes, which the contact checks use as well.
inline constexpr float kStationWidth = 495, kStationHeight = 855;

// A control as the window is designed: what GameState starts each control from.
struct Design {
    Control::Kind kind = Control::Kind::Picture;
    float left = 0, top = 0, width = 0, height = 0;
    std::string_view picture, caption, toolTip;
    bool visible = true;

    static constexpr Design make(Control::Kind kind, float left, float top, float width, float height,
                                 std::string_view picture = {}, bool visible = true) {
        return {kind, left, top, width, height, picture, {}, {}, visible};
    }
    static constexpr Design pictureBox(float left, float top, float width, float height,
                                       std::string_view picture, bool visible = true) {
        return make(Control::Kind::Picture, left, top, width, height, picture, visible);
    }
    static constexpr Design label(float left, float top, float width, float height,
                                  std::string_view tip = {}) {
        return make(Control::Kind::Label, left, top, width, height).tip(tip);
    }
    static constexpr Design menu(std::string_view caption) {
        return make(Control::Kind::Menu, 0, 0, 0, 0).titled(caption);
    }
    constexpr Design tip(std::string_view text) const {
        Design d = *this;
        d.toolTip = text;
        return d;
    }
    constexpr Design titled(std::string_view text) const {
        Design d = *this;
        d.caption = text;
        return d;
    }
    Control control() const {
        Control c;
        c.kind = kind;
        c.moveTo(left, top);
        c.width = width;
        c.height = height;
        c.picture = picture;
        c.caption = caption;
        c.toolTip = toolTip;
        c.visible = visible;
        return c;
    }
};

// The main window: the playfield with everything on it, the device strip, the status panel, the key
// box that catches the players' keys, and the menu bar.
struct MainWindow {
    // The playfield and what lies or drives on it.
    Control playfield, player1Car, player2Car, player1Trap, player2Trap, player1Cheese, player2Cheese,
        player1Slick, player2Slick, bonusItem1, bonusItem2, upgradeStation, gasStation, player1Gauge,
        player2Gauge, startButton, player1Countdown, player2Countdown;
    // The device strip: each player's selected device and its stock.
    Control deviceStrip, player1Device, player2Device, player1Stock, player2Stock;
    // The status panel: names, scores, gas, lives and the stored high score.
    Control statusPanel, player1Name, player1Score, player2Score, player2Name, player1Gas, player2Gas,
        player1Lives, player2Lives, highScoreBox;
    Control keyBox;
    Control fileMenu, pauseEntry, settingsEntry, highScoresEntry, exitEntry, helpMenu, rulesEntry,
        controlsEntry, aboutEntry;
};

// How the front ends show a control of the main window: painted as part of the window's picture,
// a widget of its own (the start button), not at all (the key box, which only catches keys), or on
// the menu bar.
enum class Shown { Painted, Widget, Hidden, Menu };

// One control of the main window: its member, what it sits in, its scenario name and how it looks
// before start-up runs. A painted control is placed from its container's top-left corner (the playfield, the
// device strip or the status panel; null for the window itself); a menu entry's container is its menu.
struct MainControl {
    Control MainWindow::*member;
    Control MainWindow::*container;
    Shown shown;
    std::string_view scenarioName;
    Design design;
};

// Every control of the main window, the painted ones bottom to top as drawn. On the field: the
// stations, the gauges, the devices, the bonus items, the cars and the countdowns; the gauges lie
// under the devices and cars so that a car passing beneath one is never hidden.
inline constexpr MainControl kMainControls[] = {
    {&MainWindow::playfield, nullptr, Shown::Painted, "Picture2",
     Design::pictureBox(0, 0, 6855, 4455, "field.gif")},
    {&MainWindow::upgradeStation, &MainWindow::playfield, Shown::Painted, "update1",
     Design::pictureBox(480, 1800, kStationWidth, kStationHeight, "station1.gif")},
    {&MainWindow::gasStation, &MainWindow::playfield, Shown::Painted, "refuel",
     Design::pictureBox(5880, 1800, kStationWidth, kStationHeight, "gasstation.gif")},
    {&MainWindow::player1Gauge, &MainWindow::playfield, Shown::Painted, "piccar1",
     Design::make(Control::Kind::Gauge, 240, 840, 1095, 975, {}, false)},
    {&MainWindow::player2Gauge, &MainWindow::playfield, Shown::Painted, "piccar2",
     Design::make(Control::Kind::Gauge, 240, 2640, 1095, 975, {}, false)},
    {&MainWindow::player1Trap, &MainWindow::playfield, Shown::Painted, "trap1",
     Design::pictureBox(4320, 2880, 135, 255, "trapup.gif", false)},
    {&MainWindow::player2Trap, &MainWindow::playfield, Shown::Painted, "trap2",
     Design::pictureBox(4560, 2880, 135, 255, "trapup.gif", false)},
    {&MainWindow::player1Cheese, &MainWindow::playfield, Shown::Painted, "piccheese1",
     Design::pictureBox(4200, 3240, 255, 255, "cheesepiece.gif", false)},
    {&MainWindow::player2Cheese, &MainWindow::playfield, Shown::Painted, "piccheese2",
     Design::pictureBox(4560, 3240, 255, 255, "cheesepiece.gif", false)},
    {&MainWindow::player1Slick, &MainWindow::playfield, Shown::Painted, "picrasb1",
     Design::pictureBox(4200, 3600, 255, 255, "raspslick.gif", false)},
    {&MainWindow::player2Slick, &MainWindow::playfield, Shown::Painted, "picrasb2",
     Design::pictureBox(4560, 3600, 255, 255, "raspslick.gif", false)},
    {&MainWindow::bonusItem1, &MainWindow::playfield, Shown::Painted, "Command2",
     Design::pictureBox(4200, 3840, 255, 255, "cheese.gif", false)},
    {&MainWindow::bonusItem2, &MainWindow::playfield, Shown::Painted, "Com2",
     Design::pictureBox(4560, 3840, 255, 255, "cheese.gif", false)},
    {&MainWindow::player1Car, &MainWindow::playfield, Shown::Painted, "bmouse1",
     Design::pictureBox(1440, 2160, 255, 255, "badmousedown.gif").tip("Player 1")},
    {&MainWindow::player2Car, &MainWindow::playfield, Shown::Painted, "Command1",
     Design::pictureBox(5040, 2160, 255, 255, "mousedown.gif").tip("Player 2")},
    {&MainWindow::player1Countdown, &MainWindow::playfield, Shown::Painted, "fdown1",
     Design::make(Control::Kind::Label, 5040, 3240, 45, 195, {}, false)},
    {&MainWindow::player2Countdown, &MainWindow::playfield, Shown::Painted, "fdown2",
     Design::make(Control::Kind::Label, 5040, 2880, 45, 195, {}, false)},
    {&MainWindow::deviceStrip, nullptr, Shown::Painted, "Picture11",
     Design::pictureBox(0, 4440, 6735, 495, "strip.gif")},
    {&MainWindow::player1Device, &MainWindow::deviceStrip, Shown::Painted, "picselect1",
     Design::pictureBox(1440, 0, 510, 510, "trapselect.gif")},
    {&MainWindow::player2Device, &MainWindow::deviceStrip, Shown::Painted, "picselect2",
     Design::pictureBox(4800, 0, 510, 510, "trapselect.gif")},
    {&MainWindow::player1Stock, &MainWindow::deviceStrip, Shown::Painted, "lblp1stock",
     Design::label(2760, 120, 615, 255)},
    {&MainWindow::player2Stock, &MainWindow::deviceStrip, Shown::Painted, "lblp2stock",
     Design::label(6000, 120, 615, 255)},
    {&MainWindow::statusPanel, nullptr, Shown::Painted, "Picture1",
     Design::pictureBox(0, 4920, 6735, 1335, "panel.gif")},
    {&MainWindow::player1Name, &MainWindow::statusPanel, Shown::Painted, "lblpname1",
     Design::label(360, 720, 855, 255, "First Player's Name")},
    {&MainWindow::player1Score, &MainWindow::statusPanel, Shown::Painted, "lblscore1",
     Design::label(1560, 720, 855, 255, "First Player's Score")},
    {&MainWindow::player2Score, &MainWindow::statusPanel, Shown::Painted, "lblScore",
     Design::label(4440, 720, 855, 255, "Second Player's Score")},
    {&MainWindow::player2Name, &MainWindow::statusPanel, Shown::Painted, "lblpname",
     Design::label(5640, 720, 855, 255, "Second Player's Name")},
    {&MainWindow::player1Gas, &MainWindow::statusPanel, Shown::Painted, "lblp1gas",
     Design::label(1680, 240, 375, 255)},
    {&MainWindow::player2Gas, &MainWindow::statusPanel, Shown::Painted, "lblp2gas",
     Design::label(4800, 240, 375, 255)},
    {&MainWindow::player1Lives, &MainWindow::statusPanel, Shown::Painted, "lblp1lives",
     Design::label(1200, 600, 375, 255)},
    {&MainWindow::player2Lives, &MainWindow::statusPanel, Shown::Painted, "lblp2lives",
     Design::label(5280, 600, 375, 255)},
    {&MainWindow::highScoreBox, &MainWindow::statusPanel, Shown::Painted, "RichTextBox1",
     Design::make(Control::Kind::RichText, 2880, 720, 1095, 375).tip("Can you beat this score?")},
    {&MainWindow::startButton, nullptr, Shown::Widget, "Command3",
     Design::make(Control::Kind::Button, 1920, 1440, 3015, 1455).titled("Start the Game!")},
    {&MainWindow::keyBox, nullptr, Shown::Hidden, "Text3",
     Design::make(Control::Kind::TextBox, 6960, 480, 135, 285)},
    {&MainWindow::fileMenu, nullptr, Shown::Menu, "mnuFile", Design::menu("&File")},
    {&MainWindow::pauseEntry, &MainWindow::fileMenu, Shown::Menu, "mnuFilePause",
     Design::menu("&Pause Game")},
    {&MainWindow::settingsEntry, &MainWindow::fileMenu, Shown::Menu, "mnuFileSettings",
     Design::menu("&Game Settings")},
    {&MainWindow::highScoresEntry, &MainWindow::fileMenu, Shown::Menu, "mnuFileScores",
     Design::menu("&High Scores")},
    {&MainWindow::exitEntry, &MainWindow::fileMenu, Shown::Menu, "mnuFileExit", Design::menu("&Exit")},
    {&MainWindow::helpMenu, nullptr, Shown::Menu, "mnuHelp", Design::menu("&Help")},
    {&MainWindow::rulesEntry, &MainWindow::helpMenu, Shown::Menu, "mnuHelpRules", Design::menu("Rules")},
    {&MainWindow::controlsEntry, &MainWindow::helpMenu, Shown::Menu, "mnuHelpControls",
     Design::menu("Controls")},
    {&MainWindow::aboutEntry, &MainWindow::helpMenu, Shown::Menu, "mnuHelpAbout",
     Design::menu("&About 'Squeakrun'")},
};

// Each control is listed once, under a name of its own, after the container it sits in (which is
// painted beneath it, or is the menu it belongs to).
static_assert([] {
    for (std::size_t i = 0; i < std::size(kMainControls); ++i) {
        const MainControl& c = kMainControls[i];
        bool containerBefore = !c.container;
        for (std::size_t j = 0; j < i; ++j) {
            const MainControl& earlier = kMainControls[j];
            if (earlier.member == c.member || earlier.scenarioName == c.scenarioName) return false;
            containerBefore = containerBefore || earlier.member == c.container;
        }
        if (!containerBefore) return false;
    }
    return true;
}());

// The scenario name of a main window control ("Command3").
inline std::string controlName(Control MainWindow::*member) {
    for (const MainControl& c : kMainControls)
        if (c.member == member) return std::string(c.scenarioName);
    return {};
}

} // namespace squeakrun
