// Gamepads: the first pad plugged in drives player 1 and the second player 2 (or the other way round,
// as the players choose). The D-pad or the left stick steers, south (A) drops the device, west (X)
// selects the next, east (B) stops or leaves a station, Start pauses. A push is the player's key press,
// so everything that follows keys follows pads: recording, replays, the computer's seat.
//
// The pads are read through SDL's game controller part, which knows the buttons of common pads and
// reads further mappings from SDL_GAMECONTROLLERCONFIG; SDL installs no signal handlers, so Ctrl+C
// ends the game as always. Pads are read only while one is connected; with none, the game only
// hears from the system when a device appears in /dev/input, and costs nothing.
#pragma once

#include "qt/key_bindings.h"

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>

#include <array>
#include <functional>
#include <optional>
#include <vector>

namespace squeakrun::qt {

class Gamepads : public QObject {
    Q_OBJECT
  public:
    // What a pad does: an action of a player, or the pause entry.
    using Press = std::function<void(Seat)>;
    using Pause = std::function<void()>;
    Gamepads(Press press, Pause pause, QObject* parent = nullptr);
    ~Gamepads() override;

    // Whether pads can be read at all on this machine.
    bool available() const { return available_; }
    // The name of the pad that drives the player, if one does.
    std::optional<QString> padOf(int player) const;
    // The first pad drives player 2 and the second player 1; kept for the next run.
    bool swapped() const { return swapped_; }
    void setSwapped(bool swapped);

    // Reads what the pads did since the last look: plugged, unplugged, pushed.
    void poll();
    // How often pads are read while one is connected.
    static constexpr int kPollMs = 8;
    bool polling() const { return pollTimer_.isActive(); }

  signals:
    // A pad was plugged in, unplugged, or the pads swapped.
    void padsChanged();
    // The pad that drove the player was unplugged.
    void padLost(int player);

  private:
    struct Pad {
        int id;        // SDL's instance id
        void* handle;  // SDL_GameController*
        int slot;      // 0 for the first pad, 1 for the second, -1 for a spare
        Action stick;  // where the stick points beyond the dead zone ...
        bool stickOut; // ... when it does
    };
    Pad* pad(int id);
    int player(const Pad& p) const { return p.slot < 0 ? -1 : swapped_ ? 1 - p.slot : p.slot; }
    void plugged(int deviceIndex);
    void unplugged(int id);
    void pushed(Pad& p, int button);
    void stickMoved(Pad& p);
    void act(const Pad& p, Action action);
    void keepPolling();

    Press press_;
    Pause pause_;
    bool available_ = false;
    bool swapped_ = false;
    std::vector<Pad> pads_;
    QTimer pollTimer_;
    QFileSystemWatcher devices_;
};

} // namespace squeakrun::qt
