#include "game/handlers.h"

namespace squeakrun {

void Form1_Text3_Change(Game&) {}

} // namespace squeakrun
