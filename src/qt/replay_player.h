// Watching a recorded session in the window: the session's steps play on the game clock at real speed
// (or faster, or paused), each box appears as it did and closes itself with the recorded answer, the
// players' keys and clicks are ignored, and the title bar says it is a replay. Its record files live in
// a throw-away folder: watching touches nothing of the player's.
#pragma once

#include "qt/qt_platform.h"
#include "session/script.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

namespace squeakrun::qt {

class GameWindow;

// The boxes of a replay: shown as in the session, closed after a moment with the recorded answer. Its
// application and record folder is the replay's own; its Exit ends the replay, not the program.
class ReplayPlatform : public QtPlatform, public BoxAnswers {
  public:
    explicit ReplayPlatform(std::filesystem::path folder) : folder_(std::move(folder)) {}

    Button messageBox(const std::string& text, Buttons buttons, const std::string& title) override;
    std::string inputBox(const std::string& prompt, const std::string& title,
                         const std::string& defaultAnswer) override;
    std::filesystem::path appFolder() override { return folder_; }
    std::filesystem::path recordFolder() override { return folder_; }
    void quit() override {}

    int showFor = 1000; // ms a box stays open

  private:
    std::filesystem::path folder_;
};

class ReplayPlayer : public QObject {
    Q_OBJECT
  public:
    static constexpr double kFastest = 8;

    ReplayPlayer(Game& game, ReplayPlatform& platform, GameWindow& window, Script script);

    // Shows the window and plays from start-up on; the keys of the replay work from here.
    void start();

    double speed() const { return speed_; }
    bool paused() const { return paused_; }
    bool ended() const { return ended_; }
    // The expect lines of the session that the end of the replay does not match, as "NAME is X, the
    // recording says Y".
    const QStringList& differences() const { return differences_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // Moves the game on by the wall time since the last frame, at the replay's speed.
    void frame();
    void end();
    void showTitle();

    Game& g_;
    ReplayPlatform& platform_;
    GameWindow& window_;
    Script script_;
    ScriptPlayer steps_;
    QTimer frames_;
    QElapsedTimer wall_;
    double speed_ = 1, carry_ = 0;
    bool paused_ = false, ended_ = false, busy_ = false;
    QStringList differences_;
};

// Plays `session` in a window of its own, its records in a throw-away folder, until the viewer ends
// it, with sound unless `muted`; the program's exit code. The application object must exist.
int watchSession(Script session, bool muted);

} // namespace squeakrun::qt
