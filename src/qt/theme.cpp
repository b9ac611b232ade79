#include "qt/theme.h"

#include <QFontMetrics>
#include <QPainter>

#include <QRect>
#include <algorithm>

namespace squeakrun::qt::theme {

QFont font(int pixelSize, bool bold) {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(pixelSize > 0 ? pixelSize : 1);
    f.setBold(bold);
    return f;
}

QFont fittedFont(const QRect& rect, int flags, const QString& text, int pixelSize, int minPixelSize,
                 bool bold) {
    QFont f = font(pixelSize, bold);
    for (int size = pixelSize; size > minPixelSize; --size) {
        f.setPixelSize(size);
        const QRect need = QFontMetrics(f).boundingRect(rect, flags, text);
        if (need.width() <= rect.width() && need.height() <= rect.height()) return f;
    }
    f.setPixelSize(std::max(1, minPixelSize));
    return f;
}

void outlinedText(QPainter& painter, const QRect& rect, int flags, const QString& text, const QColor& fill,
                  const QColor& outline, int scale) {
    painter.setPen(outline);
    const int d = scale > 0 ? scale : 1;
    for (int dx = -d; dx <= d; dx += d)
        for (int dy = -d; dy <= d; dy += d)
            if (dx || dy) painter.drawText(rect.translated(dx, dy), flags, text);
    painter.setPen(fill);
    painter.drawText(rect, flags, text);
}

} // namespace squeakrun::qt::theme
