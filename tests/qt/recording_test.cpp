// A session recorded in the window, through the window's own ways in: keys and clicks played by the
// clock driver, the Options menu handing the cars to the computer, and the demo starting its next game
// by itself. Played again headless, it ends exactly where the window's game did.
#include "headless/headless_platform.h"
#include "headless/names.h"
#include "headless/scenario.h"
#include "headless/temp_folder.h"
#include "qt/windowed_game.h"

#include <QAction>
#include <QMenu>
#include <QTest>

#include <sstream>

using namespace squeakrun;
using namespace squeakrun::qt;

class RecordingTest : public QObject {
    Q_OBJECT
  private slots:
    void aSessionRecordedInTheWindowReplaysHeadlessToTheSameEnd();
};

void RecordingTest::aSessionRecordedInTheWindowReplaysHeadlessToTheSameEnd() {
    TempFolder folder;
    HeadlessPlatform world(folder.path(), nullptr);
    world.answers = {std::string("Ann"), std::string("Bob"), std::string("1")};
    WindowedGame windowed({.platform = world, .seed = 42, .recorded = true});
    Game& game = windowed.game;
    ClockDriver& driver = windowed.clock;
    GameWindow& window = windowed.window;
    std::int64_t wall = 0;
    driver.setWallClock([&wall] { return wall; });
    driver.setFrameNanos(20'000'000);
    windowed.startUp();
    world.useDefaults = true;
    driver.start();
    const auto frames = [&](std::int64_t ms, auto until) {
        for (const std::int64_t end = wall + ms; wall < end && !until(); wall += 20)
            driver.wake();
    };
    const auto never = [] { return false; };
    const Control& start = game.window.startButton;

    driver.play(Input::click("Command3"));
    frames(700, never);
    driver.play(Input::key("d"));
    frames(1300, never);
    driver.play(Input::key("w"));
    frames(900, never);
    auto entry = [&window](const char* caption) {
        for (QAction* a : window.optionsMenu()->actions())
            if (a->text() == QLatin1String(caption)) return a;
        return static_cast<QAction*>(nullptr);
    };
    entry("&Easy Computer")->trigger();
    entry("Computer Drives Both (&Demo)")->trigger();
    frames(400'000, [&start] { return start.visible; });
    QVERIFY2(start.visible, "the demo's game did not end");
    // The demo waits a moment on the wall, then starts its next game itself.
    QTRY_VERIFY_WITH_TIMEOUT(!start.visible, 5000);
    frames(3000, never);

    std::string text = windowed.recorder()->scenario(game, "1.0", "today");
    QVERIFY(text.find("computer 1 easy") != std::string::npos);
    QVERIFY(text.find("computer 2 easy") != std::string::npos);
    auto fields = gameFields(game);
    text += "expect clock " + std::to_string(game.clock.now) + '\n';
    for (const char* name :
         {"bmouse1.Left", "bmouse1.Top", "Command1.Left", "Command1.Top", "p1gas1", "p2gas1"})
        text += std::string("expect ") + name + ' ' + formatValue(fields.at(name).get()) + '\n';
    std::ostringstream out;
    QCOMPARE(runScenario(text, "recorded.scn", out), ScenarioStatus::Passed);
    // Both start clicks are in it: the player's and the demo's own.
    QVERIFY(text.find("click Command3") != text.rfind("click Command3"));
}

QTEST_MAIN(RecordingTest)
#include "recording_test.moc"
