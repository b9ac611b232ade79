// The players' own controls: keys steer by their place on the keyboard whatever its layout.
#include "rig.h"

#include "qt/controls_window.h"
#include "qt/key_bindings.h"
#include "qt/qt_platform.h"
#include "qt/windowed_game.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace squeakrun;
using namespace squeakrun::qt;
using squeakrun::qt::testing::Rig;

namespace {

// A key event as X11 reports it: the key's place (0 where the platform tells none) and what it types.
void send(QWidget* target, QEvent::Type type, ScanCode code, int key, const QString& text,
          Qt::KeyboardModifiers modifiers = {}, bool repeat = false) {
    QKeyEvent event(type, key, modifiers, code, 0, 0, text, repeat);
    QApplication::sendEvent(target, &event);
}
// A letter key.
void press(QWidget* target, ScanCode code, const QString& letter, Qt::KeyboardModifiers modifiers = {}) {
    send(target, QEvent::KeyPress, code, Qt::Key_A + (letter.at(0).toUpper().unicode() - 'A'), letter,
         modifiers);
}
void release(QWidget* target, ScanCode code, const QString& letter) {
    send(target, QEvent::KeyRelease, code, Qt::Key_A + (letter.at(0).toUpper().unicode() - 'A'), letter);
}

// The places of a few keys, by what a US keyboard prints on them.
constexpr ScanCode kUsQ = 24, kUsW = 25, kUsA = 38, kUsS = 39, kUsD = 40, kUsZ = 52, kUsI = 31, kUsK = 45,
                   kUsT = 28, kEsc = 9;
constexpr Seat kUp1{0, Action::Up}, kDown1{0, Action::Down};

} // namespace

class ControlsTest : public QObject {
    Q_OBJECT
  private slots:
    // The choices the tests make are kept in a folder of their own, never the player's.
    void initTestCase() { qputenv("XDG_CONFIG_HOME", config_.path().toLocal8Bit()); }
    void keysSteerByTheirPlaceOnAnyLayout();
    void aPlayerRebindsAKeyAndTheGameKeepsIt();
    void aKeyAnotherActionHasIsRefusedAndEscCancels();
    void restoreDefaultsAndUnreadableSettingsGiveTheUsKeys();
    void everyKeyHeldLightsUp();
    void theControlsBoxNamesTheKeysInForce();

  private:
    QTemporaryDir config_;
};

void ControlsTest::keysSteerByTheirPlaceOnAnyLayout() {
    Rig rig;
    rig.startUp();
    rig.clickStart();
    auto heading = [&rig](int player) { return rig.game.players[player].heading; };

    // A US keyboard: the letters are where the game expects them.
    press(&rig.window, kUsW, QStringLiteral("w"));
    QCOMPARE(heading(0), Heading::Up);
    press(&rig.window, kUsI, QStringLiteral("I"), Qt::ShiftModifier);
    QCOMPARE(heading(1), Heading::Up);

    // A French keyboard types Q where the US one has A, and W down where the US one has Z: the place
    // decides, never the letter.
    press(&rig.window, kUsA, QStringLiteral("q"));
    QCOMPARE(heading(0), Heading::Left);
    press(&rig.window, kUsZ, QStringLiteral("w"));
    QCOMPARE(heading(0), Heading::Left);
    press(&rig.window, kUsQ, QStringLiteral("a")); // player 1's stop, under the French A
    QVERIFY(rig.game.players[0].stopKeyPressed);
    press(&rig.window, kUsW, QStringLiteral("z"));
    QCOMPARE(heading(0), Heading::Up);
    // A key nobody has types on, and Ctrl still makes a shortcut of a player's key.
    press(&rig.window, kUsT, QStringLiteral("t"));
    press(&rig.window, kUsD, QStringLiteral("d"), Qt::ControlModifier);
    QCOMPARE(heading(0), Heading::Up);

    // Where the platform tells no place, the letter typed is the key.
    press(&rig.window, 0, QStringLiteral("d"));
    QCOMPARE(heading(0), Heading::Right);
}

void ControlsTest::aPlayerRebindsAKeyAndTheGameKeepsIt() {
    Rig rig;
    rig.startUp();
    rig.clickStart();
    ControlsWindow& controls = *rig.window.controlsWindow();
    QCOMPARE(controls.button(kUp1)->text(), QStringLiteral("W"));

    QTest::mouseClick(controls.button(kUp1), Qt::LeftButton);
    QCOMPARE(controls.button(kUp1)->text(), QStringLiteral("Press a key…"));
    press(&controls, kUsT, QStringLiteral("t"));
    QCOMPARE(controls.button(kUp1)->text(), QStringLiteral("T"));
    QCOMPARE(controls.line(), QStringLiteral("T is now player 1's up."));

    // The old key is nobody's now, whatever it types; the new one steers at once.
    press(&rig.window, kUsW, QStringLiteral("w"));
    QCOMPARE(rig.game.players[0].heading, Heading::None);
    press(&rig.window, kUsT, QStringLiteral("t"));
    QCOMPARE(rig.game.players[0].heading, Heading::Up);

    // The next run starts with it.
    Rig next;
    QCOMPARE(next.window.keys().key(kUp1), kUsT);
    next.window.controlsWindow()->restoreButton()->click();
}

