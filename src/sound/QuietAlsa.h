#pragma once

// ALSA's library writes its complaints straight to standard error: where there is no sound card,
// every start of SDL's audio printed eight lines about a card nobody has. The game goes on in
// silence there and says nothing; this stops ALSA saying it. Called before SDL starts, which
// loads the same library and so finds it quiet already.
void SilenceAlsa();
