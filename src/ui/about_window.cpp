#include "game/handlers.h"

namespace squeakrun {

void Form2_Command1_Click(Game&) {}

} // namespace squeakrun
