#include "sim/contacts.h"

namespace squeakrun {

void bonusPickups(Game&) {}

} // namespace squeakrun
