#include "qt/sdl_parts.h"

#include <SDL.h>

#include <mutex>

namespace squeakrun::qt {

namespace {
std::mutex sdlParts;
}

bool startSdlPart(std::uint32_t part) {
    const std::scoped_lock lock(sdlParts);
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    return SDL_InitSubSystem(part) == 0;
}

void stopSdlPart(std::uint32_t part) {
    const std::scoped_lock lock(sdlParts);
    SDL_QuitSubSystem(part);
}

} // namespace squeakrun::qt
