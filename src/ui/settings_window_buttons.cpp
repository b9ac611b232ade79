#include "game/handlers.h"

namespace squeakrun {

void Form3_cmdupdate_Click(Game&) {}
void Form3_cmdcancel_Click(Game&) {}

} // namespace squeakrun
