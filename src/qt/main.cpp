// The game's entry point: the Qt window, the boxes and the clock around the game core.
#include "qt/clock_driver.h"
#include "qt/command_line.h"
#include "qt/computer_choice.h"
#include "qt/main_window.h"
#include "qt/pixmap_cache.h"
#include "qt/qt_platform.h"
#include "qt/speaker.h"
#include "rules/events.h"
#include "rules/state.h"

#include <QApplication>
#include <QIcon>
#include <QTimer>

#include <optional>
#include <random>

int main(int argc, char* argv[]) {
    QCoreApplication::setApplicationName(QStringLiteral("Squeakrun!"));
    QCoreApplication::setApplicationVersion(QStringLiteral(SQUEAKRUN_VERSION));
    squeakrun::qt::answerQuestions(argc, argv);

    squeakrun::qt::GameWindow::prepareWindowSystem();
    QApplication app(argc, argv);
    const std::optional<squeakrun::qt::Options> options =
        squeakrun::qt::readOptions(QCoreApplication::arguments());
    if (!options) return 2;

    squeakrun::qt::QtPlatform platform;
    squeakrun::qt::Speaker speaker(platform.appFolder() / "sounds");
    speaker.setMuted(options->mute || !squeakrun::qt::Speaker::chosenOn());
    platform.setSpeaker(&speaker);
    std::random_device entropy;
    const std::uint64_t seed = (static_cast<std::uint64_t>(entropy()) << 32) ^ entropy();
    squeakrun::Game game(platform, seed);
    // Game time 0 is now: the key box upkeep first ticks 10 ms after start-up.
    squeakrun::qt::ClockDriver driver(game, &platform);
    squeakrun::qt::GameWindow window(game, platform, driver, seed);
    window.addSoundEntry(speaker);
    QIcon icon(QString::fromStdString((platform.appFolder() / "images" / "squeakrun.png").string()));
    if (icon.availableSizes().isEmpty())
        icon = QIcon(QPixmap::fromImage(window.pictures().image("badmouseright.gif").scaled(64, 64)));
    QApplication::setWindowIcon(icon);

    // Start-up asks for the names and the difficulty before the window appears.
    driver.runEvent(squeakrun::startUp);
    if (game.exited) return 0;
    // Who drives is the player's last choice, unless the command line says otherwise for this run.
    squeakrun::qt::Seating seating = squeakrun::qt::ComputerChoice::remembered();
    seating.drivers = options->computer.value_or(seating.drivers);
    seating.skill = options->skill.value_or(seating.skill);
    window.computer().choose(seating, false);

    platform.setDialogParent(&window);
    platform.setBeforeBox([&window] { window.followModel(); });
    window.show();
    driver.start();
    QTimer::singleShot(0, &window, [&window] { window.reportMissingArtwork(); });
    return QApplication::exec();
}
