// The File menu's replay entries, after the game's own: "Save Replay…" writes the session so far as a
// scenario file, and "Watch Replay…" checks a saved one whole and plays it in a window of its own, so
// the game in this window stays as it is.
#pragma once

#include <QString>

#include <functional>
#include <optional>
#include <string>

class QMenu;
class QWidget;

namespace squeakrun::qt {

// `sessionSoFar` gives the session up to now as a scenario file, or nothing while the game is busy.
void addReplayEntries(QMenu& fileMenu, QWidget& window,
                      std::function<std::optional<std::string>()> sessionSoFar);

// A file name for a session recorded now: "squeakrun-20261206-221530".
QString sessionFileStem();

} // namespace squeakrun::qt
