#pragma once

// Keeps every kind of event the game has no use for out of SDL's queue. The loop takes one event
// a frame, so a moving mouse would otherwise hold back the keys behind it, and a full queue
// drops the keys that come after.
void IgnoreUnusedEvents();
