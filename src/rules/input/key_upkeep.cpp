// The key box upkeep: a letter of a player who sits out a cheese crash is ignored by the decoder
// and would stay in the box, turning the other player's next key into a lost two-letter text.
// Every 10 ms this tick wipes such a letter.
#include "rules/events.h"
#include "rules/key_box.h"

namespace squeakrun {

namespace {
// Whether `text` is exactly one of the player's command letters, in either case.
bool isLetterOf(const std::string& text, const PlayerRow& row) {
    if (text.size() != 1) return false;
    char c = text[0];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return row.keys.find(c) != std::string_view::npos;
}
} // namespace

void keyBoxUpkeepTick(Game& g) {
    for (int i = 0; i < 2; ++i)
        if (g.players[i].splattered && isLetterOf(g.window.keyBox.text, kPlayers[i])) clearKeyBox(g);
}

} // namespace squeakrun
