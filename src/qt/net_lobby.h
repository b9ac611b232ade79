// Starting a network game from the window: File > Host a Network Game… and Join a Network Game…, or
// --host and --join on the command line. One box asks this machine's player's name (the host's also
// the difficulty and the port, the joiner's the host's address, remembered between runs); then a box
// shows the host's addresses, or whom the joiner calls, until the two machines meet or the player
// cancels. What keeps them from meeting is one line: a box, or from the command line a line on stderr
// that ends the program. When their game ends, its session is saved as a replay file.
#pragma once

#include "net/link.h"
#include "qt/net_play.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <cstdint>
#include <memory>
#include <optional>

class QAction;
class QMenu;
class QMessageBox;

namespace squeakrun::qt {

class WindowedGame;

struct NetAddress {
    QString host;
    std::uint16_t port = kDefaultPort;
};
// A port as the player writes it (1 to 65535), or nullopt.
std::optional<std::uint16_t> portNamed(const QString& text);
// "HOST" or "HOST:PORT", or nullopt for an empty host or a port that is none.
std::optional<NetAddress> addressNamed(const QString& text);

class NetLobby : public QObject {
    Q_OBJECT
  public:
    // Sessions are saved in `recordFolder` (--record); without one, a session that ended badly still
    // goes to the player's data folder, for a bug report.
    NetLobby(WindowedGame& windowed, Platform& platform, QString recordFolder);
    ~NetLobby() override;

    void addEntries(QMenu& fileMenu);
    // Asks the player's name and hosts on `port`, or joins `address`, each offered in the box as the
    // command line gave it (`fromCommandLine`) or as remembered.
    void host(std::optional<std::uint16_t> port, bool fromCommandLine);
    void join(std::optional<NetAddress> address, bool fromCommandLine);

    // The network game, once one was begun.
    NetPlay* play() const { return play_.get(); }
    // The session of a network game that began, or nullopt.
    std::optional<std::string> session() const;
    // At the program's end: a network game's session goes to the record folder, unless it went already.
    void finish();

  private:
    void meet(std::unique_ptr<Link> link, bool hosting, const QString& name, const QString& difficulty,
              const QString& waiting);
    void cancelled();
    void refuse(const QString& line);
    void gameEnded(const QString& why);
    std::optional<std::filesystem::path> save(const QString& folder);
    void showEntries();

    WindowedGame& windowed_;
    Platform& platform_;
    QString recordFolder_;
    std::unique_ptr<NetPlay> play_;
    QPointer<QMessageBox> waiting_;
    QAction* hostEntry_ = nullptr;
    QAction* joinEntry_ = nullptr;
    bool fromCommandLine_ = false, saved_ = false;
};

} // namespace squeakrun::qt
