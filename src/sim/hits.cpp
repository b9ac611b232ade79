#include "sim/contacts.h"

namespace squeakrun {

void slickContacts(Game&) {}
void cheeseContacts(Game&) {}

} // namespace squeakrun
