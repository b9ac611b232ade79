// The game's entry point: the Qt window, the boxes and the clock around the game core.
#include "qt/clock_driver.h"
#include "qt/main_window.h"
#include "qt/pixmap_cache.h"
#include "qt/qt_platform.h"
#include "rules/events.h"
#include "rules/state.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>
#include <QTimer>

#include <cstdio>
#include <optional>
#include <random>

namespace {

// --help and --version print and end the program before any window or display is touched; a
// command line the game does not understand ends it with exit code 2. Otherwise nullopt: play.
std::optional<int> commandLine(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Two players, two mice in cars, one keyboard. F11 toggles full screen."));
    parser.addHelpOption();
    parser.addVersionOption();
    if (!parser.parse(QCoreApplication::arguments()) || !parser.positionalArguments().isEmpty()) {
        const QString error =
            parser.errorText().isEmpty()
                ? QStringLiteral("Unexpected argument '%1'.").arg(parser.positionalArguments().first())
                : parser.errorText();
        std::fprintf(stderr, "squeakrun: %s\nTry 'squeakrun --help' for the options.\n", qPrintable(error));
        return 2;
    }
    if (parser.isSet(QStringLiteral("help"))) parser.showHelp(0);
    if (parser.isSet(QStringLiteral("version"))) parser.showVersion();
    return std::nullopt;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication::setApplicationName(QStringLiteral("Squeakrun!"));
    QCoreApplication::setApplicationVersion(QStringLiteral(SQUEAKRUN_VERSION));
    if (const std::optional<int> exitCode = commandLine(argc, argv)) return *exitCode;

    squeakrun::qt::GameWindow::prepareWindowSystem();
    QApplication app(argc, argv);

    squeakrun::qt::QtPlatform platform;
    std::random_device entropy;
    const std::uint64_t seed = (static_cast<std::uint64_t>(entropy()) << 32) ^ entropy();
    squeakrun::Game game(platform, seed);
    // Game time 0 is now: the key box upkeep first ticks 10 ms after start-up.
    squeakrun::qt::ClockDriver driver(game, &platform);
    squeakrun::qt::GameWindow window(game, platform, driver);
    QIcon icon(QString::fromStdString((platform.appFolder() / "images" / "squeakrun.png").string()));
    if (icon.availableSizes().isEmpty())
        icon = QIcon(QPixmap::fromImage(window.pictures().image("badmouseright.gif").scaled(64, 64)));
    QApplication::setWindowIcon(icon);

    // Start-up asks for the names and the difficulty before the window appears.
    driver.runEvent(squeakrun::startUp);
    if (game.exited) return 0;

    platform.setDialogParent(&window);
    platform.setBeforeBox([&window] { window.followModel(); });
    window.show();
    driver.start();
    QTimer::singleShot(0, &window, [&window] { window.reportMissingArtwork(); });
    return QApplication::exec();
}
