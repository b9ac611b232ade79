#include "qt/picture_button.h"

#include "qt/pixmap_cache.h"

#include <QPainter>

namespace squeakrun::qt {

PictureButton::PictureButton(PixmapCache& pictures, QWidget* parent)
    : QAbstractButton(parent), pictures_(pictures) {
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
}

void PictureButton::setPicture(const std::string& name) {
    if (name == picture_) return;
    picture_ = name;
    update();
}

void PictureButton::setScale(int scale) {
    scale_ = scale;
    update();
}

QSize PictureButton::sizeHint() const {
    const QSize natural = pictures_.naturalSize(picture_);
    return (natural.isEmpty() ? QSize(65, 21) : natural) * scale_;
}

void PictureButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QPixmap* pm = pictures_.get(picture_, scale_, devicePixelRatioF());
    if (!pm) {
        drawPlaceholder(painter, rect());
        return;
    }
    if (!isEnabled()) painter.setOpacity(0.5);
    // Pressed, the button sinks by one pixel of artwork.
    const int shift = isDown() ? scale_ : 0;
    painter.drawPixmap(QPoint(shift, shift), *pm);
    if (hover_ && isEnabled() && !isDown()) painter.fillRect(rect(), QColor(255, 255, 255, 40));
}

void PictureButton::enterEvent(QEnterEvent*) {
    hover_ = true;
    update();
}

void PictureButton::leaveEvent(QEvent*) {
    hover_ = false;
    update();
}

} // namespace squeakrun::qt
