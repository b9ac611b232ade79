#include "game/handlers.h"

namespace squeakrun {

void Form1_Timer2_Timer(Game&) {}

} // namespace squeakrun
