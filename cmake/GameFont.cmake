# The game draws its text with Liberation Sans Regular, linked into the play folder as arial.ttf
# and never copied, so that it is updated with the system's package. Fontconfig knows where the
# system keeps it; ARCADE_FONT_FILE overrides that (-DARCADE_FONT_FILE=/path/to/font.ttf).
#
# Every frame of the game is checked against its picture, so only that very font will do: a
# fallback fontconfig offers in its place (another family, or the older Liberation when the newer
# is installed too, which fontconfig prefers anyway) is refused rather than taken quietly.
function(arcade_find_font)
  if(ARCADE_FONT_FILE)
    if(NOT EXISTS "${ARCADE_FONT_FILE}")
      message(FATAL_ERROR "ARCADE_FONT_FILE is ${ARCADE_FONT_FILE}, which does not exist")
    endif()
    return()
  endif()
  # The browser build's toolchain looks only inside its own root: fc-match is the build machine's.
  find_program(ARCADE_FC_MATCH fc-match NO_CMAKE_FIND_ROOT_PATH)
  if(ARCADE_FC_MATCH)
    execute_process(
      COMMAND ${ARCADE_FC_MATCH} -f "%{file}" "Liberation Sans:style=Regular"
      OUTPUT_VARIABLE font
      RESULT_VARIABLE status
      ERROR_QUIET)
  endif()
  if(NOT status EQUAL 0 OR NOT font MATCHES "/LiberationSans-Regular\\.ttf$" OR NOT EXISTS "${font}")
    message(FATAL_ERROR "Liberation Sans Regular not found through fontconfig (fc-match): install "
      "Debian's fonts-liberation2, or name the file with -DARCADE_FONT_FILE=...")
  endif()
  set(ARCADE_FONT_FILE "${font}" CACHE FILEPATH
    "Liberation Sans Regular, linked into the play folder as arial.ttf")
endfunction()
