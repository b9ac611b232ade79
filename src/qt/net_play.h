// A network game in the game window. Every display frame the two machines' game moves on by the wall
// time since the last (NetPeer::frame) and the window shows it as this machine does, the other car
// predicted; the players' keys, clicks and menu entries go to it instead of the window's own game; a box
// it opens for this machine's player opens here without holding the link up; and a line over the field
// says what both players must know: who paused, that the other machine is waited for, that its player
// left.
#pragma once

#include "net/net_peer.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>
#include <optional>
#include <string>

class QDialog;
class QLabel;

namespace squeakrun::qt {

class WindowedGame;

class NetPlay : public QObject {
    Q_OBJECT
  public:
    // Meets the other machine over `link` (the frames run from now on) and, once they have met, plays in
    // `windowed`'s window. `platform` gives the game its folders and sounds, and ends the program when
    // this machine's player leaves.
    NetPlay(WindowedGame& windowed, Platform& platform, std::unique_ptr<Link> link, bool hosting,
            Introduction me);
    // A game still in play is left: the other machine hears at once.
    ~NetPlay() override;

    const NetPeer& peer() const { return peer_; }
    // The two machines met, and the window shows their game.
    bool began() const { return began_; }
    // Nothing more will happen.
    bool ended() const { return ended_; }
    // The game both machines agree on, as a scenario file; nothing before its start-up ran on both.
    std::optional<std::string> recording() const;
    // What the line over the field says.
    QString line() const;

    // Moves the game on to now and shows it; the frame timer calls it, and so does every input.
    void frame();

  signals:
    // The two machines met: the window shows their game from now on.
    void met();
    // Nothing more will happen: the other machine refused or never answered (before the game began),
    // or the game ended (its player left, the two games went apart, the link broke). Not sent when this
    // machine's player leaves.
    void finished(const QString& why);

  private:
    void begin();
    // Sets the frame timer for the next frame.
    void aim();
    void show();
    void showLine(const QString& text);
    void followBox();
    void answerBox(std::uint32_t number, Button button, const std::string& text);
    void closeBox();
    // An input of this machine's player; false when the game does not take it.
    bool take(const Input& input);
    bool may(const Input& input) const;
    QString nameOf(int player) const;

    WindowedGame& windowed_;
    Platform& platform_;
    NetPeer peer_;
    QTimer frames_;
    QElapsedTimer wall_;
    qint64 lastFrameNs_ = 0;
    QLabel* line_;
    QDialog* box_ = nullptr;
    std::uint32_t boxNumber_ = 0;
    bool began_ = false, ended_ = false, inFrame_ = false;
};

} // namespace squeakrun::qt
