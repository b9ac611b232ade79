#include "game/handlers.h"

namespace squeakrun {

void dead(Game&) {}

} // namespace squeakrun
