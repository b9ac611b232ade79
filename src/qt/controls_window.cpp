#include "qt/controls_window.h"

#include "qt/gamepads.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace squeakrun::qt {

namespace {

// Keys that can never steer: the menus' modifiers, and F11, which switches full screen.
bool reserved(const QKeyEvent& e) {
    switch (e.key()) {
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Meta:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_F11:
        return true;
    default:
        return (e.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) != 0;
    }
}

} // namespace

ControlsWindow::ControlsWindow(KeyBindings& keys, Gamepads& pads, QWidget* parent)
    : QDialog(parent), keys_(keys), pads_(pads) {
    setWindowTitle(QStringLiteral("Controls"));
    auto* grid = new QGridLayout;
    for (int player = 0; player < 2; ++player)
        grid->addWidget(new QLabel(QStringLiteral("<b>Player %1</b>").arg(player + 1)), 0, player + 1,
                        Qt::AlignHCenter);
    for (Action action : kActions) {
        const int row = static_cast<int>(action) + 1;
        grid->addWidget(new QLabel(actionCaption(action)), row, 0);
        for (int player = 0; player < 2; ++player) {
            auto* b = new QPushButton;
            // The window keeps the keyboard: a focused button would take Space and the arrows.
            b->setFocusPolicy(Qt::NoFocus);
            b->setMinimumWidth(110);
            connect(b, &QPushButton::clicked, this, [this, player, action] { choose({player, action}); });
            buttons_[static_cast<std::size_t>(player)][static_cast<std::size_t>(action)] = b;
            grid->addWidget(b, row, player + 1);
        }
    }
    line_ = new QLabel(QStringLiteral("Click an action, then press its new key."));
    line_->setWordWrap(true);
    held_ = new QLabel;
    held_->setWordWrap(true);
    held_->setTextFormat(Qt::RichText);
    held_->setMinimumHeight(2 * fontMetrics().height());

    padsLine_ = new QLabel;
    padsLine_->setWordWrap(true);
    swap_ = new QPushButton(QStringLiteral("S&wap Gamepads"));
    swap_->setFocusPolicy(Qt::NoFocus);
    connect(swap_, &QPushButton::clicked, this, [this] { pads_.setSwapped(!pads_.swapped()); });
    connect(&pads_, &Gamepads::padsChanged, this, &ControlsWindow::showPads);
    auto* padsRow = new QHBoxLayout;
    padsRow->addWidget(padsLine_, 1);
    padsRow->addWidget(swap_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::RestoreDefaults | QDialogButtonBox::Close);
    restore_ = buttons->button(QDialogButtonBox::RestoreDefaults);
    for (QAbstractButton* b : buttons->buttons())
        b->setFocusPolicy(Qt::NoFocus);
    connect(restore_, &QPushButton::clicked, this, &ControlsWindow::restoreDefaults);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::hide);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(line_);
    layout->addWidget(new QLabel(QStringLiteral("Hold your keys together to see which ones the keyboard "
                                                "reports:")));
    layout->addWidget(held_);
    layout->addLayout(padsRow);
    layout->addWidget(buttons);
    setFocusPolicy(Qt::StrongFocus);
    refresh();
    showHeld();
    showPads();
}

QPushButton* ControlsWindow::button(Seat seat) const {
    return buttons_[static_cast<std::size_t>(seat.player)][static_cast<std::size_t>(seat.action)];
}

QString ControlsWindow::line() const {
    return line_->text();
}

QString ControlsWindow::held() const {
    QStringList captions;
    for (const Held& h : down_)
        captions.append(h.caption);
    return captions.join(QLatin1Char(' '));
}

void ControlsWindow::refresh() {
    for (int player = 0; player < 2; ++player)
        for (Action action : kActions) {
            const Seat seat{player, action};
            QPushButton* b = button(seat);
            b->setText(waiting_ == seat ? QStringLiteral("Press a key…") : keys_.label(seat));
            const bool lit =
                std::ranges::any_of(down_, [&](const Held& h) { return h.id == keys_.key(seat); });
            b->setStyleSheet(lit ? QStringLiteral("background: #ffd54a; color: black; font-weight: bold;")
                                 : QString());
        }
}

void ControlsWindow::showEvent(QShowEvent* e) {
    down_.clear();
    refresh();
    showHeld();
    QDialog::showEvent(e);
}

