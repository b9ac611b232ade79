#include "game/handlers.h"

namespace squeakrun {

void Form1_Timer1_Timer(Game&) {}

} // namespace squeakrun
