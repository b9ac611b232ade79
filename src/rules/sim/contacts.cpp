#include "rules/sim/contacts.h"

#include "rules/events.h"

namespace squeakrun {

bool reviveIfAlive(Game& g, int player) {
    if (g.players[player].lives < 1) return false;
    g.players[player].crashed = true;
    reviveCrashedCars(g);
    return true;
}

} // namespace squeakrun
