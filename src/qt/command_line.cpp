// The game's command line: its options declared once, for the help and for reading them.
#include "qt/command_line.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>

namespace squeakrun::qt {

namespace {

// A new option is declared here, given a field in Options and read in readOptions.
void declareOptions(QCommandLineParser& parser) {
    parser.setApplicationDescription(
        QStringLiteral("Two players, two mice in cars, one keyboard. F11 toggles full screen."));
    // Qt's options are single-dash words: -reverse must stay one word, not -r -e -v ... asking for the
    // version (or -stylesheet for the help).
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOption({QStringLiteral("computer"),
                      QStringLiteral("The computer drives player 1's car, player 2's, both (a demo) or none, "
                                     "for this run."),
                      QStringLiteral("1|2|both|none")});
    parser.addOption({QStringLiteral("skill"), QStringLiteral("How well the computer drives, for this run."),
                      QStringLiteral("easy|average|hard")});
}

// The whole complaint on one line of stderr, for exit code 2.
void complain(const QString& error) {
    std::fprintf(stderr, "squeakrun: %s Try 'squeakrun --help' for the options.\n", qPrintable(error));
}

// The value of `option` read by `named`, or the complaint naming what it does not know.
template <class Choice>
bool readChoice(const QCommandLineParser& parser, const QString& option,
                std::optional<Choice> (*named)(const QString&), std::optional<Choice>& into) {
    if (!parser.isSet(option)) return true;
    into = named(parser.value(option));
    if (!into) complain(QStringLiteral("Unknown value '%1' for --%2.").arg(parser.value(option), option));
    return into.has_value();
}

} // namespace

void answerQuestions(int argc, char* argv[]) {
    // A console application: the help names the program it was started as, and no display is opened.
    const QCoreApplication console(argc, argv);
    QCommandLineParser parser;
    declareOptions(parser);
    parser.parse(QCoreApplication::arguments());
    if (parser.isSet(QStringLiteral("help"))) parser.showHelp(0);
    if (parser.isSet(QStringLiteral("version"))) parser.showVersion();
}

std::optional<Options> readOptions(const QStringList& arguments) {
    QCommandLineParser parser;
    declareOptions(parser);
    if (!parser.parse(arguments) || !parser.positionalArguments().isEmpty()) {
        const QString error =
            parser.errorText().isEmpty()
                ? QStringLiteral("Unexpected argument '%1'.").arg(parser.positionalArguments().first())
                : parser.errorText();
        complain(error);
        return std::nullopt;
    }
    // Qt's options exist only once the window system has started: list them with the game's now.
    if (parser.isSet(QStringLiteral("help-all"))) parser.process(arguments);
    Options options;
    if (!readChoice(parser, QStringLiteral("computer"), driversNamed, options.computer) ||
        !readChoice(parser, QStringLiteral("skill"), skillNamed, options.skill))
        return std::nullopt;
    return options;
}

} // namespace squeakrun::qt
