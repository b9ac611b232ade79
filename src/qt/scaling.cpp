#include "qt/scaling.h"

#include <algorithm>
#include <cmath>

namespace squeakrun::qt {

int px(double twips, int scale) {
    return static_cast<int>(std::lround(twips * scale / kTwipsPerPixel));
}

QRect pxRect(double left, double top, double width, double height, int scale) {
    const int x0 = px(left, scale), y0 = px(top, scale);
    const int x1 = px(left + width, scale), y1 = px(top + height, scale);
    return QRect(x0, y0, std::max(0, x1 - x0), std::max(0, y1 - y0));
}

QSize pxSize(int twipsWidth, int twipsHeight) {
    return QSize(px(twipsWidth, 1), px(twipsHeight, 1));
}

int scaleThatFits(QSize room, QSize content) {
    if (content.width() <= 0 || content.height() <= 0) return 1;
    const int byWidth = room.width() / content.width();
    const int byHeight = room.height() / content.height();
    return std::max(1, std::min(byWidth, byHeight));
}

int openingScale(QSize available, QSize content, QSize chrome) {
    // 90 % of the available area, less what the window needs around its content.
    const QSize room(available.width() * 9 / 10 - chrome.width(),
                     available.height() * 9 / 10 - chrome.height());
    return scaleThatFits(room, content);
}

QRect centredContent(QSize room, QSize content, int scale) {
    const QSize size = content * scale;
    return QRect(QPoint((room.width() - size.width()) / 2, (room.height() - size.height()) / 2), size);
}

} // namespace squeakrun::qt
