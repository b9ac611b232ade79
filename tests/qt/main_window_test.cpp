// The game window routes keys only through the focused key box, closes as the Exit entry, scales, repaints
// what changed, marks missing artwork, and lets the players switch the sound.
#include "rig.h"
#include "rules/boxes.h"
#include "rules/display.h"

#include "qt/computer_choice.h"
#include "qt/pixmap_cache.h"
#include "qt/playfield_painter.h"
#include "qt/playfield_view.h"
#include "qt/scaling.h"
#include "qt/small_windows.h"
#include "qt/speaker.h"

#include <QGuiApplication>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace squeakrun;
using namespace squeakrun::qt;
using squeakrun::qt::testing::Rig;

class MainWindowTest : public QObject {
    Q_OBJECT
  private slots:
    // The choices the tests make are kept in a folder of their own, never the player's: one for the
    // whole run, as Qt reads where the config folder is only once.
    void initTestCase() { qputenv("XDG_CONFIG_HOME", config_.path().toLocal8Bit()); }
    void ctrlPPausesAndResumes();
    void closingTheWindowIsTheExitEntry();
    void switchingToAnotherApplicationPausesARunningGame();
    void typedKeysSteerOnlyWhileTheKeyBoxHasTheFocus();
    void theOptionsMenuHandsACarToTheComputerAtOnce();
    void windowOpensAtTheLargestScaleThatFits();
    void resizedContentIsCentredAtAWholeScale();
    void repaintsOnlyWhenTheModelChanged();
    void partialRepaintsLeaveWhatAFullPaintWouldShow();
    void missingArtworkIsReportedOnceAndMarked();
    void ctrlMSwitchesTheSoundAndTheChoiceOutlivesTheRun();

  private:
    QTemporaryDir config_;
};

void MainWindowTest::ctrlPPausesAndResumes() {
    Rig rig;
    rig.startUp();
    rig.window.show();
    QVERIFY(QTest::qWaitForWindowActive(&rig.window));
    QAction* pause = rig.window.action(&MainWindow::pauseEntry);

    // Before the start the entry is disabled, and so is its shortcut.
    QTest::keyClick(&rig.window, Qt::Key_P, Qt::ControlModifier);
    QCOMPARE(pause->text(), QStringLiteral("&Pause Game"));

    rig.clickStart();
    QTest::keyClick(&rig.window, Qt::Key_P, Qt::ControlModifier);
    QVERIFY(rig.game.paused);
    QCOMPARE(pause->text(), QStringLiteral("Un-pause Game"));

    QTest::keyClick(&rig.window, Qt::Key_P, Qt::ControlModifier);
    QVERIFY(!rig.game.paused);
    QCOMPARE(pause->text(), QStringLiteral("Pause Game"));
    // Resuming hands the keys straight back; Ctrl+R (Rules) is no device key for player 1.
    QTest::keyClick(&rig.window, 'd');
    QCOMPARE(rig.game.players[0].heading, Count{3});
    QTest::keyClick(&rig.window, Qt::Key_R, Qt::ControlModifier);
    QCOMPARE(rig.game.players[0].device, Device::Trap);
}

void MainWindowTest::closingTheWindowIsTheExitEntry() {
    Rig rig;
    rig.startUp();
    rig.clickStart();
    rig.window.show();
    QVERIFY(!rig.window.close()); // the game ends the program itself ...
    QVERIFY(rig.game.exited);
    QVERIFY(!rig.game.clock.timers[0].enabled);
    QVERIFY(rig.window.close()); // ... and then the window may go
}

void MainWindowTest::switchingToAnotherApplicationPausesARunningGame() {
    Rig rig;
    rig.startUp();
    auto switchAway = [] { emit qGuiApp->applicationStateChanged(Qt::ApplicationInactive); };
    switchAway(); // no game yet: nothing to pause
    QCOMPARE(rig.window.action(&MainWindow::pauseEntry)->text(), QStringLiteral("&Pause Game"));
    rig.clickStart();
    switchAway();
    QVERIFY(rig.game.paused);
    QCOMPARE(rig.window.action(&MainWindow::pauseEntry)->text(), QStringLiteral("Un-pause Game"));
    // Coming back, or switching away again, leaves the game paused until the players resume it.
    emit qGuiApp->applicationStateChanged(Qt::ApplicationActive);
    switchAway();
    QVERIFY(rig.game.paused);
}

