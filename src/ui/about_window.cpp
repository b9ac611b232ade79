// The About window's button: closing the window resumes the game it paused.
#include "game/handlers.h"
#include "game/window/ops.h"

namespace squeakrun {

// The keyboard stays away from the key box; the players click the field or a gas label to play on.
void Form2_Command1_Click(Game& g) {
    resumeGame(g);
    g.f2.Visible = false;
}

} // namespace squeakrun
