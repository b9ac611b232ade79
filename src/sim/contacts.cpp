#include "sim/contacts.h"

#include "game/handlers.h"

namespace squeakrun {

bool reviveIfAlive(Game& g, int player) {
    if (g.p[player].lives < 1) return false;
    g.p[player].crashed = true;
    undead(g);
    return true;
}

} // namespace squeakrun
