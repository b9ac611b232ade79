#include "qt/net_lobby.h"

#include "qt/qt_platform.h"
#include "qt/replay_menu.h"
#include "qt/windowed_game.h"
#include "session/session_file.h"
#include "window/numbers.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHostAddress>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QNetworkInterface>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardPaths>

#include <cstdio>

namespace squeakrun::qt {

namespace {

// What the box before a network game asks.
struct Setup {
    QString name, difficulty, address;
    std::uint16_t port = kDefaultPort;
};

// The box before a network game: this machine's player's name, and the host's difficulty and port or
// the joiner's host address. Nullopt when the player cancels.
std::optional<Setup> askSetup(QWidget* parent, bool hosting, const Setup& offered) {
    QDialog dialog(parent);
    dialog.setWindowTitle(hosting ? QStringLiteral("Host a Network Game")
                                  : QStringLiteral("Join a Network Game"));
    auto* form = new QFormLayout(&dialog);
    auto* name = new QLineEdit(offered.name);
    form->addRow(hosting ? QStringLiteral("Your name (player 1):") : QStringLiteral("Your name (player 2):"),
                 name);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    QComboBox* difficulty = nullptr;
    QSpinBox* port = nullptr;
    QLineEdit* address = nullptr;
    if (hosting) {
        difficulty = new QComboBox;
        difficulty->addItems(
            {QStringLiteral("1 - Easy"), QStringLiteral("2 - Average"), QStringLiteral("3 - Hard")});
        difficulty->setCurrentIndex(std::clamp(offered.difficulty.toInt(), 1, 3) - 1);
        form->addRow(QStringLiteral("Difficulty:"), difficulty);
        port = new QSpinBox;
        port->setRange(1, 65535);
        port->setValue(offered.port);
        form->addRow(QStringLiteral("Port:"), port);
    } else {
        address = new QLineEdit(offered.address);
        address->setPlaceholderText(QStringLiteral("name or address, :port unless %1").arg(kDefaultPort));
        form->addRow(QStringLiteral("Host's address:"), address);
        // Only an address that can be called is taken.
        QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
        const auto check = [ok, address] { ok->setEnabled(addressNamed(address->text()).has_value()); };
        QObject::connect(address, &QLineEdit::textChanged, &dialog, check);
        check();
    }
    form->addRow(buttons);
    // The offered name starts selected, so typing replaces it and Enter takes it.
    name->setFocus();
    name->selectAll();
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    Setup chosen = offered;
    chosen.name = name->text();
    if (difficulty) chosen.difficulty = QString::number(difficulty->currentIndex() + 1);
    if (port) chosen.port = static_cast<std::uint16_t>(port->value());
    if (address) chosen.address = address->text().trimmed();
    return chosen;
}

// The addresses the other player may call this machine at.
QString ownAddresses() {
    QStringList found;
    for (const QHostAddress& a : QNetworkInterface::allAddresses())
        if (a.protocol() == QAbstractSocket::IPv4Protocol && !a.isLoopback()) found << a.toString();
    return found.isEmpty() ? QStringLiteral("127.0.0.1 (this machine only: no network is up)")
                           : found.join(QStringLiteral(", "));
}

// Where a session that ended badly goes when the player named no record folder.
QString playersReplayFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/squeakrun/replays");
}

} // namespace

std::optional<std::uint16_t> portNamed(const QString& text) {
    return portNumber(text.trimmed().toStdString());
}

std::optional<NetAddress> addressNamed(const QString& text) {
    const QString trimmed = text.trimmed();
    const qsizetype colon = trimmed.lastIndexOf(u':');
    NetAddress address{trimmed.left(colon), kDefaultPort};
    if (colon >= 0) {
        const std::optional<std::uint16_t> port = portNamed(trimmed.mid(colon + 1));
        if (!port) return std::nullopt;
        address.port = *port;
    }
    if (address.host.isEmpty() || address.host.contains(u' ')) return std::nullopt;
    return address;
}

NetLobby::NetLobby(WindowedGame& windowed, Platform& platform, QString recordFolder)
    : windowed_(windowed), platform_(platform), recordFolder_(std::move(recordFolder)) {}

NetLobby::~NetLobby() {
    delete waiting_;
}

void NetLobby::addEntries(QMenu& fileMenu) {
    fileMenu.addSeparator();
    hostEntry_ = fileMenu.addAction(QStringLiteral("Host a Network Game…"));
    joinEntry_ = fileMenu.addAction(QStringLiteral("Join a Network Game…"));
    connect(hostEntry_, &QAction::triggered, this, [this] { host(std::nullopt, false); });
    connect(joinEntry_, &QAction::triggered, this, [this] { join(std::nullopt, false); });
}

