#include "rules/pausing.h"

namespace squeakrun {

void pauseGame(Game& g) {
    g.carsMayMove = false;
    g.window.pauseEntry.caption = kResumeCaption;
    g.paused = true;
}

void resumeGame(Game& g) {
    g.window.pauseEntry.caption = kPauseCaption;
    // While the start button waits there is no game to resume: nothing moves, burns gas or takes a
    // key until it is pressed.
    if (g.window.startButton.visible) return;
    g.paused = false;
    g.carsMayMove = true;
}

} // namespace squeakrun
