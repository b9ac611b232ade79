// The About window's button: closing the window resumes the game it paused.
#include "rules/events.h"
#include "rules/pausing.h"

namespace squeakrun {

// The keyboard stays away from the key box; the players click the field or a gas label to play on.
void closeAbout(Game& g) {
    resumeGame(g);
    g.about.visible = false;
}

} // namespace squeakrun
