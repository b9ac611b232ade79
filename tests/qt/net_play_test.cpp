// Two game windows in one process play a network game over real sockets on this machine: both show
// both names, each side's keys steer its own car on both windows, the joiner pauses both and may not
// open the settings, and a player who leaves ends the game on the other side at once, where the session
// is saved and the player told. A game that cannot begin is a box; the address a joiner gives is read.
#include "rig.h"

#include "qt/net_lobby.h"
#include "qt/net_play.h"
#include "qt/playfield_view.h"
#include "qt/small_windows.h"

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

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

// Answers the box that asks for this player's name (and the address to call) once it is up.
void fillSetup(const QString& name, const QString& address = {}) {
    QTimer::singleShot(0, [name, address] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        const QList<QLineEdit*> edits = dialog->findChildren<QLineEdit*>();
        edits.first()->setText(name);
        if (!address.isEmpty()) edits.last()->setText(address);
        dialog->accept();
    });
}

// Closes the next modal message box once it is up, keeping its text in `told`.
void closeModalBox(QString& told) {
    auto* watch = new QTimer;
    QObject::connect(watch, &QTimer::timeout, [watch, &told] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        told = box->text();
        box->accept();
        watch->deleteLater();
    });
    watch->start(10);
}

// A port of ours nobody listens on now.
std::uint16_t freePort() {
    std::string why;
    for (;;) {
        const auto port = static_cast<std::uint16_t>(41050 + QRandomGenerator::global()->bounded(50));
        if (Link::listen(port, why)) return port;
    }
}

} // namespace

class NetPlayTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { qputenv("XDG_CONFIG_HOME", config_.path().toLocal8Bit()); }
    void twoWindowsPlayOneGame();
    void anAddressIsAHostAndMaybeAPort();
    void fromTheMenuAGameThatCannotBeginIsABox();
    void aGameWhosePlayerLeftIsSavedOnce();

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
    QVERIFY(host.window.settingsWindow()->isEnabled() && !joiner.window.settingsWindow()->isEnabled());
    joiner.window.action(&MainWindow::pauseEntry)->trigger();
    QTRY_VERIFY(host.game.paused && joiner.game.paused);
    for (const NetPlay* side : {&hosted, &joined})
        QTRY_COMPARE(side->line(), QStringLiteral("Bob paused the game"));

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

void NetPlayTest::fromTheMenuAGameThatCannotBeginIsABox() {
    Rig host;
    host.window.show();
    NetLobby lobby(host.windowed, host.platform, {});
    std::string why;
    const std::uint16_t port = freePort();
    const std::unique_ptr<Link> taken = Link::listen(port, why);
    QString told;
    fillSetup(QStringLiteral("Ann"));
    closeModalBox(told);
    lobby.host(port, false);
    QCOMPARE(told, QStringLiteral("Port %1 is in use or cannot be opened.").arg(port));
    QVERIFY(!lobby.play());
}

void NetPlayTest::aGameWhosePlayerLeftIsSavedOnce() {
    Rig host, joiner;
    host.window.show();
    joiner.window.show();
    QTemporaryDir hostRecords, joinerRecords;
    NetLobby hosting(host.windowed, host.platform, hostRecords.path());
    NetLobby joining(joiner.windowed, joiner.platform, joinerRecords.path());
    const std::uint16_t port = freePort();
    fillSetup(QStringLiteral("Ann"));
    hosting.host(port, false);
    QVERIFY(hosting.play());
    fillSetup(QStringLiteral("Bob"), QStringLiteral("127.0.0.1:%1").arg(port));
    joining.join(std::nullopt, false);
    QTRY_VERIFY(hosting.play()->began() && joining.play()->began());
    for (Rig* side : {&host, &joiner}) {
        QTRY_VERIFY(openBox(side->window));
        openBox(side->window)->button(QMessageBox::Ok)->click();
    }
    QTRY_VERIFY(hosting.session() && joining.session());

    // The joiner leaves: the host's player is told in one box, which names the file the session went to.
    joiner.window.close();
    QTRY_VERIFY(openBox(host.window) &&
                openBox(host.window)->windowTitle() == QStringLiteral("Network Game"));
    const QString told = openBox(host.window)->text();
    QVERIFY2(told.startsWith(QStringLiteral("Bob left the game\n\nThe session was saved as ")),
             qPrintable(told));
    // At the end of the program the host saves it no more; the joiner saves its own, and both replay.
    hosting.finish();
    joining.finish();
    for (const QTemporaryDir* records : {&hostRecords, &joinerRecords}) {
        const QStringList files = QDir(records->path()).entryList({QStringLiteral("*.scn")});
        QCOMPARE(files.size(), 1);
        const auto session =
            readScriptFile((records->path() + u'/' + files.first()).toStdString(), Dialect::Session);
        const auto* refused = std::get_if<ScriptError>(&session);
        QVERIFY2(!refused, refused ? describe(*refused).c_str() : "");
    }
}

QTEST_MAIN(NetPlayTest)
#include "net_play_test.moc"
