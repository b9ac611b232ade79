#include "qt/replay_player.h"

#include "qt/clock_driver.h"
#include "qt/main_window.h"
#include "qt/speaker.h"
#include "qt/windowed_game.h"

#include <QApplication>
#include <QInputDialog>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>

namespace squeakrun::qt {

namespace {

// A frame of the replay; a longer gap (a box, a stall) moves the game no further than this.
constexpr int kFrameMs = 15;
constexpr qint64 kLongestStepMs = 100;

QMessageBox::StandardButton standardButton(Button b) {
    switch (b) {
    case Button::Yes:
        return QMessageBox::Yes;
    case Button::No:
        return QMessageBox::No;
    default:
        return QMessageBox::Ok;
    }
}

} // namespace

Button ReplayPlatform::messageBox(const std::string& text, Buttons buttons, const std::string& title) {
    const Button reply =
        replies.empty() ? (buttons == Buttons::YesNo ? Button::Yes : Button::OK) : replies.front();
    if (!replies.empty()) replies.pop_front();
    // The box closes itself unless someone closed it first; the game takes the recorded button either way.
    QTimer::singleShot(showFor, qApp, [this, reply, box = boxesClosed()] {
        auto* open = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!open || boxesClosed() != box) return;
        QAbstractButton* button = open->button(standardButton(reply));
        (button ? button : open->defaultButton())->click();
    });
    QtPlatform::messageBox(text, buttons, title);
    return reply;
}

std::string ReplayPlatform::inputBox(const std::string& prompt, const std::string& title,
                                     const std::string& defaultAnswer) {
    const std::optional<std::string> answer =
        answers.empty() ? std::optional(defaultAnswer) : answers.front();
    if (!answers.empty()) answers.pop_front();
    QTimer::singleShot(showFor, qApp, [this, answer, box = boxesClosed()] {
        auto* open = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
        if (!open || boxesClosed() != box) return;
        if (!answer) return open->reject();
        open->setTextValue(QString::fromStdString(*answer));
        open->accept();
    });
    QtPlatform::inputBox(prompt, title, defaultAnswer);
    return answer.value_or(std::string());
}

ReplayPlayer::ReplayPlayer(Game& game, ReplayPlatform& platform, GameWindow& window, Script script)
    : g_(game), platform_(platform), window_(window), script_(std::move(script)),
      steps_(game, platform, script_) {
    frames_.setTimerType(Qt::PreciseTimer);
    frames_.setInterval(kFrameMs);
    connect(&frames_, &QTimer::timeout, this, &ReplayPlayer::frame);
}

void ReplayPlayer::start() {
    qApp->installEventFilter(this);
    showTitle();
    window_.show();
    wall_.start();
    frames_.start();
}

bool ReplayPlayer::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Close && watched == &window_) {
        // Closing the window ends the replay: the game inside it is the recording's, not the player's.
        QApplication::quit();
        return false;
    }
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride) return false;
    if (event->type() == QEvent::ShortcutOverride) {
        event->accept(); // no menu shortcut reaches the recorded game
        return false;
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->isAutoRepeat()) return true;
    switch (key->key()) {
    case Qt::Key_Space:
        paused_ = !paused_;
        break;
    case Qt::Key_Right:
    case Qt::Key_Plus:
        speed_ = std::min(speed_ * 2, kFastest);
        break;
    case Qt::Key_Left:
    case Qt::Key_Minus:
        speed_ = std::max(speed_ / 2, 1 / kFastest);
        break;
    case Qt::Key_Escape:
        QApplication::closeAllWindows();
        QApplication::quit();
        return true;
    default:
        return true; // the players' keys are the recording's
    }
    platform_.showFor = static_cast<int>(1000 / std::max(speed_, 1.0));
    showTitle();
    return true;
}

void ReplayPlayer::frame() {
    // A box of the replay holds the game, as it did in the session.
    if (busy_ || ended_ || platform_.boxOpen()) return;
    const qint64 elapsed = std::min(wall_.restart(), kLongestStepMs);
    if (paused_) return;
    // While no car can move (the start button waits, the game is paused) time goes by at the fastest.
    const double budget = carry_ + static_cast<double>(elapsed) * (g_.carsMayMove ? speed_ : kFastest);
    const double whole = std::floor(budget);
    carry_ = budget - whole;
    busy_ = true;
    const bool more = steps_.playUntil(g_.clock.now + static_cast<std::int64_t>(whole));
    busy_ = false;
    window_.followModel();
    if (!more) end();
}

void ReplayPlayer::end() {
    ended_ = true;
    frames_.stop();
    for (const std::string& difference : endDifferences(script_, g_))
        differences_ << QString::fromStdString(difference);
    showTitle();
    if (!differences_.isEmpty())
        QMessageBox::warning(&window_, QStringLiteral("Replay"),
                             QStringLiteral("This replay did not end as the recorded game did, so it was "
                                            "probably saved by a game whose rules differ:\n\n") +
                                 differences_.join(QLatin1Char('\n')));
}

void ReplayPlayer::showTitle() {
    QString state = ended_    ? QStringLiteral("ended")
                    : paused_ ? QStringLiteral("paused")
                              : QStringLiteral("%1×").arg(speed_);
    window_.setWindowTitle(
        QStringLiteral("Squeakrun! replay (%1) - Space pauses, arrows change the speed, Esc ends")
            .arg(state));
}

int watchSession(Script session, bool muted) {
    QTemporaryDir folder;
    if (!folder.isValid()) return 1;
    ReplayPlatform platform(folder.path().toStdString());
    writeRecords(session, platform.recordFolder());
    QtPlatform artwork; // the window's pictures and sounds; its boxes are the window's own
    Speaker speaker(artwork.appFolder() / "sounds");
    speaker.setMuted(muted);
    platform.setSpeaker(&speaker);
    WindowedGame windowed(
        {.platform = platform, .seed = session.seed, .boxes = &platform, .pictures = &artwork});
    windowed.clock.refuseEvents(true);
    ReplayPlayer player(windowed.game, platform, windowed.window, std::move(session));
    player.start();
    return QApplication::exec();
}

} // namespace squeakrun::qt
