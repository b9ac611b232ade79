// The game window with the real widgets on the scripted platform: the menu and its shortcuts, typed
// keys reaching the key box only while it has the focus, the scale the window opens and draws at,
// and what the playfield painter puts on screen, missing artwork included.
#include "game/window/ops.h"
#include "rig.h"

#include "game/window/qt/pixmap_cache.h"
#include "game/window/qt/playfield_painter.h"
#include "game/window/qt/playfield_view.h"
#include "game/window/qt/scaling.h"
#include "game/window/qt/small_windows.h"

#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QTest>

using namespace squeakrun;
using namespace squeakrun::qt;
using squeakrun::qt::testing::Rig;

namespace {

struct Entry {
    const char* caption;
    const char* shortcut; // nullptr: a separator
};

QMenu* menuAt(MainWindow& w, int i) {
    return w.menuBar()->actions().at(i)->menu();
}

void checkMenu(QMenu* menu, const char* title, std::initializer_list<Entry> entries) {
    QCOMPARE(menu->title(), QString::fromUtf8(title));
    const QList<QAction*> actions = menu->actions();
    QCOMPARE(actions.size(), static_cast<qsizetype>(entries.size()));
    int i = 0;
    for (const Entry& e : entries) {
        QAction* a = actions.at(i++);
        if (!e.shortcut) {
            QVERIFY2(a->isSeparator(), e.caption);
            continue;
        }
        QCOMPARE(a->text(), QString::fromUtf8(e.caption));
        QCOMPARE(a->shortcut(), QKeySequence(QString::fromLatin1(e.shortcut)));
    }
}

// The colour at the middle of a control, as drawn at `scale`.
QColor middleOf(const QImage& img, const Form1& f, Control Form1::*m, int scale) {
    return img.pixelColor(pixelRect(f, m, scale).center());
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void menuTreeIsTheGamesMenu();
    void pauseAndSettingsAreOnlyOfferedDuringAGame();
    void ctrlPPausesAndResumes();
    void rulesAndControlsChangeNothing();
    void typedKeysSteerOnlyWhileTheKeyBoxHasTheFocus();
    void windowOpensAtTheLargestScaleThatFits();
    void resizedContentIsCentredAtAWholeScale();
    void paintsTheModel();
    void countdownAndGaugeAreReadable();
    void repaintsOnlyWhenTheModelChanged();
    void partialRepaintsLeaveWhatAFullPaintWouldShow();
    void missingArtworkIsReportedOnceAndMarked();
};

void MainWindowTest::menuTreeIsTheGamesMenu() {
    Rig rig;
    QCOMPARE(rig.window.windowTitle(), QStringLiteral("Squeakrun!"));
    QCOMPARE(rig.window.menuBar()->actions().size(), 2);
    checkMenu(menuAt(rig.window, 0), "&File",
              {{"&Pause Game", "Ctrl+P"},
               {"&Game Settings", "Ctrl+G"},
               {"&High Scores", "Ctrl+H"},
               {"separator", nullptr},
               {"&Exit", "Ctrl+X"}});
    checkMenu(menuAt(rig.window, 1), "&Help",
              {{"Rules", "Ctrl+R"},
               {"Controls", "Ctrl+C"},
               {"separator", nullptr},
               {"&About 'Squeakrun'", "Ctrl+A"}});
}

void MainWindowTest::pauseAndSettingsAreOnlyOfferedDuringAGame() {
    Rig rig;
    rig.startUp();
    auto enabled = [&](const char* name) { return rig.window.action(name)->isEnabled(); };
    QVERIFY(!enabled("mnuFilePause"));
    QVERIFY(!enabled("mnuFileSettings"));
    for (const char* always :
         {"mnuFileScores", "mnuFileExit", "mnuHelpRules", "mnuHelpControls", "mnuHelpAbout"})
        QVERIFY2(enabled(always), always);

    rig.clickStart();
    QVERIFY(enabled("mnuFilePause"));
    QVERIFY(enabled("mnuFileSettings"));
    QVERIFY(!rig.window.view()->startButton()->isVisible());
}

void MainWindowTest::ctrlPPausesAndResumes() {
    Rig rig;
    rig.startUp();
    rig.window.show();
    QVERIFY(QTest::qWaitForWindowActive(&rig.window));
    QAction* pause = rig.window.action("mnuFilePause");

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
    // Resuming hands the keys straight back.
    QTest::keyClick(&rig.window, 'd');
    QCOMPARE(rig.game.p[0].dir, Count{3});
}

void MainWindowTest::rulesAndControlsChangeNothing() {
    Rig rig;
    rig.startUp();
    rig.window.show();
    QVERIFY(QTest::qWaitForWindowActive(&rig.window));
    rig.clickStart();
    QTest::keyClick(&rig.window, Qt::Key_R, Qt::ControlModifier);
    QTest::keyClick(&rig.window, Qt::Key_C, Qt::ControlModifier);
    QVERIFY(!rig.game.paused);
    QVERIFY(rig.game.f1.Text3.Focused);
    QCOMPARE(rig.game.f1.Text3.Text, std::string());
    QCOMPARE(rig.window.action("mnuFilePause")->text(), QStringLiteral("&Pause Game"));
    // Ctrl+R is no key for player 1's device selection either.
    QCOMPARE(rig.game.p[0].device, Count{1});
}

void MainWindowTest::typedKeysSteerOnlyWhileTheKeyBoxHasTheFocus() {
    Rig rig;
    rig.startUp();
    rig.window.show();
    QVERIFY(QTest::qWaitForWindowActive(&rig.window));

    // Before the start the key box has no focus: the key is lost.
    QTest::keyClick(&rig.window, 'd');
    QCOMPARE(rig.game.p[0].dir, Count{0});
    QCOMPARE(rig.game.f1.Text3.Text, std::string());

    rig.clickStart();
    QTest::keyClick(&rig.window, 'd');
    QCOMPARE(rig.game.p[0].dir, Count{3});
    QCOMPARE(rig.game.f1.Text3.Text, std::string()); // a consumed key empties the box
    QTest::keyClick(&rig.window, 'I', Qt::ShiftModifier);
    QCOMPARE(rig.game.p[1].dir, Count{4});
    // With Ctrl held a letter is a shortcut, never a key for the game.
    QTest::keyClick(&rig.window, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(rig.game.p[0].dir, Count{3});

    // The About window takes the focus; closing it resumes the game but the keys stay away ...
    QTest::keyClick(&rig.window, Qt::Key_A, Qt::ControlModifier);
    QVERIFY(rig.game.f2.Visible);
    rig.driver.runEvent(Form2_Command1_Click);
    QVERIFY(!rig.game.paused);
    QTest::keyClick(&rig.window, 'l');
    QCOMPARE(rig.game.p[1].dir, Count{4});

    // ... until a player clicks the field.
    const QPoint field = rig.window.view()->contentRect().topLeft() + QPoint(40, 40);
    QTest::mouseClick(rig.window.view(), Qt::LeftButton, {}, field);
    QVERIFY(rig.game.f1.Text3.Focused);
    QTest::keyClick(&rig.window, 'l');
    QCOMPARE(rig.game.p[1].dir, Count{3});
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
}

void MainWindowTest::paintsTheModel() {
    Rig rig;
    rig.startUp();
    Form1& f = rig.game.f1;
    PlayfieldView* view = rig.window.view();
    for (int scale : {1, 3}) {
        const QImage withCar = view->render(scale);
        QCOMPARE(withCar.size(), QSize(457, 417) * scale);

        // The same spot with the car driven away shows the floor ...
        const float left = f.bmouse1.Left;
        f.bmouse1.Left = 3000;
        const QImage floor = view->render(scale);
        f.bmouse1.Left = left;
        QVERIFY(middleOf(withCar, f, &Form1::bmouse1, scale) != middleOf(floor, f, &Form1::bmouse1, scale));
        // ... and so does a hidden car in its place.
        f.bmouse1.Visible = false;
        const QImage hidden = view->render(scale);
        f.bmouse1.Visible = true;
        QCOMPARE(middleOf(hidden, f, &Form1::bmouse1, scale), middleOf(floor, f, &Form1::bmouse1, scale));
    }

    // The players' names are written into the panel.
    const QImage named = view->render(1);
    f.lblpname1.Caption.clear();
    const QImage unnamed = view->render(1);
    QVERIFY(named.copy(pixelRect(f, &Form1::lblpname1, 1)) !=
            unnamed.copy(pixelRect(f, &Form1::lblpname1, 1)));
}

void MainWindowTest::countdownAndGaugeAreReadable() {
    Rig rig;
    rig.startUp();
    Form1& f = rig.game.f1;
    PlayfieldView* view = rig.window.view();

    // "Go!" over the car is wider than its 45-twip label, and is drawn whole.
    f.fdown1.Move(f.bmouse1.Left, f.bmouse1.Top - 255);
    f.fdown1.Caption = "Go!";
    const QImage before = view->render(2);
    f.fdown1.Visible = true;
    const QImage after = view->render(2);
    const QRect label = pixelRect(f, &Form1::fdown1, 2);
    const QRect beyond(label.right() + 1, label.top(), 20, label.height());
    QVERIFY(before.copy(beyond) != after.copy(beyond));

    // The gauge prints its lines from 255 twips down; above them it is plain.
    f.piccar1.Visible = true;
    const QImage blank = view->render(1);
    f.piccar1.Lines = {"Gas: 30", "Speed: 80"};
    const QImage printed = view->render(1);
    const QRect gauge = pixelRect(f, &Form1::piccar1, 1);
    const QRect top(gauge.left(), gauge.top(), gauge.width(), 17);
    const QRect lines(gauge.left(), gauge.top() + 17, gauge.width(), gauge.height() - 17);
    QCOMPARE(printed.copy(top), blank.copy(top));
    QVERIFY(printed.copy(lines) != blank.copy(lines));
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
        rig.game.f1.bmouse1.Left += 30;
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
    Form1& f = rig.game.f1;
    PlayfieldView* view = rig.window.view();
    // Frame by frame: a car drives, the other vanishes into a station, an item appears, numbers change.
    for (int frame = 0; frame < 12; ++frame) {
        f.bmouse1.Left += 45;
        f.Command1.Visible = frame % 2 == 0;
        f.Command2.Move(2000 + 90.0f * frame, 2500);
        f.Command2.Visible = true;
        showNumber(f.lblscore1, frame * 7);
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
    QCOMPARE(img.pixelColor(pixelRect(bare.game.f1, &Form1::bmouse1, 1).topLeft()), QColor(255, 0, 255));

    const long long shown = bare.platform.messageCount;
    bare.window.reportMissingArtwork();
    QCOMPARE(bare.platform.messageCount, shown + 1);
    QVERIFY(bare.platform.lastMessage.find("badmousedown.gif") != std::string::npos);
    QVERIFY(bare.platform.lastMessage.find("field.gif") != std::string::npos);
    bare.window.reportMissingArtwork();
    QCOMPARE(bare.platform.messageCount, shown + 1);

    // With every picture present there is nothing to report.
    Rig complete;
    complete.startUp();
    const long long before = complete.platform.messageCount;
    complete.window.reportMissingArtwork();
    QCOMPARE(complete.platform.messageCount, before);
}

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
