#include "net/signature.h"

#include <bit>
#include <string_view>

namespace squeakrun {

namespace {

// FNV-1a, 64 bits: fast, and plenty to tell two games apart.
struct Hash {
    std::uint64_t value = 1469598103934665603ull;

    void bytes(std::string_view s) {
        for (unsigned char c : s) {
            value ^= c;
            value *= 1099511628211ull;
        }
        number(s.size()); // so that "ab","c" and "a","bc" differ
    }
    void number(std::uint64_t n) {
        for (int i = 0; i < 8; ++i) {
            value ^= (n >> (8 * i)) & 0xff;
            value *= 1099511628211ull;
        }
    }
    void real(double d) { number(std::bit_cast<std::uint64_t>(d)); }
};

} // namespace

std::uint64_t gameSignature(const GameState& g) {
    Hash h;
    h.number(static_cast<std::uint64_t>(g.clock.now));
    for (const Timer& t : g.clock.timers) {
        h.number(static_cast<std::uint64_t>(t.interval) << 1 | (t.enabled ? 1 : 0));
        h.number(static_cast<std::uint64_t>(t.due));
    }
    Random next = g.rng; // the numbers to come say where the generator stands
    h.real(next.next());
    h.real(next.next());
    for (const Player& p : g.players) {
        h.bytes(p.name);
        for (Count n : {p.lives, p.score, p.shownGas, p.tankGas, p.tankSize, p.countdown, p.cheeseStock,
                        p.slickStock, p.skidFrame})
            h.number(static_cast<std::uint64_t>(n));
        for (double d : {p.speed, p.coastSpeed, p.skidSpeed, p.cheeseSpeed, p.gasNeeded})
            h.real(d);
        for (int n :
             {int(p.heading), int(p.device), int(p.trapHeading), int(p.skidHeading), int(p.cheeseHeading)})
            h.number(static_cast<std::uint64_t>(n));
        for (bool b : {p.crashed, p.splattered, p.hitByCheese, p.spinning, p.slickDropped, p.slickLaid,
                       p.trapDropped, p.trapLaid, p.leavingStation, p.refuelling, p.shopping,
                       p.stopKeyPressed, p.coasting, p.cheeseDropped, p.cheeseRolling})
            h.number(b);
    }
    for (const BonusItem& item : g.bonusItems) {
        h.number(item.placed << 2 | item.givesCheese << 1 | item.givesSlicks);
        for (Count n : item.points)
            h.number(static_cast<std::uint64_t>(n));
    }
    for (bool b : {g.paused, g.carsMayMove, g.gameEnded, g.gameScored, g.settingsChanged, g.exited})
        h.number(b);
    h.bytes(g.difficulty);
    h.real(g.highScore);
    h.bytes(g.highScoreComment);
    for (const MainControl& mc : kMainControls) {
        const Control& c = g.window.*mc.member;
        h.real(c.left);
        h.real(c.top);
        h.number(c.visible << 2 | c.enabled << 1 | c.focused);
        h.bytes(c.picture);
        h.bytes(c.caption);
        h.bytes(c.text);
    }
    return h.value;
}

} // namespace squeakrun
