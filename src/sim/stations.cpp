#include "sim/contacts.h"

namespace squeakrun {

void stationContacts(Game&) {}

} // namespace squeakrun
