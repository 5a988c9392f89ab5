// The browser plays through its own audio: there is no ALSA to quiet.
#include "sound/QuietAlsa.h"

void SilenceAlsa() {}
