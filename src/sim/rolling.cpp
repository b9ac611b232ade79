#include "game/handlers.h"

namespace squeakrun {

void Form1_Timer6_Timer(Game&) {}

} // namespace squeakrun
