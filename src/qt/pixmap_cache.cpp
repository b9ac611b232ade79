#include "qt/pixmap_cache.h"

#include <QPainter>

#include <cmath>

namespace squeakrun::qt {

PixmapCache::PixmapCache(std::filesystem::path imagesFolder) : folder_(std::move(imagesFolder)) {}

const QImage* PixmapCache::load(const std::string& name) {
    if (name.empty()) return nullptr;
    const QString key = QString::fromStdString(name);
    if (auto it = images_.constFind(key); it != images_.constEnd()) return &*it;
    if (absent_.contains(key)) return nullptr;
    QImage img(QString::fromStdString((folder_ / name).string()));
    if (img.isNull()) {
        absent_.insert(key);
        missing_.append(key);
        return nullptr;
    }
    // The two pixel formats that draw fastest: a picture without transparency is copied, not blended.
    return &*images_.insert(key,
                            img.convertToFormat(img.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                                      : QImage::Format_RGB32));
}

const QPixmap* PixmapCache::get(const std::string& name, int scale, qreal dpr) {
    if (scale != atScaleOf_ || qRound(dpr * 100) != atDprOf_) {
        atScale_.clear();
        atScaleOf_ = scale;
        atDprOf_ = qRound(dpr * 100);
    }
    if (const auto it = atScale_.find(name); it != atScale_.end())
        return it->second.isNull() ? nullptr : &it->second;
    const QPixmap* found = scaled(name, scale, dpr);
    QPixmap& kept = atScale_[name];
    if (found) kept = *found;
    return found ? &kept : nullptr;
}

const QPixmap* PixmapCache::scaled(const std::string& name, int scale, qreal dpr) {
    const QImage* img = load(name);
    if (!img) return nullptr;
    const QString key =
        QStringLiteral("%1|%2|%3").arg(QString::fromStdString(name)).arg(scale).arg(qRound(dpr * 100));
    if (auto it = scaled_.constFind(key); it != scaled_.constEnd()) return &*it;
    const QSize device(static_cast<int>(std::lround(img->width() * scale * dpr)),
                       static_cast<int>(std::lround(img->height() * scale * dpr)));
    QPixmap pm = QPixmap::fromImage(img->scaled(device, Qt::IgnoreAspectRatio, Qt::FastTransformation));
    pm.setDevicePixelRatio(dpr);
    return &*scaled_.insert(key, pm);
}

QImage PixmapCache::image(const std::string& name) {
    const QImage* img = load(name);
    return img ? *img : QImage();
}

QColor PixmapCache::edgeColour(const std::string& name) {
    const QImage* img = load(name);
    if (!img) return QColor(32, 32, 32);
    return img->pixelColor(img->width() - 1, img->height() - 1);
}

QSize PixmapCache::naturalSize(const std::string& name) {
    const QImage* img = load(name);
    return img ? img->size() : QSize();
}

QStringList PixmapCache::missingOf(const QStringList& names) {
    QStringList out;
    for (const QString& n : names)
        if (!load(n.toStdString())) out.append(n);
    return out;
}

void drawPlaceholder(QPainter& painter, const QRect& rect) {
    if (rect.isEmpty()) return;
    painter.save();
    const QColor magenta(255, 0, 255);
    painter.fillRect(rect, QColor(236, 216, 236));
    painter.setPen(QPen(magenta, 1));
    const QRect inner = rect.adjusted(0, 0, -1, -1);
    painter.drawRect(inner);
    painter.drawLine(inner.topLeft(), inner.bottomRight());
    painter.drawLine(inner.topRight(), inner.bottomLeft());
    painter.restore();
}

} // namespace squeakrun::qt