bool ControlsWindow::event(QEvent* e) {
    // Every key comes here first, Tab and Esc included, so that any key can be bound and held.
    switch (e->type()) {
    case QEvent::ShortcutOverride:
        e->accept(); // no shortcut of the game window fires while this window has the keyboard
        return true;
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        const auto* key = static_cast<QKeyEvent*>(e);
        const bool press = e->type() == QEvent::KeyPress;
        if (!key->isAutoRepeat()) hold(*key, press);
        if (press && waiting_)
            bindPressed(*key);
        else if (press && key->key() == Qt::Key_Escape)
            hide();
        return true;
    }
    case QEvent::WindowDeactivate:
        // Releases that happen elsewhere never come here.
        down_.clear();
        showHeld();
        break;
    default:
        break;
    }
    return QDialog::event(e);
}

void ControlsWindow::choose(Seat seat) {
    waiting_ = seat;
    line_->setText(QStringLiteral("Press the new key for %1 (Esc cancels).").arg(seatCaption(seat)));
    refresh();
}

void ControlsWindow::bindPressed(const QKeyEvent& e) {
    const Seat seat = *waiting_;
    waiting_.reset();
    const ScanCode code = e.nativeScanCode();
    if (e.key() == Qt::Key_Escape) {
        line_->setText(QStringLiteral("Nothing changed."));
    } else if (reserved(e)) {
        line_->setText(QStringLiteral("Ctrl, Alt, the system key and F11 belong to the menus: choose "
                                      "another key for %1.")
                           .arg(seatCaption(seat)));
    } else if (code == 0) {
        line_->setText(QStringLiteral("This keyboard does not tell where its keys are, so the keys stay "
                                      "the letters the game shows."));
    } else {
        keys_.learnLabel(e);
        if (const auto holder = keys_.bind(seat, code)) {
            line_->setText(
                QStringLiteral("%1 is already %2: choose another key, or give %2 another key first.")
                    .arg(keys_.label(code), seatCaption(*holder)));
        } else {
            keys_.remember();
            line_->setText(QStringLiteral("%1 is now %2.").arg(keys_.label(code)).arg(seatCaption(seat)));
        }
    }
    refresh();
}

void ControlsWindow::restoreDefaults() {
    waiting_.reset();
    keys_.restoreDefaults();
    keys_.remember();
    line_->setText(QStringLiteral("The default keys are back."));
    refresh();
}

void ControlsWindow::hold(const QKeyEvent& e, bool down) {
    const quint64 id =
        e.nativeScanCode() ? e.nativeScanCode() : (quint64{1} << 32) | static_cast<quint32>(e.key());
    std::erase_if(down_, [id](const Held& h) { return h.id == id; });
    if (down) {
        keys_.learnLabel(e);
        down_.push_back({id, e.nativeScanCode() ? keys_.label(e.nativeScanCode())
                                                : QKeySequence(e.key()).toString(QKeySequence::NativeText)});
    }
    showHeld();
    refresh();
}

QString ControlsWindow::padsText() const {
    return padsLine_->text();
}

void ControlsWindow::showPads() {
    swap_->setEnabled(pads_.available());
    if (!pads_.available()) {
        padsLine_->setText(QStringLiteral("Gamepads cannot be used on this computer."));
        return;
    }
    QStringList lines;
    for (int player = 0; player < 2; ++player) {
        const std::optional<QString> pad = pads_.padOf(player);
        lines.append(QStringLiteral("Player %1's gamepad: %2")
                         .arg(player + 1)
                         .arg(pad ? *pad : QStringLiteral("none")));
    }
    padsLine_->setText(
        lines.join(QLatin1Char('\n')) +
        QStringLiteral("\nD-pad or left stick steers, A drops, X selects, B stops, Start pauses."));
}

void ControlsWindow::showHeld() {
    if (down_.empty()) {
        held_->setText(QStringLiteral("<i>No key held.</i>"));
        return;
    }
    QString text =
        QStringLiteral("%1 held: ")
            .arg(down_.size() == 1 ? QStringLiteral("1 key") : QStringLiteral("%1 keys").arg(down_.size()));
    for (const Held& h : down_)
        text +=
            QStringLiteral("<span style=\"background:#ffd54a; color:black\">&nbsp;<b>%1</b>&nbsp;</span> ")
                .arg(h.caption.toHtmlEscaped());
    held_->setText(text);
}

} // namespace squeakrun::qt
