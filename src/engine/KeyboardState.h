#pragma once

#include <SDL.h>

// The keys held down now, indexed by key code, count of them in count when it is not null. SDL's
// own array, which tests may write to. The desktop's SDL marks a key as soon as its event arrives
// (src/engine/KeyboardState.cpp); the browser's SDL has no such call under this name, and marks a
// key only when its event leaves the queue (web/layer/KeyboardState.cpp).
Uint8* KeyboardState(int* count = nullptr);
