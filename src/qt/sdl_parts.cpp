#include "qt/sdl_parts.h"

#include <SDL.h>
#include <dlfcn.h>

#include <mutex>

namespace squeakrun::qt {

namespace {
std::mutex sdlParts;

extern "C" void sayNothing(const char*, int, const char*, int, const char*, ...) {}

// Without a sound server SDL falls back to ALSA, which writes a dozen lines about the missing card to
// the terminal; the game says it once, in its own words. ALSA's complaints go nowhere from then on: the
// library SDL loads later is this same one.
void quietAlsa() {
    void* alsa = dlopen("libasound.so.2", RTLD_LAZY);
    if (!alsa) return;
    using Handler = void (*)(const char*, int, const char*, int, const char*, ...);
    if (auto setHandler = reinterpret_cast<int (*)(Handler)>(dlsym(alsa, "snd_lib_error_set_handler")))
        setHandler(sayNothing);
}
} // namespace

bool startSdlPart(std::uint32_t part) {
    const std::scoped_lock lock(sdlParts);
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    if (part == SDL_INIT_AUDIO) quietAlsa();
    return SDL_InitSubSystem(part) == 0;
}

void stopSdlPart(std::uint32_t part) {
    const std::scoped_lock lock(sdlParts);
    SDL_QuitSubSystem(part);
}

} // namespace squeakrun::qt
