// The About, Game Settings and High Scores windows: shown and hidden with the game, edits written
// into the game, their buttons and the title bar's close button doing what the game says.
#include "rig.h"

#include "qt/small_windows.h"
#include "records/record_file.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

using namespace squeakrun;
using namespace squeakrun::qt;
using squeakrun::qt::testing::Rig;

class SmallWindowsTest : public QObject {
    Q_OBJECT
  private slots:
    void settingsShowNamesAndWriteEditsIntoTheGame();
    void applyAsksFirstAndTakesTheWantedDifficulty();
    void closeButtonOfTheTitleBarWorksAsTheWindowsButton();
    void highScoresShowTheStoredRecord();
    void aboutShowsItsPicturesAndClosesWithOk();
};

void SmallWindowsTest::settingsShowNamesAndWriteEditsIntoTheGame() {
    Rig rig;
    rig.startUp();
    rig.window.show();
    rig.clickStart();
    SettingsDialog* w = rig.window.settingsWindow();
    QVERIFY(!w->isVisible());

    rig.window.action("mnuFileSettings")->trigger();
    QVERIFY(w->isVisible());
    QCOMPARE(w->windowTitle(), QStringLiteral("Game Settings"));
    QCOMPARE(w->name1()->text(), QStringLiteral("Ann"));
    QCOMPARE(w->name2()->text(), QStringLiteral("Bob"));
    QCOMPARE(w->name1()->toolTip(), QStringLiteral("First Player's Name"));
    QCOMPARE(w->difficulty()->toolTip(), QStringLiteral("Difficulty Wanted"));
    QCOMPARE(w->applyButton()->toolTip(), QStringLiteral("Complete Changes"));
    QCOMPARE(w->difficulty()->count(), 3);
    QCOMPARE(w->difficulty()->itemText(2), QStringLiteral("Hard"));
    QCOMPARE(w->difficulty()->currentIndex(), 0);

    QTest::keyClicks(w->name2(), "ette");
    QCOMPARE(rig.game.settings.player2NameBox.text, std::string("Bobette"));
    QTest::keyClick(w->difficulty(), Qt::Key_Down);
    QCOMPARE(rig.game.settings.difficultyList.listIndex, 1);
    // Typing is not applying: the main window keeps the old name.
    QCOMPARE(rig.game.window.player2Name.caption, std::string("Bob"));
}

void SmallWindowsTest::applyAsksFirstAndTakesTheWantedDifficulty() {
    Rig rig;
    rig.startUp();
    rig.window.show();
    rig.clickStart();
    SettingsDialog* w = rig.window.settingsWindow();
    rig.window.action("mnuFileSettings")->trigger();
    QTest::keyClick(w->difficulty(), Qt::Key_Down);
    QTest::keyClick(w->difficulty(), Qt::Key_Down);

    // "No" leaves everything as it was, window open.
    rig.platform.replies = {Button::No};
    QTest::mouseClick(w->applyButton(), Qt::LeftButton);
    QCOMPARE(rig.platform.lastTitle, std::string("Proceed with changes?"));
    QVERIFY(w->isVisible());
    QCOMPARE(rig.game.difficulty, std::string("2"));

    rig.platform.replies = {Button::Yes};
    QTest::mouseClick(w->applyButton(), Qt::LeftButton);
    QVERIFY(!w->isVisible());
    QCOMPARE(rig.game.difficulty, std::string("3"));
    QVERIFY(rig.game.settingsChanged);
}

void SmallWindowsTest::closeButtonOfTheTitleBarWorksAsTheWindowsButton() {
    Rig rig;
    rig.startUp();
    rig.window.show();
    rig.clickStart();
    SmallWindow* windows[] = {rig.window.aboutWindow(), rig.window.settingsWindow(),
                              rig.window.scoresWindow()};
    const char* entries[] = {"mnuHelpAbout", "mnuFileSettings", "mnuFileScores"};
    for (int i = 0; i < 3; ++i) {
        rig.window.action(entries[i])->trigger();
        QVERIFY(windows[i]->isVisible());
        QVERIFY(rig.game.paused);
        QCOMPARE(rig.window.action("mnuFilePause")->text(), QStringLiteral("Un-pause Game"));

        windows[i]->close();
        QVERIFY2(!windows[i]->isVisible(), entries[i]);
        QVERIFY(!rig.game.paused);
        QVERIFY(rig.game.carsMayMove);
        QCOMPARE(rig.window.action("mnuFilePause")->text(), QStringLiteral("Pause Game"));
    }
    // Cancel by the close button applies nothing.
    QCOMPARE(rig.game.difficulty, std::string("2"));
    QVERIFY(!rig.game.settingsChanged);
}

void SmallWindowsTest::highScoresShowTheStoredRecord() {
    Rig rig;
    const std::filesystem::path folder = rig.folder->path().toStdString();
    QVERIFY(saveRecordFile(folder / "hscore.txt", "310"));
    QVERIFY(saveRecordFile(folder / "name.txt", "Ann"));
    QVERIFY(saveRecordFile(folder / "comment.txt", "Cheese for everyone!"));
    rig.startUp();
    rig.window.show();

    rig.window.action("mnuFileScores")->trigger();
    ScoresDialog* w = rig.window.scoresWindow();
    QVERIFY(w->isVisible());
    QCOMPARE(w->windowTitle(), QStringLiteral("High Scores"));
    QCOMPARE(w->scoreBox()->toPlainText(), QStringLiteral("310"));
    QCOMPARE(w->nameBox()->toPlainText(), QStringLiteral("Ann"));
    QCOMPARE(w->commentBox()->toPlainText(), QStringLiteral("Cheese for everyone!"));
    QVERIFY(w->commentBox()->isReadOnly());

    QTest::mouseClick(w->backButton(), Qt::LeftButton);
    QVERIFY(!w->isVisible());
    QVERIFY(!rig.game.scores.visible);
}

void SmallWindowsTest::aboutShowsItsPicturesAndClosesWithOk() {
    Rig rig;
    rig.startUp();
    rig.window.show();
    rig.window.action("mnuHelpAbout")->trigger();
    AboutDialog* w = rig.window.aboutWindow();
    QVERIFY(w->isVisible());
    QCOMPARE(w->windowTitle(), QStringLiteral("About 'Squeakrun!'"));
    // 2895 x 2415 twips at scale 1; the OK button is the 975 x 315 picture at 960, 1320.
    QCOMPARE(w->size(), QSize(193, 161));
    QCOMPARE(w->okButton()->geometry(), QRect(64, 88, 65, 21));

    QTest::mouseClick(w->okButton(), Qt::LeftButton);
    QVERIFY(!w->isVisible());
    QVERIFY(!rig.game.about.visible);
}

QTEST_MAIN(SmallWindowsTest)
#include "small_windows_test.moc"
