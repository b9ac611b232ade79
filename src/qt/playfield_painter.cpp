#include "qt/playfield_painter.h"

#include "qt/pixmap_cache.h"
#include "qt/scaling.h"
#include "qt/signature.h"
#include "qt/theme.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <array>
#include <cstring>
#include <iterator>
#include <string_view>

namespace squeakrun::qt {

namespace {

using Member = Control MainWindow::*;

// Everything painted, bottom to top, with the container each one sits in (null: the window itself).
struct Placed {
    Member control;
    Member container;
};
constexpr bool painted(const MainControl& c) {
    return c.shown == Shown::Painted;
}
constexpr auto kDrawOrder = [] {
    std::array<Placed, std::ranges::count_if(kMainControls, painted)> order{};
    std::size_t n = 0;
    for (const MainControl& c : kMainControls)
        if (painted(c)) order[n++] = {c.member, c.container};
    return order;
}();

// Children are placed from their container's top-left corner (the field's is the window's).
QPointF originOf(const MainWindow& f, const Placed& p) {
    return p.container ? QPointF((f.*p.container).left, (f.*p.container).top) : QPointF(0, 0);
}
// A control with the container it sits in, as the list of every control gives them.
Placed placeOf(Member m) {
    for (const MainControl& c : kMainControls)
        if (c.member == m) return {c.member, c.container};
    return {m, nullptr};
}
QPointF originOf(const MainWindow& f, Member m) {
    return originOf(f, placeOf(m));
}

bool isCountdown(const Placed& p) {
    return p.control == &MainWindow::player1Countdown || p.control == &MainWindow::player2Countdown;
}

bool shown(const MainWindow& f, const Placed& p) {
    return (f.*p.control).visible && (!p.container || (f.*p.container).visible);
}

QRect rectOf(const Control& c, QPointF origin, int scale) {
    return pxRect(origin.x() + c.left, origin.y() + c.top, c.width, c.height, scale);
}

void drawPicture(QPainter& painter, const Control& c, const QRect& r, PixmapCache& pictures, int scale,
                 qreal dpr) {
    if (c.picture.empty()) return;
    const QPixmap* pm = pictures.get(c.picture, scale, dpr);
    if (!pm) {
        drawPlaceholder(painter, r);
        return;
    }
    // A picture box shows its picture from the top-left corner and cuts off what overhangs; a box
    // larger than its picture shows the picture's edge colour around it (and through it, where the
    // picture is transparent).
    const QSize inBox = pm->deviceIndependentSize().toSize().boundedTo(r.size());
    if (inBox != r.size()) {
        const QColor edge = pictures.edgeColour(c.picture);
        if (pm->hasAlphaChannel()) {
            painter.fillRect(r, edge);
        } else {
            // The margins right of and below the picture.
            painter.fillRect(QRect(r.left() + inBox.width(), r.top(), r.width() - inBox.width(), r.height()),
                             edge);
            painter.fillRect(
                QRect(r.left(), r.top() + inBox.height(), inBox.width(), r.height() - inBox.height()), edge);
        }
    }
    painter.drawPixmap(r.topLeft(), *pm, QRect(QPoint(0, 0), inBox * dpr));
}

// Whether a shown control paints every pixel of its box with no transparency: a picture without
// transparency or the placeholder of a missing one. Nothing beneath such a box needs painting.
bool opaque(const Control& c, PixmapCache& pictures, int scale, qreal dpr) {
    if (c.kind != Control::Kind::Picture || c.picture.empty()) return false;
    const QPixmap* pm = pictures.get(c.picture, scale, dpr);
    return !pm || !pm->hasAlphaChannel();
}

void drawLabel(QPainter& painter, const Control& c, const QRect& r, int scale) {
    if (c.caption.empty()) return;
    // Numbers and names sit in the light boxes of the strip and panel; a long caption is set
    // smaller, and only a very long one is cut short.
    const QRect inner = r.adjusted(scale, 0, -scale, 0);
    const int flags = Qt::AlignCenter | Qt::TextSingleLine;
    QString text = QString::fromStdString(c.caption);
    painter.setFont(theme::fittedFont(inner, flags, text, 10 * scale, 7 * scale, true));
    painter.setPen(theme::kInk);
    text = painter.fontMetrics().elidedText(text, Qt::ElideRight, inner.width());
    painter.drawText(inner, flags, text);
}

QFont countdownFont(int scale) {
    return theme::font(13 * scale, true);
}
// Where the countdown's text sits: on its box's bottom edge, as wide and high as the text.
QRect countdownBox(const QString& text, const QRect& r, int scale) {
    const QFontMetrics fm(countdownFont(scale));
    return QRect(r.left(), r.bottom() + 1 - fm.height(), fm.horizontalAdvance(text) + 2 * scale, fm.height());
}
// The countdown over a cheese-struck car ("4" ... "1", "Go!"): bigger than its box and outlined, so
// it reads over the car and the floor alike.
void drawCountdown(QPainter& painter, const Control& c, const QRect& r, int scale) {
    if (c.caption.empty()) return;
    painter.setFont(countdownFont(scale));
    const QString text = QString::fromStdString(c.caption);
    theme::outlinedText(painter, countdownBox(text, r, scale), Qt::AlignLeft | Qt::AlignVCenter, text,
                        theme::kGold, theme::kInk, scale);
}

// The upgrade-station gauge: "Gas: " and "Speed: " lines printed from 255 twips down.
void drawGauge(QPainter& painter, const Control& c, const QRect& r, int scale) {
    painter.fillRect(r, theme::kSlate);
    painter.setPen(QPen(theme::kGold, scale, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    const qreal half = scale / 2.0;
    painter.drawRect(QRectF(r).adjusted(half, half, -half, -half));
    painter.setFont(theme::font(11 * scale, true));
    painter.setPen(theme::kCaption);
    const int lineHeight = painter.fontMetrics().height();
    int y = r.top() + px(255, scale);
    for (const std::string& line : c.lines) {
        painter.drawText(QRect(r.left() + 3 * scale, y, r.width() - 4 * scale, lineHeight),
                         Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, QString::fromStdString(line));
        y += lineHeight;
    }
}

void drawRichText(QPainter& painter, const Control& c, const QRect& r, int scale) {
    if (c.text.empty()) return;
    QString text = QString::fromStdString(c.text);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    painter.setFont(theme::font(11 * scale, true));
    painter.setPen(theme::kInk);
    painter.drawText(r.adjusted(2 * scale, 0, -2 * scale, 0), Qt::AlignCenter | Qt::TextWordWrap, text);
}

// Where drawing a control may touch: its box, or for a countdown the outlined text that reaches past it.
QRect extentOf(const MainWindow& f, const Placed& p, const QRect& r, int scale) {
    const Control& c = f.*p.control;
    if (!isCountdown(p) || c.caption.empty()) return r;
    const int d = 2 * scale; // the outline and any overhang of the glyphs
    return countdownBox(QString::fromStdString(c.caption), r, scale).adjusted(-d, -d, d, d);
}

void drawControl(QPainter& painter, const Control& c, const QRect& r, bool countdown, PixmapCache& pictures,
                 int scale, qreal dpr) {
    switch (c.kind) {
    case Control::Kind::Picture:
        drawPicture(painter, c, r, pictures, scale, dpr);
        break;
    case Control::Kind::Gauge:
        drawGauge(painter, c, r, scale);
        break;
    case Control::Kind::Label:
        if (countdown)
            drawCountdown(painter, c, r, scale);
        else
            drawLabel(painter, c, r, scale);
        break;
    case Control::Kind::RichText:
        drawRichText(painter, c, r, scale);
        break;
    default:
        break; // buttons are widgets of their own; the key box and menus are not drawn
    }
}

} // namespace

QSize clientPixels() {
    return pxSize(kClientTwipsWidth, kClientTwipsHeight);
}

void paintMainWindow(QPainter& painter, const MainWindow& f, PixmapCache& pictures, int scale, qreal dpr,
                     const QRegion& only) {
    // Where each shown control lies, worked out once for every box to paint.
    constexpr std::size_t kCount = std::size(kDrawOrder);
    QRect boxes[kCount], extents[kCount];
    for (std::size_t i = 0; i < kCount; ++i) {
        const Placed& p = kDrawOrder[i];
        if (!shown(f, p)) continue;
        boxes[i] = rectOf(f.*p.control, originOf(f, p), scale);
        extents[i] = extentOf(f, p, boxes[i], scale);
    }
    const auto boxOf = [&](Member m) {
        for (std::size_t i = 0; i < kCount; ++i)
            if (kDrawOrder[i].control == m) return boxes[i];
        return QRect();
    };
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    // Everything, or one box of `only` at a time: a rectangle keeps the painter on its fast path,
    // where pictures are copied line by line rather than clipped pixel by pixel.
    const QRect all(QPoint(0, 0), clientPixels() * scale);
    const QRegion areas = only.isEmpty() ? QRegion(all) : only & all;
    for (const QRect& area : areas) {
        QRect clip = area;
        painter.setClipRect(clip);
        // The window's background, where the field, strip and panel leave it showing.
        const auto opaqueBox = [&](std::size_t i) {
            return !kDrawOrder[i].container && !boxes[i].isNull() &&
                   opaque(f.*kDrawOrder[i].control, pictures, scale, dpr);
        };
        bool covered = false;
        for (std::size_t i = 0; i < kCount && !covered; ++i)
            covered = opaqueBox(i) && boxes[i].contains(area);
        if (!covered) {
            QRegion background(area);
            for (std::size_t i = 0; i < kCount; ++i)
                if (opaqueBox(i)) background -= boxes[i];
            for (const QRect& r : background)
                painter.fillRect(r, theme::kSlate);
        }
        Member openContainer = nullptr;
        for (std::size_t i = 0; i < kCount; ++i) {
            const Placed& p = kDrawOrder[i];
            if (boxes[i].isNull() || !area.intersects(extents[i])) continue;
            if (p.container != openContainer) {
                // Children are cut off at their container's edge.
                openContainer = p.container;
                const QRect wanted = openContainer ? area & boxOf(openContainer) : area;
                if (wanted != clip) painter.setClipRect(clip = wanted);
            }
            drawControl(painter, f.*p.control, boxes[i], isCountdown(p), pictures, scale, dpr);
        }
    }
    painter.restore();
}

void drawnParts(const MainWindow& f, int scale, std::vector<DrawnPart>& parts) {
    parts.resize(std::size(kDrawOrder) + 1);
    for (std::size_t i = 0; i < std::size(kDrawOrder); ++i) {
        const Placed& p = kDrawOrder[i];
        Signature h;
        h.add(f.*p.control);
        parts[i].signature = h.value;
        if (shown(f, p)) {
            QRect r = extentOf(f, p, rectOf(f.*p.control, originOf(f, p), scale), scale);
            if (p.container) r &= rectOf(f.*p.container, QPointF(0, 0), scale);
            parts[i].rect = r;
        } else {
            parts[i].rect = QRect();
        }
    }
    // The start button is a widget of its own, shown only with the field: a change to either asks
    // for no painting, only for the button to follow.
    Signature h;
    h.add(f.startButton);
    const unsigned char field = f.playfield.visible ? 1 : 0;
    h.bytes(&field, 1);
    parts.back() = {h.value, QRect()};
}

bool shown(const MainWindow& f, Member member) {
    return shown(f, placeOf(member));
}

QRectF twipsRect(const MainWindow& f, Member member) {
    const Control& c = f.*member;
    const QPointF origin = originOf(f, member);
    return QRectF(origin.x() + c.left, origin.y() + c.top, c.width, c.height);
}

QRect pixelRect(const MainWindow& f, Member member, int scale) {
    const QRectF r = twipsRect(f, member);
    return pxRect(r.x(), r.y(), r.width(), r.height(), scale);
}

const Control* controlAt(const MainWindow& f, QPointF twips) {
    for (auto it = std::rbegin(kDrawOrder); it != std::rend(kDrawOrder); ++it) {
        if (!shown(f, *it)) continue;
        const QRectF r = twipsRect(f, it->control);
        if (twips.x() >= r.left() && twips.x() < r.right() && twips.y() >= r.top() && twips.y() < r.bottom())
            return &(f.*(it->control));
    }
    return nullptr;
}

} // namespace squeakrun::qt
