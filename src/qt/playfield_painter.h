// Draws the main window's content from the model: the playfield with everything on it, the device
// strip and the status panel, at a whole scale factor. Also answers which control lies under a
// point (tool tips, clicks) and gives a cheap signature of everything drawn, so the window repaints
// only when the picture really changed.
#pragma once

#include "rules/state.h"

#include <QPointF>
#include <QRect>
#include <QRegion>
#include <QSize>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

class QPainter;

namespace squeakrun::qt {

class PixmapCache;

// The content at scale 1, in pixels: 457 x 417.
QSize clientPixels();

// Paints the content with its top-left corner at the painter's origin, `scale` pixels per pixel of
// artwork. `dpr` is the device pixel ratio of the target, so pictures are made at device resolution.
// With `only` (in content pixels), just that part is painted: what lies elsewhere is left alone.
void paintMainWindow(QPainter& painter, const MainWindow& f, PixmapCache& pictures, int scale,
                     qreal dpr = 1.0, const QRegion& only = QRegion());

// One drawn thing as it stands: a hash of how it looks and where drawing it touches the content at a
// scale (empty when it is not shown). Two lists of parts, made at two moments, tell which places
// of the content have changed in between.
struct DrawnPart {
    std::uint64_t look = 0;
    QRect rect;
    bool operator==(const DrawnPart&) const = default;
};
// The parts of everything drawn, in drawing order, with the start button last (a widget of its own,
// so never a place to paint; its part changes when the button has to follow the model).
void drawnParts(const MainWindow& f, int scale, std::vector<DrawnPart>& parts);

// A control's rectangle in client twips (children of the strip and panel are placed in their
// container) and in pixels at `scale`.
QRectF twipsRect(const MainWindow& f, Control MainWindow::*member);
QRect pixelRect(const MainWindow& f, Control MainWindow::*member, int scale);

// The topmost drawn control under a point of the client area (in twips), or null.
const Control* controlAt(const MainWindow& f, QPointF twips);

// A quick hash (eight bytes at a time) of what controls show: enough to tell one frame's content
// from the next, and cheap, since the clock driver asks what the window would show after each tick it
// plays ahead.
struct Signature {
    std::uint64_t value = 1469598103934665603ull;
    void word(std::uint64_t w) {
        value = (value ^ w) * 0x9E3779B97F4A7C15ull;
        value ^= value >> 29;
    }
    void bytes(const void* p, std::size_t n) {
        const auto* b = static_cast<const unsigned char*>(p);
        std::uint64_t w = 0;
        if (n < 8) {
            for (std::size_t i = 0; i < n; ++i)
                w |= std::uint64_t{b[i]} << (8 * i);
            word(w);
            return;
        }
        for (std::size_t i = 0; i + 8 <= n; i += 8) {
            std::memcpy(&w, b + i, 8);
            word(w);
        }
        // The last few bytes: the last eight, which overlap the words before.
        if (n % 8) {
            std::memcpy(&w, b + n - 8, 8);
            word(w);
        }
    }
    void text(std::string_view s) {
        word(s.size());
        bytes(s.data(), s.size());
    }
    void add(const Control& c); // its place, state, picture, texts and lines
};

// Changes whenever anything drawn changes (positions, sizes, visibility, pictures, texts), and the
// start button's place and state.
std::uint64_t drawnSignature(const MainWindow& f);

} // namespace squeakrun::qt
