#include "qt/playfield_view.h"

#include "qt/clock_driver.h"
#include "qt/pixmap_cache.h"
#include "qt/playfield_painter.h"
#include "qt/scaling.h"
#include "qt/theme.h"
#include "rules/events.h"
#include "rules/main_controls.h"
#include "rules/state.h"

#include <QBackingStore>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QToolTip>

#include <algorithm>
#include <cmath>

namespace squeakrun::qt {

PlayfieldView::PlayfieldView(Game& game, ClockDriver& clock, PixmapCache& pictures, QWidget* parent)
    : QWidget(parent), g_(game), clock_(clock), pictures_(pictures), start_(new QPushButton(this)) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(clientPixels());
    setFocusPolicy(Qt::NoFocus); // the main window keeps the keyboard
    setMouseTracking(false);
    // The start button must never take the keyboard: the players' keys belong to the game.
    start_->setFocusPolicy(Qt::NoFocus);
    start_->setCursor(Qt::PointingHandCursor);
    connect(start_, &QPushButton::clicked, this,
            [this] { clock_.play(Input::click(controlName(&MainWindow::startButton))); });
    styleStartButton();
    drawnParts(g_.window, scale_, shown_);
    placeStartButton();
}

QSize PlayfieldView::sizeHint() const {
    return clientPixels() * preferred_;
}

void PlayfieldView::followModel() {
    drawnParts(g_.window, scale_, now_);
    if (now_ == shown_) return;
    for (std::size_t i = 0; i < now_.size(); ++i) {
        if (now_[i] == shown_[i]) continue;
        // Where it was and where it is now: one box when the two overlap, as a moving car's do,
        // so that a frame sends the window system a few boxes rather than many slivers.
        const QRect& was = shown_[i].rect;
        const QRect& is = now_[i].rect;
        if (was.intersects(is)) {
            dirty_ += was.united(is);
        } else {
            dirty_ += was;
            dirty_ += is;
        }
    }
    // The start button is the last part: a widget of its own, it follows only its own changes.
    if (now_.back() != shown_.back()) placeStartButton();
    shown_.swap(now_);
    // The clock driver runs the clock when a change is to be shown, at most once per display frame, and
    // events as they come: what either changed is shown at once.
    if (!dirty_.isEmpty()) showFrame();
}

void PlayfieldView::placeStartButton() {
    const Control& c = g_.window.startButton;
    const QString caption = QString::fromStdString(c.caption);
    if (start_->text() != caption) start_->setText(caption);
    start_->setEnabled(c.enabled);
    start_->setGeometry(
        pixelRect(g_.window, &MainWindow::startButton, scale_).translated(content_.topLeft()));
    start_->setVisible(c.visible && g_.window.playfield.visible);
}

void PlayfieldView::styleStartButton() {
    const int s = scale_;
    start_->setFont(theme::font(18 * s, true));
    start_->setStyleSheet(
        QStringLiteral("QPushButton { background: %1; color: %2; border: %3px solid %4;"
                       " border-bottom-width: %5px; border-right-width: %5px; }"
                       "QPushButton:hover { background: %6; }"
                       "QPushButton:pressed { background: %7; border-width: %5px %3px %3px %5px; }"
                       "QPushButton:disabled { color: %8; }")
            .arg(theme::kGold.name(), theme::kBrown.name())
            .arg(2 * s)
            .arg(theme::kInk.name())
            .arg(4 * s)
            .arg(theme::kGoldLight.name(), theme::kGoldDark.name(), theme::kSlateEdge.name()));
}

void PlayfieldView::showFrame() {
    // Painted and handed to the window system now, not on a later turn of the event loop: the
    // clock driver already wakes only when there is something to show.
    const QRegion region = dirty_.translated(content_.topLeft());
    dirty_ = QRegion();
    if (!paintIntoWindow(region)) repaint(region);
}

bool PlayfieldView::paintIntoWindow(const QRegion& region) {
    // Straight into the window's backing store, without the round of the widgets' repaint machinery
    // (a frame's largest cost after waking up): only while nothing lies over the field (the start
    // button) and the store matches the window.
    QWidget* top = window();
    QBackingStore* store = top->backingStore();
    if (!store || !top->windowHandle() || !isVisible() || start_->isVisible() || store->size() != top->size())
        return false;
    const QPoint offset = mapTo(top, QPoint(0, 0));
    const QRegion inWindow = region.translated(offset);
    store->beginPaint(inWindow);
    {
        QPainter painter(store->paintDevice());
        painter.translate(offset);
        paint(painter, region);
    }
    store->endPaint();
    store->flush(inWindow, top->windowHandle());
    return true;
}

