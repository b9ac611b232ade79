#include "floor.h"

#include "thread_use.h"

#include "qt/main_window.h"
#include "qt/scaling.h"

#include <QApplication>
#include <QEventLoop>
#include <QPaintEvent>
#include <QPainter>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <cmath>
#include <cstdio>

namespace squeakrun::realtime {

namespace {

constexpr int kCarTwips = 255, kStepTwips = 50, kStepMs = 30; // a car's size, and an Easy car's step

// Where a box stands `travelled` twips round its loop from the loop's top-left corner.
QPointF around(const Loop& l, double travelled) {
    const double width = l.x1 - l.x0, height = l.y1 - l.y0;
    double t = std::fmod(travelled, 2 * (width + height));
    if (t < width) return {l.x0 + t, l.y0};
    t -= width;
    if (t < height) return {l.x1, l.y0 + t};
    t -= height;
    if (t < width) return {l.x1 - t, l.y1};
    return {l.x0, l.y1 - (t - width)};
}

// The least the game's window could do: no pictures, menus or game behind it, a plain background and
// two boxes, and each step repaints only the two places a box left and entered (one frame a step).
class FloorWidget : public QWidget {
  public:
    explicit FloorWidget(int scale) : scale_(scale) {
        setFixedSize(qt::pxSize(qt::kClientTwipsWidth, qt::kClientTwipsHeight) * scale);
        setAttribute(Qt::WA_OpaquePaintEvent); // the paint covers what it is asked to, as the game's does
        connect(&steps_, &QTimer::timeout, this, &FloorWidget::step);
        steps_.setTimerType(Qt::PreciseTimer);
        steps_.start(kStepMs);
    }

  protected:
    void paintEvent(QPaintEvent* e) override {
        QPainter p(this);
        p.fillRect(e->rect(), QColor(0, 96, 0));
        for (int i = 0; i < 2; ++i)
            p.fillRect(box(i), i == 0 ? Qt::red : Qt::blue);
    }

  private:
    QRect box(int i) const {
        const QPointF at = around(kLoops[i], travelled_);
        return qt::pxRect(at.x(), at.y(), kCarTwips, kCarTwips, scale_);
    }
    void step() {
        const QRect before[2] = {box(0), box(1)};
        travelled_ += kStepTwips;
        for (int i = 0; i < 2; ++i)
            update(before[i] | box(i));
    }

    int scale_;
    double travelled_ = 0;
    QTimer steps_;
};

} // namespace

Figures runFloor(int argc, char** argv, int seconds, int scale) {
    qt::GameWindow::prepareWindowSystem(); // the window system set up as the game sets it up
    QApplication app(argc, argv);
    FloorWidget widget(scale);
    widget.show();
    if (!QTest::qWaitForWindowExposed(&widget)) std::fprintf(stderr, "the floor's window was never shown\n");
    QTest::qWait(2000); // settled, as the peer is before it is measured

    const auto clock = [] { return std::chrono::steady_clock::now(); };
    const auto t0 = clock();
    const std::int64_t cpu0 = cpuNanos();
    const ThreadUse main0 = threadUse()["main"];
    QEventLoop loop;
    QTimer::singleShot(seconds * 1000, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
    const std::int64_t cpu1 = cpuNanos();
    const ThreadUse main1 = threadUse()["main"];
    const double wall = std::chrono::duration<double, std::nano>(clock() - t0).count();

    Figures f;
    f.set("cpu.percent", 100.0 * static_cast<double>(cpu1 - cpu0) / wall);
    f.set("main.wakes", 1e9 * static_cast<double>(main1.runs - main0.runs) / wall);
    f.set("main.writes", 1e9 * static_cast<double>(main1.writes - main0.writes) / wall);
    return f;
}

} // namespace squeakrun::realtime