void ControlsTest::aKeyAnotherActionHasIsRefusedAndEscCancels() {
    Rig rig;
    ControlsWindow& controls = *rig.window.controlsWindow();
    const KeyBindings before = rig.window.keys();

    QTest::mouseClick(controls.button(kDown1), Qt::LeftButton);
    press(&controls, kUsI, QStringLiteral("i"));
    QCOMPARE(controls.line(),
             QStringLiteral("I is already player 2's up: choose another key, or give player 2's up "
                            "another key first."));
    QTest::mouseClick(controls.button(kDown1), Qt::LeftButton);
    send(&controls, QEvent::KeyPress, kEsc, Qt::Key_Escape, QString(QChar(27)));
    QCOMPARE(controls.line(), QStringLiteral("Nothing changed."));
    QCOMPARE(controls.button(kDown1)->text(), QStringLiteral("S"));
    QTest::mouseClick(controls.button(kDown1), Qt::LeftButton);
    press(&controls, kUsD, QStringLiteral("d"), Qt::ControlModifier);
    QVERIFY(rig.window.keys() == before);
    // Binding a key to the action that already has it changes nothing and is no clash.
    QTest::mouseClick(controls.button(kDown1), Qt::LeftButton);
    press(&controls, kUsS, QStringLiteral("s"));
    QCOMPARE(controls.line(), QStringLiteral("S is now player 1's down."));
    QVERIFY(rig.window.keys() == before);
}

void ControlsTest::restoreDefaultsAndUnreadableSettingsGiveTheUsKeys() {
    const KeyBindings us;
    {
        Rig rig;
        ControlsWindow& controls = *rig.window.controlsWindow();
        QTest::mouseClick(controls.button(kDown1), Qt::LeftButton);
        press(&controls, kUsZ, QStringLiteral("z"));
        QVERIFY(!(KeyBindings::remembered() == us));
        controls.restoreButton()->click();
        QCOMPARE(controls.button(kDown1)->text(), QStringLiteral("S"));
        QVERIFY(rig.window.keys() == us);
        QVERIFY(KeyBindings::remembered() == us);
    }
    auto keptWith = [](const QString& key, const QVariant& value) {
        KeyBindings moved;
        moved.bind(kUp1, kUsT);
        moved.remember();
        playersChoices().setValue(key, value);
        return KeyBindings::remembered();
    };
    // A file from before the keys had a version, or from a later game, or with two actions on one
    // key, reads as the defaults.
    QVERIFY(keptWith(QStringLiteral("controls/version"), QVariant()) == us);
    QVERIFY(keptWith(QStringLiteral("controls/version"), 2) == us);
    QVERIFY(keptWith(QStringLiteral("controls/player2/drop"), kUsT) == us);
    QVERIFY(keptWith(QStringLiteral("controls/player2/drop"), QStringLiteral("O")) == us);
    QCOMPARE(keptWith(QStringLiteral("controls/version"), 1).key(kUp1), kUsT);
    KeyBindings().remember();
}

void ControlsTest::everyKeyHeldLightsUp() {
    Rig rig;
    ControlsWindow& controls = *rig.window.controlsWindow();
    press(&controls, kUsW, QStringLiteral("w"));
    press(&controls, kUsD, QStringLiteral("d"));
    press(&controls, kUsI, QStringLiteral("i"));
    press(&controls, kUsK, QStringLiteral("k"));
    send(&controls, QEvent::KeyPress, kUsW, Qt::Key_W, QStringLiteral("w"), {}, true); // held, it repeats
    QCOMPARE(controls.held(), QStringLiteral("W D I K"));
    QVERIFY(!controls.button(kUp1)->styleSheet().isEmpty());
    QVERIFY(controls.button(kDown1)->styleSheet().isEmpty());
    release(&controls, kUsD, QStringLiteral("d"));
    QCOMPARE(controls.held(), QStringLiteral("W I K"));
}

void ControlsTest::theControlsBoxNamesTheKeysInForce() {
    // The game's box names each action's key as the platform names it ...
    struct Naming : HeadlessPlatform {
        using HeadlessPlatform::HeadlessPlatform;
        std::string keyName(char letter) override { return std::string("<") + letter + ">"; }
    } naming(config_.path().toStdString(), nullptr);
    Game game(naming, 1);
    chooseControls(game);
    QVERIFY(naming.lastMessage.starts_with(
        "Player 1: <W> / <S> / <A> / <D> steer up / down / left / right, <Q> "
        "stops (coasts to a halt) and leaves a station, <R> selects the next "
        "device, <E> drops the selected device.\n\nPlayer 2: <I> / <K> / <J> / <L>"));

    // ... and the game's real platform names them by the players' bindings, through the recording.
    const auto folder = testing::appFolder(false);
    QtPlatform boxes(folder->path().toStdString(), folder->path().toStdString());
    WindowedGame windowed({.platform = boxes, .seed = 1, .boxes = &boxes, .recorded = true});
    ControlsWindow& controls = *windowed.window.controlsWindow();
    QTest::mouseClick(controls.button(kUp1), Qt::LeftButton);
    press(&controls, kUsT, QStringLiteral("t"));
    QCOMPARE(windowed.game.platform.keyName('W'), std::string("T"));
    QCOMPARE(windowed.game.platform.keyName('I'), std::string("I"));
    controls.restoreButton()->click();
}

QTEST_MAIN(ControlsTest)
#include "controls_test.moc"
