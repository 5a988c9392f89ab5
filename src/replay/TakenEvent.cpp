#include "replay/TakenEvent.h"

namespace replay {

Taken TakenFrom(const SDL_Event* event, bool left, bool right) {
    Taken taken;
    taken.left = left;
    taken.right = right;
    if (event == nullptr) {
        return taken;
    }
    switch (event->type) {
        case SDL_KEYDOWN:
            taken.event = Taken::Event::Key;
            taken.sym = static_cast<std::uint16_t>(event->key.keysym.sym);
            taken.mod = static_cast<std::uint16_t>(event->key.keysym.mod);
            taken.unicode = event->key.keysym.unicode;
            break;
        case SDL_JOYBUTTONDOWN:
            taken.event = Taken::Event::PadButton;
            taken.button = event->jbutton.button;
            break;
        case SDL_ACTIVEEVENT:
            // Only losing the window pauses; gaining it back changes nothing.
            if (event->active.gain == 0 &&
                (event->active.state & (SDL_APPINPUTFOCUS | SDL_APPACTIVE)) != 0) {
                taken.event = Taken::Event::FocusLost;
            }
            break;
        case SDL_QUIT:
            taken.event = Taken::Event::Quit;
            break;
        default:
            break;
    }
    return taken;
}

bool EventFrom(const Taken& taken, SDL_Event& event) {
    event = SDL_Event();
    switch (taken.event) {
        case Taken::Event::None:
            return false;
        case Taken::Event::Key:
            event.type = SDL_KEYDOWN;
            event.key.type = SDL_KEYDOWN;
            event.key.state = SDL_PRESSED;
            event.key.keysym.sym = static_cast<SDLKey>(taken.sym);
            event.key.keysym.mod = static_cast<SDLMod>(taken.mod);
            event.key.keysym.unicode = taken.unicode;
            return true;
        case Taken::Event::PadButton:
            event.type = SDL_JOYBUTTONDOWN;
            event.jbutton.type = SDL_JOYBUTTONDOWN;
            event.jbutton.button = taken.button;
            event.jbutton.state = SDL_PRESSED;
            return true;
        case Taken::Event::FocusLost:
            event.type = SDL_ACTIVEEVENT;
            event.active.type = SDL_ACTIVEEVENT;
            event.active.gain = 0;
            event.active.state = SDL_APPINPUTFOCUS;
            return true;
        case Taken::Event::Quit:
            event.type = SDL_QUIT;
            return true;
    }
    return false;
}

}  // namespace replay
