#include "qt/net_play.h"

#include "qt/computer_choice.h"
#include "qt/playfield_view.h"
#include "qt/small_windows.h"
#include "qt/windowed_game.h"
#include "rules/main_controls.h"
#include "rules/ticks.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

namespace squeakrun::qt {

namespace {

bool isExit(const Input& input) {
    return input.kind == InputKind::Menu && input.name == controlName(&MainWindow::exitEntry);
}

} // namespace

NetPlay::NetPlay(WindowedGame& windowed, Platform& platform, std::unique_ptr<Link> link, bool hosting,
                 Introduction me)
    : windowed_(windowed), platform_(platform), peer_(std::move(link), hosting, std::move(me), platform),
      line_(new QLabel(windowed.window.view())) {
    line_->setStyleSheet(QStringLiteral("background: rgba(0, 0, 0, 190); color: white; font-weight: bold; "
                                        "padding: 4px 10px; border-radius: 4px;"));
    line_->hide();
    frames_.setTimerType(Qt::PreciseTimer);
    frames_.setSingleShot(true);
    connect(&frames_, &QTimer::timeout, this, &NetPlay::frame);
    wall_.start();
    frames_.start(0);
}

NetPlay::~NetPlay() {
    closeBox();
    delete line_;
    if (!began_) return;
    windowed_.clock.routeInputs({});
    windowed_.window.settingsWindow()->setEnabled(true);
    if (!ended_) peer_.quit();
}

std::optional<std::string> NetPlay::recording() const {
    const NetGame* game = peer_.game();
    if (!game || !game->started()) return std::nullopt;
    return game->recording(QCoreApplication::applicationVersion().toStdString(),
                           QDateTime::currentDateTime().toString(Qt::ISODate).toStdString());
}

void NetPlay::frame() {
    if (inFrame_ || ended_) return;
    inFrame_ = true;
    const qint64 ns = wall_.nsecsElapsed();
    peer_.frame(static_cast<double>(ns - lastFrameNs_) / 1e6);
    lastFrameNs_ = ns;
    if (!began_ && peer_.game()) begin();
    if (began_) show();
    inFrame_ = false;
    if (!peer_.over()) return aim();
    ended_ = true;
    frames_.stop();
    closeBox();
    emit finished(QString::fromStdString(peer_.line()));
}

void NetPlay::aim() {
    // The link must hear from this machine every kKeysEvery. Between, the picture changes when a tick
    // that moves something falls due: the next frame comes then, one millisecond late so that the game,
    // whose clock may run a little slower than the wall's, has surely reached it. The ticks every 10 ms
    // (contacts, the key box) show nothing of their own before the next step of a car.
    std::int64_t wait = kKeysEvery.count();
    if (const NetGame* game = peer_.game()) {
        const GameClock& clock = game->shown().clock;
        for (std::size_t i = 0; i < clock.timers.size(); ++i)
            if (clock.timers[i].enabled && kTimerIntervals[i] > 10)
                wait = std::min(wait, clock.timers[i].due - clock.now + 1);
    }
    frames_.start(static_cast<int>(std::max<std::int64_t>(wait, 1)));
}

void NetPlay::begin() {
    began_ = true;
    GameWindow& window = windowed_.window;
    // Each machine's keys steer its own player's car: the computer drives neither here.
    Seating people = window.computer().seating();
    people.drivers = Drivers::People;
    window.computer().choose(people, false);
    // The window's own game stands from now on; it only holds what the network game shows.
    windowed_.clock.stop();
    windowed_.clock.refuseEvents(true);
    windowed_.clock.routeInputs({[this](const Input& input) { return take(input); },
                                 [this](const Input& input) { return may(input); }});
    // The joiner sees the host's Game Settings as the host changes them, and changes nothing there.
    window.settingsWindow()->setEnabled(may(Input::menu(controlName(&MainWindow::settingsEntry))));
    showLine({});
    emit met();
}

void NetPlay::show() {
    static_cast<GameState&>(windowed_.game) = peer_.game()->shown();
    windowed_.window.followModel();
    followBox();
    const QString text = line();
    if (text != line_->text()) showLine(text);
    line_->move((line_->parentWidget()->width() - line_->width()) / 2, 8);
}

void NetPlay::showLine(const QString& text) {
    line_->setText(text);
    line_->adjustSize();
    line_->setVisible(!text.isEmpty());
    // The title bar says it too, for a window that is not in front.
    QString title =
        QStringLiteral("Squeakrun! - player %1 of a network game").arg(peer_.game()->localPlayer() + 1);
    if (!text.isEmpty()) title += QStringLiteral(" - ") + text;
    windowed_.window.setWindowTitle(title);
}

QString NetPlay::line() const {
    if (const std::string said = peer_.line(); !said.empty()) return QString::fromStdString(said);
    const NetGame* game = peer_.game();
    if (!game) return {};
    if (const auto& box = game->box(); box && box->owner >= 0 && box->owner != game->localPlayer())
        return QStringLiteral("Waiting for %1 to answer\u2026").arg(nameOf(box->owner));
    const Game& shown = game->shown();
    if (shown.paused && shown.window.pauseEntry.enabled && game->pausedBy() >= 0)
        return QStringLiteral("%1 paused the game").arg(nameOf(game->pausedBy()));
    return {};
}

QString NetPlay::nameOf(int player) const {
    return QString::fromStdString(windowed_.game.players[player].name);
}

void NetPlay::followBox() {
    const NetGame& game = *peer_.game();
    const std::optional<BoxRequest>& box = game.box();
    const bool mine = box && (box->owner == BoxRequest::kEachPlayer || box->owner == game.localPlayer());
    if (box_ && !(mine && box->number == boxNumber_)) closeBox();
    if (!mine || box_) return;
    GameWindow& window = windowed_.window;
    const QString title =
        box->title.empty() ? QStringLiteral("Squeakrun!") : QString::fromStdString(box->title);
    const std::uint32_t number = box->number;
    if (box->input) {
        auto* dialog = new QInputDialog(&window);
        dialog->setLabelText(QString::fromStdString(box->text));
        dialog->setTextValue(QString::fromStdString(box->defaultAnswer));
        // A cancelled box answers empty text.
        connect(dialog, &QDialog::finished, this, [this, dialog, number](int result) {
            answerBox(number, Button::OK,
                      result == QDialog::Accepted ? dialog->textValue().toStdString() : "");
        });
        box_ = dialog;
    } else {
        const bool yesNo = box->buttons == Buttons::YesNo;
        auto* dialog = new QMessageBox(QMessageBox::NoIcon, title, QString::fromStdString(box->text),
                                       yesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok, &window);
        connect(dialog, &QDialog::finished, this, [this, dialog, number, yesNo] {
            const bool yes = dialog->clickedButton() == dialog->button(QMessageBox::Yes);
            answerBox(number, yesNo ? (yes ? Button::Yes : Button::No) : Button::OK, {});
        });
        box_ = dialog;
    }
    boxNumber_ = number;
    box_->setWindowTitle(title);
    // Window-modal and opened, not run: the frames go on, and so does the link, while the player reads.
    box_->setWindowModality(Qt::WindowModal);
    box_->open();
}

void NetPlay::answerBox(std::uint32_t number, Button button, const std::string& text) {
    box_->deleteLater();
    box_ = nullptr;
    NetGame* game = peer_.game();
    if (game && game->box() && game->box()->number == number) game->answer(button, text);
    frame();
}

void NetPlay::closeBox() {
    if (!box_) return;
    // Closed for the player: the box was answered elsewhere, or the game ended.
    box_->disconnect(this);
    box_->deleteLater();
    box_ = nullptr;
}

bool NetPlay::take(const Input& input) {
    if (isExit(input)) {
        // Leaving: the other machine hears at once, and the program ends.
        ended_ = true;
        frames_.stop();
        closeBox();
        peer_.quit();
        windowed_.game.exited = true;
        platform_.quit();
        return true;
    }
    NetGame* game = peer_.game();
    if (ended_ || !game) return false;
    // The input takes effect at the game time of now, and goes out at once.
    frame();
    if (input.kind == InputKind::Key) {
        game->press(input.name.empty() ? '\0' : input.name.front());
    } else if (!game->agree(input)) {
        return false;
    }
    frame();
    return true;
}

bool NetPlay::may(const Input& input) const {
    const NetGame* game = peer_.game();
    return isExit(input) || (game && !ended_ && mayAgree(game->localPlayer(), input));
}

} // namespace squeakrun::qt