void NetLobby::host(std::optional<std::uint16_t> port, bool fromCommandLine) {
    fromCommandLine_ = fromCommandLine;
    QSettings choices = playersChoices();
    Setup offered{
        choices.value(QStringLiteral("network/name")).toString(),
        choices.value(QStringLiteral("network/difficulty"), QStringLiteral("2")).toString(),
        {},
        port.value_or(
            portNamed(choices.value(QStringLiteral("network/port")).toString()).value_or(kDefaultPort))};
    // A game in the window waits while its players set up the other.
    windowed_.clock.play(Input::switchAway());
    const std::optional<Setup> setup = askSetup(&windowed_.window, true, offered);
    if (!setup) return cancelled();
    choices.setValue(QStringLiteral("network/name"), setup->name);
    choices.setValue(QStringLiteral("network/difficulty"), setup->difficulty);
    choices.setValue(QStringLiteral("network/port"), setup->port);
    std::string why;
    std::unique_ptr<Link> link = Link::listen(setup->port, why);
    if (!link) return refuse(QString::fromStdString(why));
    const QString waiting = QStringLiteral("Waiting for the other player to join.\n\n"
                                           "This machine's addresses: %1\nPort: %2\n\n"
                                           "The other player chooses File > Join a Network Game… and "
                                           "gives one of these addresses.")
                                .arg(ownAddresses())
                                .arg(link->port());
    meet(std::move(link), true, setup->name, setup->difficulty, waiting);
}

void NetLobby::join(std::optional<NetAddress> address, bool fromCommandLine) {
    fromCommandLine_ = fromCommandLine;
    QSettings choices = playersChoices();
    Setup offered{choices.value(QStringLiteral("network/name")).toString(),
                  {},
                  choices.value(QStringLiteral("network/address")).toString(),
                  kDefaultPort};
    if (address) offered.address = QStringLiteral("%1:%2").arg(address->host).arg(address->port);
    windowed_.clock.play(Input::switchAway());
    const std::optional<Setup> setup = askSetup(&windowed_.window, false, offered);
    if (!setup) return cancelled();
    choices.setValue(QStringLiteral("network/name"), setup->name);
    choices.setValue(QStringLiteral("network/address"), setup->address);
    const NetAddress called = *addressNamed(setup->address);
    std::string why;
    std::unique_ptr<Link> link = Link::call(called.host.toStdString(), called.port, why);
    if (!link) return refuse(QString::fromStdString(why));
    meet(std::move(link), false, setup->name, {},
         QStringLiteral("Calling %1 on port %2…").arg(called.host).arg(called.port));
}

void NetLobby::meet(std::unique_ptr<Link> link, bool hosting, const QString& name, const QString& difficulty,
                    const QString& waiting) {
    play_.reset();
    saved_ = false;
    Introduction me{name.toStdString(), QCoreApplication::applicationVersion().toStdString(), freshSeed(),
                    difficulty.toStdString()};
    play_ = std::make_unique<NetPlay>(windowed_, platform_, std::move(link), hosting, std::move(me));
    connect(play_.get(), &NetPlay::met, this, [this] {
        if (waiting_) {
            waiting_->disconnect(this);
            waiting_->deleteLater();
        }
        showEntries();
    });
    connect(play_.get(), &NetPlay::finished, this, [this](const QString& why) {
        if (play_->began())
            gameEnded(why);
        else
            refuse(why);
    });
    waiting_ = new QMessageBox(QMessageBox::Information,
                               hosting ? QStringLiteral("Hosting a Network Game")
                                       : QStringLiteral("Joining a Network Game"),
                               waiting, QMessageBox::Cancel, &windowed_.window);
    waiting_->setWindowModality(Qt::WindowModal);
    connect(waiting_, &QDialog::finished, this, &NetLobby::cancelled);
    waiting_->open();
}

void NetLobby::cancelled() {
    if (waiting_) waiting_->deleteLater();
    // The link closes with its game: a machine already called hears that this one left.
    if (play_ && !play_->began()) play_.release()->deleteLater();
    if (fromCommandLine_) QCoreApplication::exit(0);
}

void NetLobby::refuse(const QString& line) {
    if (waiting_) {
        waiting_->disconnect(this);
        waiting_->deleteLater();
    }
    if (fromCommandLine_) {
        std::fprintf(stderr, "squeakrun: %s\n", qPrintable(line));
        QCoreApplication::exit(1);
        return;
    }
    QMessageBox::warning(&windowed_.window, QStringLiteral("Network Game"), line);
}

void NetLobby::gameEnded(const QString& why) {
    showEntries();
    const QString folder = recordFolder_.isEmpty() ? playersReplayFolder() : recordFolder_;
    const std::optional<std::filesystem::path> file = save(folder);
    const QString saved =
        file ? QStringLiteral("The session was saved as %1.").arg(QString::fromStdString(file->string()))
             : QStringLiteral("The session could not be saved in %1.").arg(folder);
    auto* box = new QMessageBox(QMessageBox::Information, QStringLiteral("Network Game"),
                                why + QStringLiteral("\n\n") + saved, QMessageBox::Ok, &windowed_.window);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::WindowModal);
    box->open();
}

std::optional<std::string> NetLobby::session() const {
    return play_ && play_->began() ? play_->recording() : std::nullopt;
}

std::optional<std::filesystem::path> NetLobby::save(const QString& folder) {
    const std::optional<std::string> text = session();
    if (!text) return std::nullopt;
    auto file = saveNewScenarioFile(folder.toStdString(), sessionFileStem().toStdString(), *text);
    saved_ = file.has_value();
    return file;
}

void NetLobby::finish() {
    if (saved_ || recordFolder_.isEmpty() || !session()) return;
    if (!save(recordFolder_))
        std::fprintf(stderr, "squeakrun: the session could not be recorded in %s\n",
                     qPrintable(recordFolder_));
}

void NetLobby::showEntries() {
    const bool playing = play_ && play_->began() && !play_->ended();
    if (hostEntry_) hostEntry_->setEnabled(!playing);
    if (joinEntry_) joinEntry_->setEnabled(!playing);
}

} // namespace squeakrun::qt
