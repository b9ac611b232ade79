// The About, Game Settings and High Scores windows show and hide with the game and write edits into it.
// Their buttons and the title bar's close button do what the game's own buttons do.
#include "rig.h"

#include "qt/small_windows.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTest>

using namespace squeakrun;
using namespace squeakrun::qt;
using squeakrun::qt::testing::Rig;

class SmallWindowsTest : public QObject {
    Q_OBJECT
  private slots:
    void settingsShowNamesAndApplyTheEdits();
    void closeButtonOfTheTitleBarWorksAsTheWindowsButton();
};

void SmallWindowsTest::settingsShowNamesAndApplyTheEdits() {
    Rig rig;
    rig.startUp();
    rig.window.show();
    rig.clickStart();
    SettingsDialog* w = rig.window.settingsWindow();
    QVERIFY(!w->isVisible());

    rig.window.action(&MainWindow::settingsEntry)->trigger();
    QVERIFY(w->isVisible());
    QCOMPARE(w->windowTitle(), QStringLiteral("Game Settings"));
    QCOMPARE(w->name1()->text(), QStringLiteral("Ann"));
    QCOMPARE(w->name2()->text(), QStringLiteral("Bob"));
    QCOMPARE(w->difficulty()->count(), 3);
    QCOMPARE(w->difficulty()->itemText(2), QStringLiteral("Hard"));
    QCOMPARE(w->difficulty()->currentIndex(), 0);

    QTest::keyClicks(w->name2(), "ette");
    QCOMPARE(rig.game.settings.player2NameBox.text, std::string("Bobette"));
    QTest::keyClick(w->difficulty(), Qt::Key_Down);
    QCOMPARE(rig.game.settings.difficultyList.listIndex, 1);
    // Typing is not applying: the main window keeps the old name until Apply is confirmed.
    QCOMPARE(rig.game.window.player2Name.caption, std::string("Bob"));
    rig.platform.replies = {Button::Yes};
    QTest::mouseClick(w->applyButton(), Qt::LeftButton);
    QCOMPARE(rig.platform.lastTitle, std::string("Proceed with changes?"));
    QVERIFY(!w->isVisible());
    QCOMPARE(rig.game.window.player2Name.caption, std::string("Bobette"));
    QCOMPARE(rig.game.difficulty, std::string("2"));
}

void SmallWindowsTest::closeButtonOfTheTitleBarWorksAsTheWindowsButton() {
    Rig rig;
    rig.startUp();
    rig.window.show();
    rig.clickStart();
    SmallWindow* windows[] = {rig.window.aboutWindow(), rig.window.settingsWindow(),
                              rig.window.scoresWindow()};
    Control MainWindow::*entries[] = {&MainWindow::aboutEntry, &MainWindow::settingsEntry,
                                      &MainWindow::highScoresEntry};
    for (int i = 0; i < 3; ++i) {
        rig.window.action(entries[i])->trigger();
        QVERIFY(windows[i]->isVisible());
        QVERIFY(rig.game.paused);
        windows[i]->close();
        QVERIFY(!windows[i]->isVisible());
        QVERIFY(!rig.game.paused);
        QVERIFY(rig.game.carsMayMove);
        QCOMPARE(rig.window.action(&MainWindow::pauseEntry)->text(), QStringLiteral("Pause Game"));
    }
    // Cancel by the close button applies nothing.
    QCOMPARE(rig.game.difficulty, std::string("2"));
    QVERIFY(!rig.game.settingsChanged);
}

QTEST_MAIN(SmallWindowsTest)
#include "small_windows_test.moc"
