// The game's command line: its options declared once, for the help and for reading them.
#include "qt/command_line.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>
#include <cstdlib>

namespace squeakrun::qt {

namespace {

// A new option is declared here, given a field in Options and read in readOptions.
void declareOptions(QCommandLineParser& parser) {
    parser.setApplicationDescription(
        QStringLiteral("Two players, two mice in cars, one keyboard. F11 toggles full screen, Ctrl+M "
                       "(Options > Sound) the sound."));
    // Qt's options are single-dash words: -reverse must stay one word, not -r -e -v ... asking for the
    // version (or -stylesheet for the help).
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOption({QStringLiteral("record"),
                      QStringLiteral("Save each session as a new replay file in <folder> at exit."),
                      QStringLiteral("folder")});
    parser.addOption({QStringLiteral("replay"), QStringLiteral("Watch the replay saved in <file>."),
                      QStringLiteral("file")});
    parser.addOption(QCommandLineOption(
        QStringLiteral("mute"), QStringLiteral("No sound for this run (Options > Sound turns it on).")));
    parser.addOption({QStringLiteral("computer"),
                      QStringLiteral("The computer drives player 1's car, player 2's, both (a demo) or none, "
                                     "for this run."),
                      QStringLiteral("1|2|both|none")});
    parser.addOption({QStringLiteral("skill"), QStringLiteral("How well the computer drives, for this run."),
                      QStringLiteral("easy|average|hard")});
    parser.addOption(
        {QStringLiteral("host"),
         QStringLiteral("Host a network game as player 1, on <port> (--host alone: %1).").arg(kDefaultPort),
         QStringLiteral("port")});
    parser.addOption({QStringLiteral("join"),
                      QStringLiteral("Join the network game hosted at <host> as player 2 (port %1 unless "
                                     "given).")
                          .arg(kDefaultPort),
                      QStringLiteral("host[:port]")});
}

// Qt's own options, as its applications read them (one dash or two): those followed by a value, and
// those that stand alone. The game lets them pass before the window system starts, which takes them.
const QStringList kQtOptionsWithValue = {"platform",
                                         "platformpluginpath",
                                         "platformtheme",
                                         "plugin",
                                         "qwindowgeometry",
                                         "qwindowicon",
                                         "qwindowtitle",
                                         "session",
                                         "display",
                                         "geometry",
                                         "title",
                                         "icon",
                                         "name",
                                         "visual",
                                         "style",
                                         "stylesheet",
                                         "qmljsdebugger",
                                         "dialogs",
                                         "fontengine"};
const QStringList kQtFlags = {"reverse", "widgetcount", "nograb", "dograb", "sync"};

// The arguments without Qt's own options and their values: what the game itself must understand.
QStringList withoutQtOptions(const QStringList& arguments) {
    QStringList left;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& word = arguments[i];
        QString name = word;
        while (name.startsWith(u'-'))
            name.remove(0, 1);
        const bool option = i > 0 && word.startsWith(u'-') && !name.isEmpty();
        const qsizetype equals = name.indexOf(u'=');
        if (option && kQtOptionsWithValue.contains(name.left(equals))) {
            if (equals < 0) ++i; // the value is the next word
            continue;
        }
        if (option && kQtFlags.contains(name)) continue;
        left << word;
    }
    return left;
}

// The whole complaint on one line of stderr, for exit code 2.
void complain(const QString& error) {
    std::fprintf(stderr, "squeakrun: %s Try 'squeakrun --help' for the options.\n", qPrintable(error));
}

// The value of `option` read by `named` into `into`; false after the complaint naming a value it does
// not know.
template <class Choice>
bool readChoice(const QCommandLineParser& parser, const QString& option,
                std::optional<Choice> (*named)(const QString&), std::optional<Choice>& into) {
    if (!parser.isSet(option)) return true;
    into = named(parser.value(option));
    if (!into) complain(QStringLiteral("Unknown value '%1' for --%2.").arg(parser.value(option), option));
    return into.has_value();
}

// Parses `arguments` with the game's options into `options`; false after one line on stderr naming what
// the game does not know.
bool parseGameOptions(QCommandLineParser& parser, QStringList arguments, Options& options) {
    declareOptions(parser);
    // --host may stand alone, for the default port; the parser wants every option's value written.
    for (qsizetype i = 1; i < arguments.size(); ++i)
        if (arguments[i] == QStringLiteral("--host") || arguments[i] == QStringLiteral("-host"))
            arguments[i] = QStringLiteral("--host=%1").arg(kDefaultPort);
    if (!parser.parse(arguments) || !parser.positionalArguments().isEmpty()) {
        complain(parser.errorText().isEmpty()
                     ? QStringLiteral("Unexpected argument '%1'.").arg(parser.positionalArguments().first())
                     : parser.errorText());
        return false;
    }
    options.mute = parser.isSet(QStringLiteral("mute"));
    options.recordFolder = parser.value(QStringLiteral("record"));
    options.replay = parser.value(QStringLiteral("replay"));
    if (parser.isSet(QStringLiteral("host")) && parser.isSet(QStringLiteral("join"))) {
        complain(QStringLiteral("A game either hosts or joins: --host and --join cannot go together."));
        return false;
    }
    return readChoice(parser, QStringLiteral("computer"), driversNamed, options.computer) &&
           readChoice(parser, QStringLiteral("skill"), skillNamed, options.skill) &&
           readChoice(parser, QStringLiteral("host"), portNamed, options.hostPort) &&
           readChoice(parser, QStringLiteral("join"), addressNamed, options.join);
}

} // namespace

Options answerQuestions(int argc, char* argv[]) {
    // A console application: the help names the program it was started as, and no display is opened.
    const QCoreApplication console(argc, argv);
    QCommandLineParser parser;
    Options options;
    if (!parseGameOptions(parser, withoutQtOptions(QCoreApplication::arguments()), options)) std::exit(2);
    if (parser.isSet(QStringLiteral("help"))) parser.showHelp(0);
    if (parser.isSet(QStringLiteral("version"))) parser.showVersion();
    return options;
}

std::optional<Options> readOptions(const QStringList& arguments) {
    QCommandLineParser parser;
    Options options;
    if (!parseGameOptions(parser, arguments, options)) return std::nullopt;
    // Qt's options exist only once the window system has started: list them with the game's now.
    if (parser.isSet(QStringLiteral("help-all"))) parser.process(arguments);
    return options;
}

} // namespace squeakrun::qt
