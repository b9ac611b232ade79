#include "game/handlers.h"

namespace squeakrun {

void Form4_Command1_Click(Game&) {}

} // namespace squeakrun
