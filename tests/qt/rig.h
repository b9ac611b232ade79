// Test rig: the real game window on the scripted platform, boxes answered from queues, a fresh app folder.
// No real dialog ever opens; the folder comes with or without the artwork.
#pragma once

#include "headless/headless_platform.h"
#include "qt/windowed_game.h"
#include "rules/events.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <memory>

namespace squeakrun::qt::testing {

// A temporary application folder; with `artwork` its images/ holds the game's pictures.
inline std::unique_ptr<QTemporaryDir> appFolder(bool artwork) {
    auto dir = std::make_unique<QTemporaryDir>();
    QDir(dir->path()).mkdir(QStringLiteral("images"));
    if (artwork) {
        // The build copies the artwork next to the game; the tests live one folder below it.
        QDir built(QCoreApplication::applicationDirPath() + QStringLiteral("/images"));
        if (!built.exists())
            built.setPath(QCoreApplication::applicationDirPath() + QStringLiteral("/../images"));
        for (const QString& name : built.entryList({QStringLiteral("*.gif")}, QDir::Files))
            QFile::copy(built.filePath(name), dir->path() + QStringLiteral("/images/") + name);
    }
    return dir;
}

struct Rig {
    explicit Rig(bool artwork = true)
        : folder(appFolder(artwork)), platform(folder->path().toStdString(), nullptr),
          windowed({.platform = platform, .seed = 1}) {}

    // Start-up with both names and the difficulty answered, as the players would.
    void startUp() {
        platform.answers = {std::string("Ann"), std::string("Bob"), std::string("2")};
        windowed.startUp();
    }
    void clickStart() { clock.runEvent(pressStartButton); }

    std::unique_ptr<QTemporaryDir> folder;
    HeadlessPlatform platform;
    WindowedGame windowed;
    Game& game = windowed.game;
    ClockDriver& clock = windowed.clock;
    GameWindow& window = windowed.window;
};

} // namespace squeakrun::qt::testing
