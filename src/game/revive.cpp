#include "game/handlers.h"

namespace squeakrun {

void undead(Game&) {}

} // namespace squeakrun
