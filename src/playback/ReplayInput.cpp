#include "playback/ReplayInput.h"

#include "replay/TakenEvent.h"

namespace replay {

void ReplayInput::CheckHeldRead() {
    if (next == 0 || heldRead || unreadHeld != 0) {
        return;
    }
    const Taken& last = frames[next - 1];
    if (last.left || last.right) {
        unreadHeld = next;
    }
}

bool ReplayInput::NextEvent(SDL_Event& event) {
    CheckHeldRead();
    if (next >= frames.size()) {
        return false;
    }
    heldRead = false;
    return EventFrom(frames[next++], event);
}

HeldWays ReplayInput::Held(Gamepad* /*pad*/, const KeyBindings* /*bound*/) {
    heldRead = true;
    if (next == 0) {
        return {};
    }
    const Taken& taken = frames[next - 1];
    return {taken.left, taken.right};
}

std::size_t ReplayInput::FirstUnreadHeld() const {
    if (unreadHeld != 0 || next == 0 || heldRead) {
        return unreadHeld;
    }
    const Taken& last = frames[next - 1];
    return last.left || last.right ? next : 0;
}

}  // namespace replay
