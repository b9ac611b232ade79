// The game's entry point: the Qt window, the boxes and the clock around the game core.
#include "game/handlers.h"
#include "game/state.h"
#include "game/window/qt/clock_driver.h"
#include "game/window/qt/main_window.h"
#include "game/window/qt/pixmap_cache.h"
#include "game/window/qt/qt_platform.h"

#include <QApplication>
#include <QIcon>
#include <QTimer>

#include <random>

int main(int argc, char* argv[]) {
    squeakrun::qt::MainWindow::prepareWindowSystem();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Squeakrun!"));

    squeakrun::qt::QtPlatform platform;
    std::random_device entropy;
    const std::uint64_t seed = (static_cast<std::uint64_t>(entropy()) << 32) ^ entropy();
    squeakrun::Game game(platform, seed);
    // Game time 0 is now: the key box upkeep first ticks 10 ms after start-up.
    squeakrun::qt::ClockDriver driver(game, &platform);
    squeakrun::qt::MainWindow window(game, platform, driver);
    QIcon icon(QString::fromStdString((platform.appFolder() / "images" / "squeakrun.png").string()));
    if (icon.availableSizes().isEmpty())
        icon = QIcon(QPixmap::fromImage(window.pictures().image("badmouseright.gif").scaled(64, 64)));
    QApplication::setWindowIcon(icon);

    // Start-up asks for the names and the difficulty before the window appears.
    driver.runEvent(squeakrun::Form1_Form_Load);
    if (game.exited) return 0;

    platform.setDialogParent(&window);
    platform.setBeforeBox([&window] { window.followModel(); });
    window.show();
    driver.start();
    QTimer::singleShot(0, &window, [&window] { window.reportMissingArtwork(); });
    return QApplication::exec();
}
