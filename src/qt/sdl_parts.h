// The parts of SDL the game uses (the gamepads on the game's thread, the sound on a thread of its own),
// started and stopped one at a time: SDL's bookkeeping of its parts is not safe to touch from two
// threads at once. SDL is told to leave Ctrl+C and the window's close to the game, and to hear the pads
// whether or not a window of its own has the focus (it has none).
#pragma once

#include <cstdint>

namespace squeakrun::qt {

// False when the part cannot start here; SDL_GetError() then says why.
bool startSdlPart(std::uint32_t part);
void stopSdlPart(std::uint32_t part);

} // namespace squeakrun::qt