void MainWindowTest::typedKeysSteerOnlyWhileTheKeyBoxHasTheFocus() {
    Rig rig;
    rig.startUp();
    rig.window.show();
    QVERIFY(QTest::qWaitForWindowActive(&rig.window));

    // Before the start the key box has no focus: the key is lost.
    QTest::keyClick(&rig.window, 'd');
    QCOMPARE(rig.game.players[0].heading, Count{0});

    rig.clickStart();
    QTest::keyClick(&rig.window, 'd');
    QCOMPARE(rig.game.players[0].heading, Count{3});
    QTest::keyClick(&rig.window, 'I', Qt::ShiftModifier);
    QCOMPARE(rig.game.players[1].heading, Count{4});
    // With Ctrl held a letter is a shortcut, never a key for the game.
    QTest::keyClick(&rig.window, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(rig.game.players[0].heading, Count{3});

    // The About window takes the focus; closing it resumes the game but the keys stay away ...
    QTest::keyClick(&rig.window, Qt::Key_A, Qt::ControlModifier);
    QVERIFY(rig.game.about.visible);
    rig.clock.runEvent(closeAbout);
    QVERIFY(!rig.game.paused);
    QTest::keyClick(&rig.window, 'l');
    QCOMPARE(rig.game.players[1].heading, Count{4});

    // ... until a player clicks the field.
    const QPoint field = rig.window.view()->contentRect().topLeft() + QPoint(40, 40);
    QTest::mouseClick(rig.window.view(), Qt::LeftButton, {}, field);
    QVERIFY(rig.game.window.keyBox.focused);
    QTest::keyClick(&rig.window, 'l');
    QCOMPARE(rig.game.players[1].heading, Count{3});
}

void MainWindowTest::theOptionsMenuHandsACarToTheComputerAtOnce() {
    Rig rig;
    rig.startUp();
    rig.window.show();
    QVERIFY(QTest::qWaitForWindowActive(&rig.window));
    rig.clickStart();
    const QList<QAction*> entries = rig.window.optionsMenu()->actions();
    auto entry = [&entries](const QString& caption) {
        for (QAction* a : entries)
            if (a->text() == caption) return a;
        return static_cast<QAction*>(nullptr);
    };

    QSignalSpy seated(&rig.window.computer(), &ComputerChoice::seatChanged);
    entry(QStringLiteral("&Hard Computer"))->trigger(); // nobody is seated yet: no driver changes
    entry(QStringLiteral("Computer Drives Player &2"))->trigger();
    QCOMPARE(seated.size(), 1);
    QCOMPARE(seated[0][0].toInt(), 1);
    QCOMPARE(seated[0][1].value<std::optional<Skill>>(), std::optional(Skill::Hard));
    QVERIFY(rig.clock.seats().drives(1) && !rig.clock.seats().drives(0));
    QCOMPARE(rig.clock.seats().drivers[1]->skill(), Skill::Hard);

    // Player 2's keys are the computer's now; player 1's work as always.
    QTest::keyClick(&rig.window, 'j');
    QCOMPARE(rig.game.players[1].heading, Count{0});
    QTest::keyClick(&rig.window, 'D', Qt::ShiftModifier);
    QCOMPARE(rig.game.players[0].heading, Count{3});

    // Swapping the cars gives player 2's back and takes player 1's; the next run starts with it.
    entry(QStringLiteral("Computer Drives Player &1"))->trigger();
    QCOMPARE(seated.size(), 3);
    QTest::keyClick(&rig.window, 'j');
    QCOMPARE(rig.game.players[1].heading, Count{1});
    const Seating next = ComputerChoice::remembered();
    QCOMPARE(next.drivers, Drivers::Player1);
    QCOMPARE(next.skill, Skill::Hard);
}

void MainWindowTest::windowOpensAtTheLargestScaleThatFits() {
    const QSize content(457, 417);
    QCOMPARE(clientPixels(), content);
    // 90 % of 1600 x 1200 is 1440 x 1080: three times across, but only twice down.
    QCOMPARE(openingScale(QSize(1600, 1200), content, QSize(0, 0)), 2);
    QCOMPARE(openingScale(QSize(3840, 2160), content, QSize(0, 0)), 4);
    // 2000 x 1500 leaves 1800 x 1350: three fits (1371 x 1251) until the window needs 100 more down.
    QCOMPARE(openingScale(QSize(2000, 1500), content, QSize(0, 0)), 3);
    QCOMPARE(openingScale(QSize(2000, 1500), content, QSize(0, 100)), 2);
    // Never smaller than the artwork itself.
    QCOMPARE(openingScale(QSize(800, 600), content, QSize(0, 0)), 1);
    QCOMPARE(openingScale(QSize(320, 240), content, QSize(0, 0)), 1);
}

void MainWindowTest::resizedContentIsCentredAtAWholeScale() {
    Rig rig;
    rig.startUp();
    PlayfieldView* view = rig.window.view();
    rig.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&rig.window));

    view->resize(1000, 900); // twice fits (914 x 834), three times does not
    QCOMPARE(view->scale(), 2);
    QCOMPARE(view->contentRect(), QRect(43, 33, 914, 834));
    // The start button sits on the field at 1920, 1440 twips, 3015 x 1455, twice 15 twips a pixel.
    QCOMPARE(view->startButton()->geometry(), QRect(43 + 256, 33 + 192, 402, 194));

    view->resize(457 * 3, 417 * 3);
    QCOMPARE(view->scale(), 3);
    QCOMPARE(view->contentRect(), QRect(0, 0, 1371, 1251));
    // The small windows follow the main window's scale: Game Settings is 4335 x 3195 twips.
    QCOMPARE(rig.window.settingsWindow()->size(), QSize(867, 639));

    // F11 toggles full screen, where the view scales and centres the field as on any resize.
    QVERIFY(QTest::qWaitForWindowActive(&rig.window));
    QTest::keyClick(&rig.window, Qt::Key_F11);
    QTRY_VERIFY(rig.window.isFullScreen());
    QTest::keyClick(&rig.window, Qt::Key_F11);
    QTRY_VERIFY(!rig.window.isFullScreen());
}

