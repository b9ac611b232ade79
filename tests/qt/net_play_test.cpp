// Two game windows in one process play a network game over real sockets on this machine: both show
// both names, each side's keys steer its own car on both windows, the joiner pauses both and may not
// open the settings, and a player who leaves ends the game on the other side at once. And the address a
// joiner gives.
#include "rig.h"

#include "qt/net_lobby.h"
#include "qt/net_play.h"
#include "qt/playfield_view.h"

#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using namespace squeakrun;
using namespace squeakrun::qt;
using squeakrun::qt::testing::Rig;

namespace {

// The message box the game opened over `window`, if one is open.
QMessageBox* openBox(GameWindow& window) {
    for (auto* box : window.findChildren<QMessageBox*>())
        if (box->isVisible()) return box;
    return nullptr;
}

} // namespace

class NetPlayTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { qputenv("XDG_CONFIG_HOME", config_.path().toLocal8Bit()); }
    void twoWindowsPlayOneGame();
    void anAddressIsAHostAndMaybeAPort();

  private:
    QTemporaryDir config_;
};

void NetPlayTest::twoWindowsPlayOneGame() {
    Rig host, joiner;
    host.window.show();
    joiner.window.show();
    std::string why;
    std::unique_ptr<Link> listening = Link::listen(0, why);
    QVERIFY2(listening, why.c_str());
    const std::uint16_t port = listening->port();
    NetPlay hosted(host.windowed, host.platform, std::move(listening), true, {"Ann", "1", 7, "2"});
    NetPlay joined(joiner.windowed, joiner.platform, Link::call("127.0.0.1", port, why), false, {"Bob", "1"});
    QSignalSpy hostEnded(&hosted, &NetPlay::finished);
    QTRY_VERIFY(hosted.began() && joined.began());

    // Each player closes the instructions on their own machine. Each machine asked only its own name,
    // and both windows show both.
    for (Rig* side : {&host, &joiner}) {
        QTRY_VERIFY(openBox(side->window));
        openBox(side->window)->button(QMessageBox::Ok)->click();
    }
    for (Rig* side : {&host, &joiner}) {
        QTRY_COMPARE(side->game.window.player1Name.caption, std::string("Ann"));
        QCOMPARE(side->game.window.player2Name.caption, std::string("Bob"));
    }
    // Either player may start: here the joiner.
    joiner.window.view()->startButton()->click();
    QTRY_VERIFY(host.game.carsMayMove && joiner.game.carsMayMove);

    // A key acts at once on its own machine and reaches the other's soon after. The joiner's 'd' is
    // player 1's key by place, and still steers the joiner's own car, player 2's.
    QTest::keyClick(&host.window, 'd');
    QCOMPARE(host.game.players[0].heading, Right);
    QTest::keyClick(&joiner.window, 'd');
    QCOMPARE(joiner.game.players[1].heading, Right);
    QTRY_COMPARE(joiner.game.players[0].heading, Right);
    QTRY_COMPARE(host.game.players[1].heading, Right);

    // Only the host changes the settings; either player pauses both, and both are told who did.
    QVERIFY(host.window.action(&MainWindow::settingsEntry)->isEnabled());
    QVERIFY(!joiner.window.action(&MainWindow::settingsEntry)->isEnabled());
    joiner.window.action(&MainWindow::pauseEntry)->trigger();
    QTRY_VERIFY(host.game.paused && joiner.game.paused);
    QTRY_COMPARE(hosted.line(), QStringLiteral("Bob paused the game"));
    QCOMPARE(joined.line(), QStringLiteral("Bob paused the game"));

    // The joiner closes the window: the host hears at once, not after the link's long silence.
    joiner.window.close(); // the Exit entry, as in any game
    QVERIFY(joiner.game.exited);
    QTRY_COMPARE_WITH_TIMEOUT(hostEnded.count(), 1, 3000);
    QCOMPARE(hostEnded.first().first().toString(), QStringLiteral("Bob left the game"));
    QVERIFY(hosted.recording().has_value());
}

void NetPlayTest::anAddressIsAHostAndMaybeAPort() {
    const std::optional<NetAddress> plain = addressNamed(QStringLiteral(" kitchen "));
    QVERIFY(plain && plain->host == QStringLiteral("kitchen") && plain->port == kDefaultPort);
    const std::optional<NetAddress> ported = addressNamed(QStringLiteral("10.0.0.2:4000"));
    QVERIFY(ported && ported->host == QStringLiteral("10.0.0.2") && ported->port == 4000);
    for (const char* bad :
         {"", ":4000", "kitchen:", "kitchen:0", "kitchen:65536", "kitchen:40x", "two words"})
        QVERIFY2(!addressNamed(QString::fromLatin1(bad)), bad);
}

QTEST_MAIN(NetPlayTest)
#include "net_play_test.moc"
