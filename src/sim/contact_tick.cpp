#include "game/handlers.h"

namespace squeakrun {

void Form1_Timer3_Timer(Game&) {}

} // namespace squeakrun
