#include "game/handlers.h"

namespace squeakrun {

void Form1_Timer7_Timer(Game&) {}

} // namespace squeakrun
