# The sources of src/ that only the desktop build compiles, each beside the file of web/layer/ that
# the browser build compiles in its place. The browser's SDL has no SDL_EventState, needs no key
# colour prepared (a picture's keyed pixels become transparent when it is loaded), keeps each
# picture once on the engine's shelf and copies it for every load, gives no window an icon, has
# its mixer linked rather than loaded, no ALSA to quiet and always its page to draw on, and
# computes the desktop's rand() sequence rather than ask its own C library, whose sequence
# differs. Everything else of src/ but main.cpp is the same in both.
set(ARCADE_DESKTOP_ONLY_SOURCES
  src/engine/TerminalDriver.cpp # web/layer/TerminalDriver.cpp
  src/engine/UsedEvents.cpp     # web/layer/UsedEvents.cpp
  src/engine/WindowIcon.cpp     # web/layer/WindowIcon.cpp
  src/gfx/KeyedPictures.cpp     # web/layer/KeyedPictures.cpp
  src/gfx/LoadImage.cpp         # web/layer/PictureShelf.cpp
  src/gfx/PictureShelf.cpp      # web/layer/PictureShelf.cpp
  src/random/LibraryRandom.cpp  # web/layer/GameRandom.cpp
  src/sound/MixerLibrary.cpp    # web/layer/MixerLibrary.cpp
  src/sound/QuietAlsa.cpp)      # web/layer/QuietAlsa.cpp