void MainWindowTest::repaintsOnlyWhenTheModelChanged() {
    Rig rig;
    rig.startUp();
    rig.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&rig.window));
    PlayfieldView* view = rig.window.view();
    QTest::qWait(100);
    const int settled = view->paintCount();

    rig.window.followModel();
    rig.window.followModel();
    QTest::qWait(60);
    QCOMPARE(view->paintCount(), settled);

    // Each change the window follows is painted at once, in one paint (the clock driver decides how
    // often the clock's changes come).
    for (int step = 1; step <= 3; ++step) {
        rig.game.window.player1Car.left += 30;
        rig.window.followModel();
        QCOMPARE(view->paintCount(), settled + step);
    }
    QTest::qWait(60);
    QCOMPARE(view->paintCount(), settled + 3);
}

void MainWindowTest::partialRepaintsLeaveWhatAFullPaintWouldShow() {
    Rig rig;
    rig.startUp();
    rig.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&rig.window));
    rig.clickStart();
    MainWindow& f = rig.game.window;
    PlayfieldView* view = rig.window.view();
    // Frame by frame: a car drives, the other vanishes into a station, an item appears, numbers change.
    for (int frame = 0; frame < 12; ++frame) {
        f.player1Car.left += 45;
        f.player2Car.visible = frame % 2 == 0;
        f.bonusItem1.moveTo(2000 + 90.0f * frame, 2500);
        f.bonusItem1.visible = true;
        showNumber(f.player1Score, frame * 7);
        rig.window.followModel();
        QTest::qWait(25);
    }
    QTest::qWait(60);
    // What the window's backing store holds after the partial repaints, against a fresh full paint.
    const QPoint at = view->mapTo(&rig.window, QPoint(0, 0));
    const QImage onScreen =
        QGuiApplication::primaryScreen()
            ->grabWindow(rig.window.winId(), at.x(), at.y(), view->width(), view->height())
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    const QImage fresh = view->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(onScreen.size(), fresh.size());
    QVERIFY(onScreen == fresh);
}

void MainWindowTest::missingArtworkIsReportedOnceAndMarked() {
    Rig bare(false);
    bare.startUp();
    const QImage img = bare.window.view()->render(1);
    // Where the car would be, a magenta-bordered placeholder.
    QCOMPARE(img.pixelColor(pixelRect(bare.game.window, &MainWindow::player1Car, 1).topLeft()),
             QColor(255, 0, 255));

    const long long shown = bare.platform.messageCount;
    bare.window.reportMissingArtwork();
    QCOMPARE(bare.platform.messageCount, shown + 1);
    QVERIFY(bare.platform.lastMessage.find("badmousedown.gif") != std::string::npos);
    QVERIFY(bare.platform.lastMessage.find("field.gif") != std::string::npos);
    bare.window.reportMissingArtwork();
    QCOMPARE(bare.platform.messageCount, shown + 1);
}

void MainWindowTest::ctrlMSwitchesTheSoundAndTheChoiceOutlivesTheRun() {
    Rig rig;
    Speaker speaker(rig.folder->filePath(QStringLiteral("sounds")).toStdString());
    speaker.setMuted(!Speaker::chosenOn());
    rig.window.addSoundEntry(speaker);
    rig.startUp();
    rig.window.show();
    QVERIFY(QTest::qWaitForWindowActive(&rig.window));

    QStringList menus;
    for (const QAction* menu : rig.window.menuBar()->actions())
        menus << menu->text();
    QCOMPARE(menus,
             QStringList({QStringLiteral("&File"), QStringLiteral("&Options"), QStringLiteral("&Help")}));
    QVERIFY(!speaker.muted()); // on until a player turns it off
    QTest::keyClick(&rig.window, Qt::Key_M, Qt::ControlModifier);
    QVERIFY(speaker.muted());
    QVERIFY(!Speaker::chosenOn());
    QTest::keyClick(&rig.window, Qt::Key_M, Qt::ControlModifier);
    QVERIFY(!speaker.muted());
    QVERIFY(Speaker::chosenOn());
}

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