void PlayfieldView::paintEvent(QPaintEvent* e) {
    QPainter painter(this);
    paint(painter, e->region());
}

void PlayfieldView::paint(QPainter& painter, const QRegion& region) {
    lastPaint_.first = clock_.wallNanos();
    ++paints_;
    // The dark border round the content when the window is larger than a whole scale needs.
    if (content_ != rect() && !content_.contains(region.boundingRect())) {
        const QRegion border = QRegion(rect()).subtracted(QRegion(content_));
        for (const QRect& r : border.intersected(region))
            painter.fillRect(r, theme::kBorder);
    }
    painter.translate(content_.topLeft());
    // Only the places asked for.
    const QRegion asked = region.translated(-content_.topLeft()) & QRect(QPoint(0, 0), content_.size());
    if (!asked.isEmpty()) paintMainWindow(painter, g_.window, pictures_, scale_, devicePixelRatioF(), asked);
    painter.translate(-content_.topLeft());
    lastPaint_.second = clock_.wallNanos();
}

QImage PlayfieldView::render(int scale) {
    QImage image(clientPixels() * scale, QImage::Format_ARGB32_Premultiplied);
    image.fill(theme::kBorder);
    QPainter painter(&image);
    paintMainWindow(painter, g_.window, pictures_, scale, 1.0);
    return image;
}

void PlayfieldView::resizeEvent(QResizeEvent*) {
    const int s = scaleThatFits(size(), clientPixels());
    content_ = centredContent(size(), clientPixels(), s);
    if (s != scale_) {
        scale_ = s;
        styleStartButton();
        emit scaleChanged(s);
    }
    drawnParts(g_.window, scale_, shown_);
    dirty_ = QRegion();
    placeStartButton();
    update();
}

QPointF PlayfieldView::toTwips(QPoint pos) const {
    const QPointF local = QPointF(pos - content_.topLeft()) * kTwipsPerPixel / scale_;
    return local;
}

PlayfieldView::Target PlayfieldView::targetAt(QPoint pos) const {
    const QPointF t = toTwips(pos);
    const MainWindow& f = g_.window;
    auto hits = [&](Control MainWindow::*m) {
        return shown(f, m) && (f.*m).enabled && twipsRect(f, m).contains(t);
    };
    if (hits(&MainWindow::player1Gas)) return Target::Gas1;
    if (hits(&MainWindow::player2Gas)) return Target::Gas2;
    // Anything lying on the field counts as the field: a player clicking to take the keyboard
    // back should not have to miss the cars.
    if (hits(&MainWindow::playfield)) return Target::Field;
    return Target::None;
}

void PlayfieldView::mousePressEvent(QMouseEvent* e) {
    pressed_ = e->button() == Qt::LeftButton ? targetAt(e->position().toPoint()) : Target::None;
}

void PlayfieldView::mouseReleaseEvent(QMouseEvent* e) {
    // A click is a press and a release on the same thing.
    const Target pressed = pressed_;
    pressed_ = Target::None;
    if (e->button() != Qt::LeftButton || pressed == Target::None ||
        targetAt(e->position().toPoint()) != pressed)
        return;
    switch (pressed) {
    case Target::Gas1:
        clock_.play(Input::click(controlName(&MainWindow::player1Gas)));
        break;
    case Target::Gas2:
        clock_.play(Input::click(controlName(&MainWindow::player2Gas)));
        break;
    case Target::Field:
        clock_.play(Input::click(controlName(&MainWindow::playfield)));
        break;
    case Target::None:
        break;
    }
}

bool PlayfieldView::event(QEvent* e) {
    if (e->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(e);
        const Control* c = controlAt(g_.window, toTwips(help->pos()));
        if (c && !c->toolTip.empty()) {
            QToolTip::showText(help->globalPos(), QString::fromStdString(c->toolTip), this);
        } else {
            QToolTip::hideText();
            e->ignore();
        }
        return true;
    }
    return QWidget::event(e);
}

} // namespace squeakrun::qt
