// Gamepads drive the cars: virtual pads plugged into the real game window.
#include "rig.h"
#include "virtual_pad.h"

#include "qt/computer_choice.h"
#include "qt/controls_window.h"
#include "qt/gamepads.h"

#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace squeakrun;
using namespace squeakrun::qt;
using squeakrun::qt::testing::Rig;
using squeakrun::qt::testing::VirtualPad;

namespace {

// A game under way, its keys recorded as the players' inputs.
struct Race : Rig {
    Race() {
        startUp();
        clickStart();
        clock.setInputObserver([this](const Input& input, std::int64_t) {
            if (input.kind == InputKind::Key) keys += input.name;
        });
    }
    Gamepads& pads() { return window.gamepads(); }
    Heading heading(int player) const { return game.players[player].heading; }
    std::string keys;
};

} // namespace

class GamepadsTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { qputenv("XDG_CONFIG_HOME", config_.path().toLocal8Bit()); }
    void thePadSteersDropsSelectsStopsAndPauses();
    void theStickTurnsOncePerPushPastItsDeadZone();
    void unpluggingThePadPausesTheGameAndSaysWhose();
    void twoPadsDriveTwoCarsAndCanBeSwapped();
    void aPadOnACarTheComputerDrivesDoesNothing();

  private:
    QTemporaryDir config_;
};

void GamepadsTest::thePadSteersDropsSelectsStopsAndPauses() {
    Race race;
    QVERIFY(race.pads().available());
    QVERIFY(!race.pads().polling()); // with no pad nothing is read
    VirtualPad pad("Pad One", &race.pads());
    QCOMPARE(race.pads().padOf(0), std::optional(QStringLiteral("Pad One")));
    QVERIFY(race.pads().polling());

    pad.push(SDL_CONTROLLER_BUTTON_DPAD_UP);
    QCOMPARE(race.heading(0), Heading::Up);
    pad.push(SDL_CONTROLLER_BUTTON_DPAD_LEFT);
    QCOMPARE(race.heading(0), Heading::Left);
    pad.push(SDL_CONTROLLER_BUTTON_A);
    QVERIFY(race.game.players[0].trapDropped);
    pad.push(SDL_CONTROLLER_BUTTON_X);
    QCOMPARE(race.game.players[0].device, Device::Cheese);
    pad.push(SDL_CONTROLLER_BUTTON_B);
    QVERIFY(race.game.players[0].stopKeyPressed);
    // Its pushes are player 1's keys, as the recording keeps them.
    QCOMPARE(race.keys, std::string("waerq"));

    pad.push(SDL_CONTROLLER_BUTTON_START);
    QVERIFY(race.game.paused);
    pad.push(SDL_CONTROLLER_BUTTON_START);
    QVERIFY(!race.game.paused);

    pad.unplug();
    QVERIFY(!race.pads().polling());
}

void GamepadsTest::theStickTurnsOncePerPushPastItsDeadZone() {
    Race race;
    VirtualPad pad("Pad One", &race.pads());
    pad.lean(-12000, 9000); // resting within the dead zone
    QCOMPARE(race.heading(0), Heading::None);
    pad.lean(20000, -25000); // the stronger lean wins
    QCOMPARE(race.heading(0), Heading::Up);
    pad.lean(28000, -5000);
    QCOMPARE(race.heading(0), Heading::Right);
    // Held on, the stick turns no more: the D-pad's turn stands.
    pad.push(SDL_CONTROLLER_BUTTON_DPAD_DOWN);
    pad.lean(30000, 1000);
    QCOMPARE(race.heading(0), Heading::Down);
    // Back to the middle and out again is a new push.
    pad.lean(0, 0);
    pad.lean(30000, 0);
    QCOMPARE(race.heading(0), Heading::Right);
    QCOMPARE(race.keys, std::string("wdsd"));
}

void GamepadsTest::unpluggingThePadPausesTheGameAndSaysWhose() {
    Race race;
    VirtualPad one("Pad One", &race.pads());
    VirtualPad two("Pad Two", &race.pads());
    two.unplug();
    QVERIFY(race.game.paused);
    QVERIFY(race.window.padNotice()->isVisible());
    QVERIFY(race.window.padNotice()->text().startsWith(QStringLiteral("Player 2's gamepad was unplugged")));

    // Unplugged again while the game stands, a pad pauses nothing and keeps the game as it is.
    race.window.padNotice()->hide();
    one.unplug();
    QVERIFY(race.game.paused);
    QVERIFY(!race.window.padNotice()->isVisible());
}

void GamepadsTest::twoPadsDriveTwoCarsAndCanBeSwapped() {
    Race race;
    VirtualPad one("Pad One", &race.pads());
    VirtualPad two("Pad Two", &race.pads());
    VirtualPad spare("Pad Three", &race.pads());
    two.push(SDL_CONTROLLER_BUTTON_DPAD_LEFT);
    one.push(SDL_CONTROLLER_BUTTON_DPAD_DOWN);
    spare.push(SDL_CONTROLLER_BUTTON_DPAD_UP); // a third pad waits for a place
    QCOMPARE(race.heading(1), Heading::Left);
    QCOMPARE(race.heading(0), Heading::Down);

    ControlsWindow& controls = *race.window.controlsWindow();
    QVERIFY(controls.padsText().startsWith(
        QStringLiteral("Player 1's gamepad: Pad One\nPlayer 2's gamepad: Pad Two")));
    controls.swapButton()->click();
    QVERIFY(controls.padsText().startsWith(
        QStringLiteral("Player 1's gamepad: Pad Two\nPlayer 2's gamepad: Pad One")));
    one.push(SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
    QCOMPARE(race.heading(1), Heading::Right);
    // The spare takes the place of a pad that goes (and resumes the game that this paused); the swap
    // holds for the next run.
    one.unplug();
    spare.push(SDL_CONTROLLER_BUTTON_START);
    spare.push(SDL_CONTROLLER_BUTTON_DPAD_UP);
    QCOMPARE(race.heading(1), Heading::Up);
    QVERIFY(Rig().window.gamepads().swapped());
    controls.swapButton()->click();
}

void GamepadsTest::aPadOnACarTheComputerDrivesDoesNothing() {
    Race race;
    VirtualPad pad("Pad One", &race.pads());
    race.window.computer().choose({Drivers::Player1, Skill::Easy}, false);
    pad.push(SDL_CONTROLLER_BUTTON_DPAD_UP);
    pad.push(SDL_CONTROLLER_BUTTON_A);
    pad.unplug();
    QCOMPARE(race.keys, std::string());
    QVERIFY(!race.game.paused);
}

QTEST_MAIN(GamepadsTest)
#include "gamepads_test.moc"
