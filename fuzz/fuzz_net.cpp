// Fuzz entry point for what the other machine of a network game sends: the bytes, cut into messages
// (each a two-byte length, then that many bytes), must decode or be refused without crashing, re-encode
// to what they decoded from, and never crash, hang or bloat a network game that hears them between its
// frames.
#include "headless/headless_platform.h"
#include "headless/temp_folder.h"
#include "net/net_game.h"
#include "net/protocol.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace squeakrun;
    static TempFolder folder("squeakrun-fuzz-net");
    HeadlessPlatform world(folder.path(), nullptr);
    NetGame game(world, {0, 1, {"Ann", "Bob"}, "2"});
    std::span<const std::uint8_t> rest(data, size);
    while (rest.size() >= 2 && !game.broken().size()) {
        const std::size_t n = std::min<std::size_t>(rest[0] | rest[1] << 8, rest.size() - 2);
        const std::span<const std::uint8_t> bytes = rest.subspan(2, n);
        rest = rest.subspan(2 + n);
        const std::optional<Message> message = decode(bytes);
        if (!message) continue;
        const std::vector<std::uint8_t> again = encode(*message);
        const std::optional<Message> back = decode(again);
        if (!back || encode(*back) != again) std::abort();
        game.receive(*message);
        if (game.box()) game.answer(Button::OK);
        game.advance(16);
        game.outgoing(16);
    }
    return 0;
}
