#include "qt/gamepads.h"

#include "qt/qt_platform.h"
#include "qt/sdl_parts.h"

#include <QDir>

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <utility>

namespace squeakrun::qt {

namespace {

// How far the stick must lean before it steers, of its full travel: far enough that a thumb resting
// on it, or a worn stick, turns nobody.
constexpr int kDeadZone = 16384;
// After a device appears the system may need a moment before the pad can be opened.
constexpr int kLateLookMs = 600;

// What the buttons do, named by their place: south, west, east and the D-pad.
constexpr std::pair<SDL_GameControllerButton, Action> kButtons[] = {
    {SDL_CONTROLLER_BUTTON_DPAD_UP, Action::Up},     {SDL_CONTROLLER_BUTTON_DPAD_DOWN, Action::Down},
    {SDL_CONTROLLER_BUTTON_DPAD_LEFT, Action::Left}, {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, Action::Right},
    {SDL_CONTROLLER_BUTTON_A, Action::Drop},         {SDL_CONTROLLER_BUTTON_X, Action::Select},
    {SDL_CONTROLLER_BUTTON_B, Action::Stop},
};

const QString kSwappedKey = QStringLiteral("controls/padsSwapped");

SDL_GameController* controller(void* handle) {
    return static_cast<SDL_GameController*>(handle);
}

} // namespace

Gamepads::Gamepads(Press press, Pause pause, QObject* parent)
    : QObject(parent), press_(std::move(press)), pause_(std::move(pause)),
      swapped_(playersChoices().value(kSwappedKey, false).toBool()) {
    available_ = startSdlPart(SDL_INIT_GAMECONTROLLER);
    if (!available_) {
        std::fprintf(stderr, "squeakrun: gamepads cannot be used: %s\n", SDL_GetError());
        return;
    }
    pollTimer_.setInterval(kPollMs);
    pollTimer_.setTimerType(Qt::PreciseTimer);
    connect(&pollTimer_, &QTimer::timeout, this, &Gamepads::poll);
    // With no pad, a new device in /dev/input is the only reason to look.
    if (QDir(QStringLiteral("/dev/input")).exists()) devices_.addPath(QStringLiteral("/dev/input"));
    connect(&devices_, &QFileSystemWatcher::directoryChanged, this, [this] {
        poll();
        QTimer::singleShot(kLateLookMs, this, &Gamepads::poll);
    });
    poll(); // the pads plugged in before the game started
}

Gamepads::~Gamepads() {
    if (!available_) return;
    for (const Pad& p : pads_)
        SDL_GameControllerClose(controller(p.handle));
    stopSdlPart(SDL_INIT_GAMECONTROLLER);
}

std::optional<QString> Gamepads::padOf(int player) const {
    for (const Pad& p : pads_)
        if (this->player(p) == player) return QString::fromUtf8(SDL_GameControllerName(controller(p.handle)));
    return std::nullopt;
}

void Gamepads::setSwapped(bool swapped) {
    swapped_ = swapped;
    playersChoices().setValue(kSwappedKey, swapped);
    emit padsChanged();
}

Gamepads::Pad* Gamepads::pad(int id) {
    const auto it = std::ranges::find(pads_, id, &Pad::id);
    return it == pads_.end() ? nullptr : &*it;
}

void Gamepads::poll() {
    if (!available_) return;
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
        switch (e.type) {
        case SDL_CONTROLLERDEVICEADDED:
            plugged(e.cdevice.which);
            break;
        case SDL_CONTROLLERDEVICEREMOVED:
            unplugged(e.cdevice.which);
            break;
        case SDL_CONTROLLERBUTTONDOWN:
            if (Pad* p = pad(e.cbutton.which)) pushed(*p, e.cbutton.button);
            break;
        case SDL_CONTROLLERAXISMOTION:
            if (Pad* p = pad(e.caxis.which)) stickMoved(*p);
            break;
        default:
            break;
        }
    }
    keepPolling();
}

void Gamepads::keepPolling() {
    if (pads_.empty())
        pollTimer_.stop();
    else if (!pollTimer_.isActive())
        pollTimer_.start();
}

void Gamepads::plugged(int deviceIndex) {
    SDL_GameController* c = SDL_GameControllerOpen(deviceIndex);
    if (!c) {
        std::fprintf(stderr, "squeakrun: a gamepad could not be opened: %s\n", SDL_GetError());
        return;
    }
    const int id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(c));
    if (pad(id)) { // told twice: SDL counts the opens
        SDL_GameControllerClose(c);
        return;
    }
    // The pad takes the first free place; a third waits for one.
    int slot = -1;
    for (int s : {0, 1})
        if (std::ranges::none_of(pads_, [s](const Pad& p) { return p.slot == s; })) {
            slot = s;
            break;
        }
    pads_.push_back({id, c, slot, Action::Up, false});
    emit padsChanged();
}

void Gamepads::unplugged(int id) {
    Pad* p = pad(id);
    if (!p) return;
    const int slot = p->slot;
    const int lost = player(*p);
    SDL_GameControllerClose(controller(p->handle));
    std::erase_if(pads_, [id](const Pad& q) { return q.id == id; });
    // A spare pad takes the place that came free.
    if (slot >= 0)
        if (auto spare = std::ranges::find(pads_, -1, &Pad::slot); spare != pads_.end()) spare->slot = slot;
    emit padsChanged();
    if (lost >= 0) emit padLost(lost);
}

void Gamepads::pushed(Pad& p, int button) {
    if (button == SDL_CONTROLLER_BUTTON_START) {
        if (player(p) >= 0) pause_();
        return;
    }
    for (const auto& [b, action] : kButtons)
        if (b == button) return act(p, action);
}

void Gamepads::stickMoved(Pad& p) {
    const int x = SDL_GameControllerGetAxis(controller(p.handle), SDL_CONTROLLER_AXIS_LEFTX);
    const int y = SDL_GameControllerGetAxis(controller(p.handle), SDL_CONTROLLER_AXIS_LEFTY);
    if (std::max(std::abs(x), std::abs(y)) < kDeadZone) {
        p.stickOut = false;
        return;
    }
    // The stronger lean wins; a stick held in one direction turns once.
    const Action towards = std::abs(x) > std::abs(y) ? (x < 0 ? Action::Left : Action::Right)
                                                     : (y < 0 ? Action::Up : Action::Down);
    if (p.stickOut && p.stick == towards) return;
    p.stick = towards;
    p.stickOut = true;
    act(p, towards);
}

void Gamepads::act(const Pad& p, Action action) {
    if (const int who = player(p); who >= 0) press_({who, action});
}

} // namespace squeakrun::qt
