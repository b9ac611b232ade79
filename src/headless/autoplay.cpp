#include "headless/autoplay.h"

#include "rules/events.h"
#include "rules/key_box.h"
#include "rules/ticks.h"

#include <algorithm>

namespace squeakrun {

long long autoplay(SeatedGame& game, HeadlessPlatform& platform, std::int64_t ms,
                   const AutoplayOptions& options) {
    Game& g = game.game;
    // Scrambled through a reseed: a plain multiple of the seed would give each seed the stream of the
    // one before it, shifted by one number.
    Random keys(options.seed ^ 0x5851F42D4C957F2DULL);
    keys.randomize(0);
    auto gap = [&keys] { return 50 + static_cast<std::int64_t>(keys.next() * 351); };
    const std::int64_t end = g.clock.now + ms;
    std::int64_t nextPress[2] = {g.clock.now + gap(), g.clock.now + gap()};
    long long pressed = 0;
    bool savedDefaults = platform.useDefaults;
    platform.useDefaults = true;
    auto presses = [&](int player) { return options.randomKeys[player] && !game.seats.drives(player); };
    auto stopped = [&] { return g.exited || (options.stop && options.stop()); };
    auto advance = [&](std::int64_t target) {
        while (g.clock.now < target && !stopped()) {
            std::int64_t step = options.stepMs > 0 ? std::min(target, g.clock.now + options.stepMs) : target;
            game.advance(step);
            if (options.check) options.check();
        }
    };
    for (int who = 0; who < 2; ++who)
        if (!presses(who)) nextPress[who] = end + 1;
    while (!stopped()) {
        if (g.window.startButton.visible && g.window.startButton.enabled) pressStartButton(g);
        int who = nextPress[0] <= nextPress[1] ? 0 : 1;
        if (nextPress[who] > end) break;
        advance(nextPress[who]);
        std::string_view letters = kPlayers[who].keys;
        char key[2] = {letters[static_cast<std::size_t>(keys.next() * letters.size())], 0};
        if (keys.next() < 0.5f) key[0] = static_cast<char>(key[0] - 'A' + 'a');
        pressKey(g, key);
        ++pressed;
        if (options.check) options.check();
        nextPress[who] += gap();
    }
    if (!stopped()) advance(end);
    platform.useDefaults = savedDefaults;
    return pressed;
}

long long autoplay(Game& g, HeadlessPlatform& platform, std::int64_t ms, const AutoplayOptions& options) {
    SeatedGame unseated(g);
    return autoplay(unseated, platform, ms, options);
}

} // namespace squeakrun
