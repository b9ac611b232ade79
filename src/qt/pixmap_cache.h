// The game's pictures, loaded once per file from images/ in the application folder and kept scaled
// per whole factor (nearest neighbour, so the pixel art stays crisp). A missing or unreadable file
// never stops the game: it is remembered as missing and drawn as a placeholder.
#pragma once

#include <QColor>
#include <QHash>
#include <QImage>
#include <QPixmap>
#include <QSet>
#include <QString>
#include <QStringList>

#include <filesystem>
#include <string>
#include <unordered_map>

class QPainter;

namespace squeakrun::qt {

class PixmapCache {
  public:
    explicit PixmapCache(std::filesystem::path imagesFolder);

    // The picture `name` ("badmouseup.gif") drawn `scale` times its size on a screen of device pixel
    // ratio `dpr`; nullptr when the file is missing or unreadable.
    const QPixmap* get(const std::string& name, int scale, qreal dpr = 1.0);
    // The picture at its own size, or a null image when missing.
    QImage image(const std::string& name);
    // The colour in the picture's bottom-right corner: what shows where a picture box is larger
    // than its picture, so the box reads as one piece.
    QColor edgeColour(const std::string& name);
    // Size in pixels at scale 1, or an empty size when missing.
    QSize naturalSize(const std::string& name);

    // Every picture asked for so far that could not be loaded, in the order first asked for.
    const QStringList& missing() const { return missing_; }
    // Those of `names` that cannot be loaded (each checked once and remembered).
    QStringList missingOf(const QStringList& names);

    const std::filesystem::path& folder() const { return folder_; }

  private:
    const QImage* load(const std::string& name);
    const QPixmap* scaled(const std::string& name, int scale, qreal dpr);

    std::filesystem::path folder_;
    QHash<QString, QImage> images_;
    QSet<QString> absent_;
    QStringList missing_;
    QHash<QString, QPixmap> scaled_;
    // The pictures asked for at the latest scale, by name as the game gives it: a frame looks up
    // dozens, and this finds them without making a string (a null pixmap for a missing one).
    std::unordered_map<std::string, QPixmap> atScale_;
    int atScaleOf_ = 0, atDprOf_ = 0;
};

// What stands in for a missing picture: a magenta-bordered box with a cross, so the place is
// visible and plainly not artwork.
void drawPlaceholder(QPainter& painter, const QRect& rect);

} // namespace squeakrun::qt
