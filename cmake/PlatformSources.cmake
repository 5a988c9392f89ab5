# Where the desktop and the browser differ: each seam of src/ (a header declaring what the game
# needs of its platform) has its desktop implementation in src/ and its browser implementation in
# web/layer/, side by side below. Everything else of src/ is compiled by both builds alike.
# ARCADE_DESKTOP_SOURCES: what only the desktop build compiles; ARCADE_BROWSER_SOURCES: what the
# browser build compiles in their place.
set(ARCADE_PLATFORM_SEAMS
  # seam                       desktop                      browser
  "main                        src/main.cpp                 web/layer/BrowserMain.cpp"
  "engine/KeyboardState.h      src/engine/KeyboardState.cpp web/layer/KeyboardState.cpp"
  "engine/TerminalDriver.h     src/engine/TerminalDriver.cpp web/layer/TerminalDriver.cpp"
  "engine/UsedEvents.h         src/engine/UsedEvents.cpp    web/layer/UsedEvents.cpp"
  "engine/StopSignals.h        src/engine/StopSignals.cpp   -"
  "engine/WindowIcon.h         src/engine/WindowIcon.cpp    web/layer/WindowIcon.cpp"
  "gfx/KeyedPictures.h         src/gfx/KeyedPictures.cpp    web/layer/KeyedPictures.cpp"
  "gfx/LoadImage.h             src/gfx/LoadImage.cpp        web/layer/PictureShelf.cpp"
  "gfx/PictureShelf.h          src/gfx/PictureShelf.cpp     -"
  "gfx/LoadImage.h             src/gfx/DecodeKeyed.cpp      -"
  "gfx/TextRenderer.h          src/gfx/FontLibraryText.cpp  web/layer/AtlasText.cpp"
  "-                           -                            web/layer/GlyphAtlas.cpp"
  "random/Random.h             src/random/LibraryRandom.cpp web/layer/GameRandom.cpp"
  "sound/MixerLibrary.h        src/sound/MixerLibrary.cpp   web/layer/MixerLibrary.cpp"
  "sound/QuietAlsa.h           src/sound/QuietAlsa.cpp      web/layer/QuietAlsa.cpp"
  "net/SharedTable.h           src/net/OpenSharedTable.cpp  -"
  "net/SharedTable.h           src/net/CurlSharedTable.cpp  -"
  "net/SharedTable.h           src/net/Transfer.cpp         -"
  "net/SharedTable.h           src/net/NoNetwork.cpp        -")

set(ARCADE_DESKTOP_SOURCES)
set(ARCADE_BROWSER_SOURCES)
foreach(seam ${ARCADE_PLATFORM_SEAMS})
  string(REGEX REPLACE " +" ";" columns "${seam}")
  list(GET columns 1 desktop)
  list(GET columns 2 browser)
  if(NOT desktop STREQUAL "-")
    list(APPEND ARCADE_DESKTOP_SOURCES ${desktop})
  endif()
  if(NOT browser STREQUAL "-")
    list(APPEND ARCADE_BROWSER_SOURCES ${browser})
  endif()
endforeach()
list(REMOVE_DUPLICATES ARCADE_BROWSER_SOURCES)

# The shared table over libcurl, on the desktop, or a form of it that opens none for a desktop
# build without the network (-DARCADE_NETWORK=OFF); only the desktop's program opens a table, and
# the browser has neither.
set(ARCADE_NETWORK_SOURCES src/net/OpenSharedTable.cpp src/net/CurlSharedTable.cpp
  src/net/Transfer.cpp)
set(ARCADE_NO_NETWORK_SOURCES src/net/NoNetwork.cpp)
