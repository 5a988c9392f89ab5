#pragma once

#include <string>

// Names a picture, a sound or the font that could not be loaded on standard error, once per file for the
// life of the process, with the folder it was looked for in and the library's reason. The game
// goes on without the file as before; the line only tells a player why something is not drawn.
void ReportUnloadable(const std::string& file, const char* reason);
