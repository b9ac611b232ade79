// A gamepad that exists only in SDL: plugged in when made, unplugged when it goes. With `reader`, the
// pads are read after every change, so the game has taken it when a call returns; without, the game
// finds the change when it next looks, as it finds a real pad's.
#pragma once

#include "qt/gamepads.h"

#include <SDL.h>

namespace squeakrun::qt::testing {

class VirtualPad {
  public:
    VirtualPad(const char* name, Gamepads* reader) : reader_(reader) {
        SDL_VirtualJoystickDesc d{};
        d.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        d.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        d.naxes = SDL_CONTROLLER_AXIS_MAX;
        d.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        d.button_mask = (1u << SDL_CONTROLLER_BUTTON_MAX) - 1;
        d.axis_mask = (1u << SDL_CONTROLLER_AXIS_MAX) - 1;
        d.name = name;
        js_ = SDL_JoystickOpen(SDL_JoystickAttachVirtualEx(&d));
        changed();
    }
    ~VirtualPad() { unplug(); }
    VirtualPad(const VirtualPad&) = delete;
    VirtualPad& operator=(const VirtualPad&) = delete;

    void unplug() {
        if (!js_) return;
        const SDL_JoystickID id = SDL_JoystickInstanceID(js_);
        SDL_JoystickClose(js_);
        js_ = nullptr;
        for (int i = 0; i < SDL_NumJoysticks(); ++i)
            if (SDL_JoystickGetDeviceInstanceID(i) == id) SDL_JoystickDetachVirtual(i);
        changed();
    }
    bool plugged() const { return js_ != nullptr; }
    // A button held down (true) or let go.
    void hold(SDL_GameControllerButton button, bool down) {
        SDL_JoystickSetVirtualButton(js_, button, down ? 1 : 0);
        changed();
    }
    void push(SDL_GameControllerButton button) {
        hold(button, true);
        hold(button, false);
    }
    void lean(int x, int y) {
        SDL_JoystickSetVirtualAxis(js_, SDL_CONTROLLER_AXIS_LEFTX, static_cast<Sint16>(x));
        SDL_JoystickSetVirtualAxis(js_, SDL_CONTROLLER_AXIS_LEFTY, static_cast<Sint16>(y));
        changed();
    }

  private:
    void changed() {
        if (reader_) reader_->poll();
    }
    Gamepads* reader_;
    SDL_Joystick* js_ = nullptr;
};

} // namespace squeakrun::qt::testing
