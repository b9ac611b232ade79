// The main window's client area: the playfield, device strip and status panel drawn from the model
// at the largest whole scale that fits, centred on a dark border, with the real start button on
// top. Clicks on the field and on the gas labels go to their handlers; tool tips come from the model.
// It repaints only the places where what it draws has changed, as soon as they change: the clock
// driver runs the clock at most once per display frame. While the game runs it paints those places
// straight into the window's backing store, which spares each frame the widgets' repaint round.
#pragma once

#include "qt/playfield_painter.h"

#include <QPushButton>
#include <QRegion>
#include <QWidget>

#include <cstdint>
#include <utility>
#include <vector>

namespace squeakrun {
struct Game;
}

namespace squeakrun::qt {

class ClockDriver;
class PixmapCache;

class PlayfieldView : public QWidget {
    Q_OBJECT
  public:
    PlayfieldView(Game& game, ClockDriver& clock, PixmapCache& pictures, QWidget* parent = nullptr);

    int scale() const { return scale_; }
    // Where the content lies in the widget.
    QRect contentRect() const { return content_; }
    QPushButton* startButton() const { return start_; }

    // Called after every event and clock advance: repaints what has changed, if anything.
    void followModel();

    // The view's content rendered at `scale` into a new image (also what tests and benchmarks draw).
    QImage render(int scale);

    // How many times the content has been painted on screen, and when the last paint began and
    // ended on the clock driver's wall clock (ns), for measuring.
    int paintCount() const { return paints_; }
    std::pair<std::int64_t, std::int64_t> lastPaint() const { return lastPaint_; }

    QSize sizeHint() const override;
    void setPreferredScale(int scale) { preferred_ = scale; }

  signals:
    void scaleChanged(int scale);

  protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    bool event(QEvent*) override;

  private:
    enum class Target { None, Field, Gas1, Gas2 };
    Target targetAt(QPoint pos) const;
    QPointF toTwips(QPoint pos) const;
    void placeStartButton();
    void styleStartButton();
    void showFrame();
    bool paintIntoWindow(const QRegion& region);
    void paint(QPainter& painter, const QRegion& region);

    Game& g_;
    ClockDriver& clock_;
    PixmapCache& pictures_;
    QPushButton* start_;
    int scale_ = 1;
    int preferred_ = 1;
    QRect content_;
    // What is on screen and what the model shows now, part by part; the places still to repaint.
    std::vector<DrawnPart> shown_, now_;
    QRegion dirty_;
    int paints_ = 0;
    std::pair<std::int64_t, std::int64_t> lastPaint_{0, 0};
    Target pressed_ = Target::None;
};

} // namespace squeakrun::qt
