# The window's icon is the generator's 32-pixel drawing, built into the game so that the game
# needs no file of its own for it; the desktop and the browser build both embed it this way.
get_filename_component(ARCADE_SOURCE_ROOT ${CMAKE_CURRENT_LIST_DIR}/.. ABSOLUTE)
set(ARCADE_WINDOW_ICON ${ARCADE_SOURCE_ROOT}/assets/icons/arcade-game-32.png)

# Appends the generated source that holds the icon's bytes to the list named by sources_var.
function(arcade_embed_window_icon sources_var)
  set(template ${ARCADE_SOURCE_ROOT}/src/engine/WindowIconPng.cpp.in)
  set(generated ${CMAKE_CURRENT_BINARY_DIR}/generated/WindowIconPng.cpp)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${ARCADE_WINDOW_ICON})
  file(READ ${ARCADE_WINDOW_ICON} icon_hex HEX)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," ARCADE_WINDOW_ICON_BYTES "${icon_hex}")
  configure_file(${template} ${generated} @ONLY)
  set(${sources_var} ${${sources_var}} ${generated} PARENT_SCOPE)
endfunction()
