// The game's command line, read in two steps around the start of the window system: --help and
// --version answer with no display at all, and Qt's own options (-platform, -style, -display ...)
// reach Qt, which takes them out before the game looks at what is left.
#pragma once

#include "qt/computer_choice.h"
#include "qt/net_lobby.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace squeakrun::qt {

// What the player chose on the command line: one field per option of the game.
struct Options {
    QString recordFolder;            // --record: each session is saved there as a new replay file at exit
    QString replay;                  // --replay: the replay file to watch
    bool mute = false;               // no sound for this run, whatever the player chose under Options > Sound
    std::optional<Drivers> computer; // who the computer drives this run, over the remembered choice
    std::optional<Skill> skill;      // and how well
    std::optional<std::uint16_t> hostPort; // --host: this run hosts a network game on this port
    std::optional<NetAddress> join;        // --join: this run joins the network game hosted there
};

// Before the window system starts: when the help or the version is asked for, prints it and ends the
// program with exit code 0; a word that is neither the game's nor one of Qt's own options ends it with
// one line on stderr and exit code 2, so a mistyped option is told even where no display is. Otherwise
// the game's options as far as they can be read without the window system.
Options answerQuestions(int argc, char* argv[]);

// Once Qt has taken its own options out of `arguments`: the game's options, or nullopt after one line on
// stderr naming what is left that the game does not know (exit code 2), should Qt have read fewer
// options than the game let pass. --help-all, which lists Qt's options beside the game's, is answered
// here and ends the program with exit code 0.
std::optional<Options> readOptions(const QStringList& arguments);

} // namespace squeakrun::qt
