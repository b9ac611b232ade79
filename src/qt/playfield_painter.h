// Draws the main window's content from the model: the playfield with everything on it, the device
// strip and the status panel, at a whole scale factor. Also answers which control lies under a
// point (tool tips, clicks) and which places of the content changed between two moments.
#pragma once

#include "rules/state.h"

#include <QPointF>
#include <QRect>
#include <QRegion>
#include <QSize>

#include <cstddef>
#include <cstdint>
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

// One drawn thing as it stands: the signature of how it looks and where drawing it touches the content at a
// scale (empty when it is not shown). Two lists of parts, made at two moments, tell which places
// of the content have changed in between.
struct DrawnPart {
    std::uint64_t signature = 0;
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

// Whether a control shows: it is visible, and so is its container.
bool shown(const MainWindow& f, Control MainWindow::*member);

// The topmost drawn control under a point of the client area (in twips), or null.
const Control* controlAt(const MainWindow& f, QPointF twips);

} // namespace squeakrun::qt
