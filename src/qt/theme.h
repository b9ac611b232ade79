// The colours and lettering the windows share, taken from the artwork so that drawn text and
// widgets sit with the pictures.
#pragma once

#include <QColor>
#include <QFont>
#include <QString>

class QPainter;
class QRect;

namespace squeakrun::qt::theme {

inline const QColor kInk{0x14, 0x14, 0x18};        // numbers in the light boxes, outlines
inline const QColor kSlate{0x2c, 0x33, 0x40};      // panel and window background
inline const QColor kSlateLight{0x3c, 0x45, 0x56}; // cards
inline const QColor kSlateEdge{0x56, 0x62, 0x7a};
inline const QColor kCaption{0xec, 0xe6, 0xd4}; // light lettering on slate
inline const QColor kBox{0xf4, 0xf0, 0xe4};     // the light boxes numbers are written into
inline const QColor kGold{0xff, 0xd2, 0x3a};
inline const QColor kGoldLight{0xff, 0xf2, 0xa8};
inline const QColor kGoldDark{0xc0, 0x7a, 0x10};
inline const QColor kBrown{0x3a, 0x1a, 0x08};
inline const QColor kBorder{0x10, 0x10, 0x14}; // round the content when the window is larger

// The game's lettering at a pixel size (already multiplied by the scale).
QFont font(int pixelSize, bool bold = false);

// The game's lettering at `pixelSize` or smaller, down to `minPixelSize`, so that `text` fits in
// `rect` (drawn with `flags`): a long caption is set smaller rather than cut off.
QFont fittedFont(const QRect& rect, int flags, const QString& text, int pixelSize, int minPixelSize,
                 bool bold);

// Text with a one-pixel outline (scaled), readable over any part of the field.
void outlinedText(QPainter& painter, const QRect& rect, int flags, const QString& text, const QColor& fill,
                  const QColor& outline, int scale);

} // namespace squeakrun::qt::theme
