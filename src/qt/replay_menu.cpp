#include "qt/replay_menu.h"

#include "session/script.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>
#include <QProcess>

namespace squeakrun::qt {

namespace {

const QString kFilter = QStringLiteral("Replays (*.scn);;All files (*)");

void saveReplay(QWidget& window, const std::string& text) {
    QString file = QFileDialog::getSaveFileName(&window, QStringLiteral("Save Replay"),
                                                QDir::home().filePath(sessionFileStem() + ".scn"), kFilter);
    if (file.isEmpty()) return;
    if (!file.endsWith(QStringLiteral(".scn"))) file += QStringLiteral(".scn");
    if (!saveScenarioFile(file.toStdString(), text))
        QMessageBox::warning(&window, QStringLiteral("Save Replay"),
                             QStringLiteral("The replay could not be saved in %1.").arg(file));
}

void watchReplay(QWidget& window) {
    const QString file =
        QFileDialog::getOpenFileName(&window, QStringLiteral("Watch Replay"), QDir::homePath(), kFilter);
    if (file.isEmpty()) return;
    // Checked whole here, so a bad file is told in a box and this game goes on.
    const auto session = readScriptFile(file.toStdString(), Dialect::Session);
    QString why;
    if (const auto* refused = std::get_if<ScriptError>(&session))
        why = QString::fromStdString(describe(*refused));
    else if (!QProcess::startDetached(QCoreApplication::applicationFilePath(),
                                      {QStringLiteral("--replay"), file}))
        why = QStringLiteral("the replay window could not be opened");
    if (!why.isEmpty())
        QMessageBox::warning(
            &window, QStringLiteral("Watch Replay"),
            QStringLiteral("%1 cannot be watched: %2").arg(QDir::toNativeSeparators(file), why));
}

} // namespace

QString sessionFileStem() {
    return QStringLiteral("squeakrun-") +
           QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
}

void addReplayEntries(QMenu& fileMenu, QWidget& window,
                      std::function<std::optional<std::string>()> sessionSoFar) {
    fileMenu.addSeparator();
    QObject::connect(fileMenu.addAction(QStringLiteral("Save Replay…")), &QAction::triggered, &window,
                     [&window, sessionSoFar] {
                         // The session is taken before the dialog opens: it is the game as the player
                         // chose to save it.
                         if (const auto text = sessionSoFar()) saveReplay(window, *text);
                     });
    QObject::connect(fileMenu.addAction(QStringLiteral("Watch Replay…")), &QAction::triggered, &window,
                     [&window] { watchReplay(window); });
}

} // namespace squeakrun::qt
