#include "game/handlers.h"

namespace squeakrun {

void Form1_Timer8_Timer(Game&) {}

} // namespace squeakrun
