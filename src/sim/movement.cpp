#include "game/handlers.h"

namespace squeakrun {

void Form1_Timer4_Timer(Game&) {}

} // namespace squeakrun
