#include "game/handlers.h"

namespace squeakrun {

void Form1_Timer5_Timer(Game&) {}

} // namespace squeakrun
