# The glyph atlas of the game's font, which the browser draws its text from: made by
# web/glyphs/make_glyph_atlas.cpp at the point size the game's assets open its font at.
#   arcade_glyph_atlas(OUTPUT_FILE GENERATOR_COMMAND [DEPENDS ...])
function(arcade_glyph_atlas output generator)
  file(STRINGS ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/../src/gfx/FolderAssets.cpp _size_line
       REGEX "kPointSize = [0-9]+")
  string(REGEX MATCH "[0-9]+" _size "${_size_line}")
  if(NOT _size)
    message(FATAL_ERROR "no point size found in src/gfx/FolderAssets.cpp")
  endif()
  add_custom_command(OUTPUT ${output}
    COMMAND ${generator} ${ARCADE_FONT_FILE} ${output} ${_size}
    DEPENDS ${ARCADE_FONT_FILE} ${ARGN}
    COMMENT "Rendering the font's Latin-1 glyphs at ${_size} points for the browser")
endfunction()
