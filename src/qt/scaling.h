// Twips to pixels: the game is laid out in twips, 15 to a pixel at scale 1, and drawn at a whole
// scale factor so that the pixel art stays crisp.
#pragma once

#include <QPoint>
#include <QRect>
#include <QRectF>
#include <QSize>

namespace squeakrun::qt {

inline constexpr int kTwipsPerPixel = 15;

// The main window's client area in twips: the playfield, the device strip and the status panel.
inline constexpr int kClientTwipsWidth = 6855, kClientTwipsHeight = 6255;

// A length in twips as pixels at `scale`, rounded to the nearest pixel.
int px(double twips, int scale);

// A rectangle in twips as pixels at `scale`; edges are rounded separately so neighbours meet exactly.
QRect pxRect(double left, double top, double width, double height, int scale);

// A size in twips as pixels at scale 1.
QSize pxSize(int twipsWidth, int twipsHeight);

// The largest whole factor (at least 1) at which `content` (pixels at scale 1) fits in `room`.
int scaleThatFits(QSize room, QSize content);

// The factor a window opens at: the largest whose window (content times the factor plus the
// window's own chrome: frame, title bar, menu bar) fits in 90 % of the screen's available area.
int openingScale(QSize available, QSize content, QSize chrome);

// Where content drawn at `scale` sits inside `room`: centred, on whole pixels.
QRect centredContent(QSize room, QSize content, int scale);

} // namespace squeakrun::qt
