// Gamepads drive the cars: virtual pads plugged into the real game window.
#include "rig.h"

#include "qt/computer_choice.h"
#include "qt/controls_window.h"
#include "qt/gamepads.h"

#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <SDL.h>

using namespace squeakrun;
using namespace squeakrun::qt;
using squeakrun::qt::testing::Rig;

namespace {

// A pad that exists only in SDL, plugged in at once, unplugged when it goes.
class VirtualPad {
  public:
    VirtualPad(Gamepads& pads, const char* name) : pads_(pads) {
        SDL_VirtualJoystickDesc d{};
        d.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        d.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        d.naxes = SDL_CONTROLLER_AXIS_MAX;
        d.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        d.button_mask = (1u << SDL_CONTROLLER_BUTTON_MAX) - 1;
        d.axis_mask = (1u << SDL_CONTROLLER_AXIS_MAX) - 1;
        d.name = name;
        js_ = SDL_JoystickOpen(SDL_JoystickAttachVirtualEx(&d));
        pads_.poll();
    }
    ~VirtualPad() { unplug(); }
    void unplug() {
        if (!js_) return;
        const SDL_JoystickID id = SDL_JoystickInstanceID(js_);
        SDL_JoystickClose(js_);
        js_ = nullptr;
        for (int i = 0; i < SDL_NumJoysticks(); ++i)
            if (SDL_JoystickGetDeviceInstanceID(i) == id) SDL_JoystickDetachVirtual(i);
        pads_.poll();
    }
    bool plugged() const { return js_ != nullptr; }
    void push(SDL_GameControllerButton button) {
        SDL_JoystickSetVirtualButton(js_, button, 1);
        pads_.poll();
        SDL_JoystickSetVirtualButton(js_, button, 0);
        pads_.poll();
    }
    void lean(int x, int y) {
        SDL_JoystickSetVirtualAxis(js_, SDL_CONTROLLER_AXIS_LEFTX, static_cast<Sint16>(x));
        SDL_JoystickSetVirtualAxis(js_, SDL_CONTROLLER_AXIS_LEFTY, static_cast<Sint16>(y));
        pads_.poll();
    }

  private:
    Gamepads& pads_;
    SDL_Joystick* js_ = nullptr;
};

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
    VirtualPad pad(race.pads(), "Pad One");
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
    VirtualPad pad(race.pads(), "Pad One");
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
    VirtualPad one(race.pads(), "Pad One");
    VirtualPad two(race.pads(), "Pad Two");
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
    VirtualPad one(race.pads(), "Pad One");
    VirtualPad two(race.pads(), "Pad Two");
    VirtualPad spare(race.pads(), "Pad Three");
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
    VirtualPad pad(race.pads(), "Pad One");
    race.window.computer().choose({Drivers::Player1, Skill::Easy}, false);
    pad.push(SDL_CONTROLLER_BUTTON_DPAD_UP);
    pad.push(SDL_CONTROLLER_BUTTON_A);
    pad.unplug();
    QCOMPARE(race.keys, std::string());
    QVERIFY(!race.game.paused);
}

QTEST_MAIN(GamepadsTest)
#include "gamepads_test.moc"
