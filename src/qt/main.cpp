// The game's entry point: the Qt window, the boxes and the clock around the game core, the session's
// recording, and watching a recorded session.
#include "qt/command_line.h"
#include "qt/computer_choice.h"
#include "qt/main_window.h"
#include "qt/net_lobby.h"
#include "qt/pixmap_cache.h"
#include "qt/qt_platform.h"
#include "qt/replay_menu.h"
#include "qt/replay_player.h"
#include "qt/speaker.h"
#include "qt/windowed_game.h"
#include "session/script.h"
#include "session/session_file.h"

#include <QApplication>
#include <QDateTime>
#include <QIcon>
#include <QMenuBar>
#include <QTimer>

#include <cstdio>
#include <optional>

int main(int argc, char* argv[]) {
    using namespace squeakrun;
    QCoreApplication::setApplicationName(QStringLiteral("Squeakrun!"));
    QCoreApplication::setApplicationVersion(QStringLiteral(SQUEAKRUN_VERSION));
    const qt::Options asked = qt::answerQuestions(argc, argv);
    // A replay is judged before the window system starts: one that cannot be watched is told in one line,
    // with or without a display.
    std::optional<Script> replay;
    if (!asked.replay.isEmpty()) {
        auto read = readScriptFile(asked.replay.toStdString(), Dialect::Session);
        if (const auto* error = std::get_if<ScriptError>(&read)) {
            std::fprintf(stderr, "squeakrun: %s cannot be watched: %s\n", qPrintable(asked.replay),
                         describe(*error).c_str());
            return 2;
        }
        replay = std::move(std::get<Script>(read));
    }

    qt::GameWindow::prepareWindowSystem();
    QApplication app(argc, argv);
    const std::optional<qt::Options> options = qt::readOptions(QCoreApplication::arguments());
    if (!options) return 2;
    if (replay) return qt::watchSession(std::move(*replay), options->mute || !qt::Speaker::chosenOn());

    qt::QtPlatform platform;
    qt::Speaker speaker(platform.appFolder() / "sounds");
    speaker.setMuted(options->mute || !qt::Speaker::chosenOn());
    platform.setSpeaker(&speaker);
    // Everything the game takes from outside is recorded: the seed, the records, the boxes' answers,
    // the players' inputs and who drives.
    const std::uint64_t seed = qt::freshSeed();
    // Game time 0 is now: the key box upkeep first ticks 10 ms after start-up.
    qt::WindowedGame windowed({.platform = platform, .seed = seed, .boxes = &platform, .recorded = true});
    qt::GameWindow& window = windowed.window;
    qt::NetLobby lobby(windowed, platform, options->recordFolder);
    const auto session = [&windowed] {
        return windowed.recorder()->scenario(
            windowed.game, SQUEAKRUN_VERSION,
            QDateTime::currentDateTime().toString(Qt::ISODate).toStdString());
    };
    window.addSoundEntry(speaker);
    QIcon icon(QString::fromStdString((platform.appFolder() / "images" / "squeakrun.png").string()));
    if (icon.availableSizes().isEmpty())
        icon = QIcon(QPixmap::fromImage(window.pictures().image("badmouseright.gif").scaled(64, 64)));
    QApplication::setWindowIcon(icon);
    QMenu& fileMenu = *window.menuBar()->actions().constFirst()->menu();
    lobby.addEntries(fileMenu);
    qt::addReplayEntries(fileMenu, window, [&windowed, &session, &lobby] {
        std::optional<std::string> text = lobby.session();
        if (!text) windowed.clock.runEvent([&](Game&) { text = session(); });
        return text;
    });

    // A network game asks each machine only for its own player's name, in the window; a game on one
    // keyboard asks for both names and the difficulty before the window appears.
    const bool networked = options->hostPort || options->join;
    if (!networked) windowed.startUp();
    int status = 0;
    if (!windowed.game.exited) {
        // Who drives is the player's last choice, unless the command line says otherwise for this run.
        qt::Seating seating = qt::ComputerChoice::remembered();
        seating.drivers = options->computer.value_or(seating.drivers);
        seating.skill = options->skill.value_or(seating.skill);
        if (!networked) window.computer().choose(seating, false);

        window.show();
        if (!networked) windowed.clock.start();
        QTimer::singleShot(0, &window, [&window] { window.reportMissingArtwork(); });
        QTimer::singleShot(0, &lobby, [&lobby, &options] {
            if (options->hostPort) lobby.host(options->hostPort, true);
            if (options->join) lobby.join(options->join, true);
        });
        status = QApplication::exec();
    }
    // A run begun with --host or --join plays no game of its own: without a network game there is no
    // session to save.
    if (lobby.session()) {
        lobby.finish();
    } else if (!networked && !options->recordFolder.isEmpty() &&
               !saveNewScenarioFile(options->recordFolder.toStdString(), qt::sessionFileStem().toStdString(),
                                    session()))
        std::fprintf(stderr, "squeakrun: the session could not be recorded in %s\n",
                     qPrintable(options->recordFolder));
    return status;
}
