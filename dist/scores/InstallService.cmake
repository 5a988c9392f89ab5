# Run at install time (see CMakeLists.txt): writes the systemd unit and its options file with the
# full paths of this install into their places, and notes them in the install manifest.
set(prefix "${CMAKE_INSTALL_PREFIX}")
if(prefix STREQUAL "/usr")
  set(ARCADE_SCORES_DEFAULTS /etc/default/arcade-scores)
else()
  set(ARCADE_SCORES_DEFAULTS "${prefix}/etc/default/arcade-scores")
endif()
set(ARCADE_SCORES_PROGRAM "${prefix}/${ARCADE_SCORES_SBIN_DIR}/arcade-scores")
# Without the site installed the server serves the table alone.
if(ARCADE_SCORES_SITE_INSTALLED)
  set(ARCADE_SCORES_SITE "${prefix}/${ARCADE_SCORES_SITE_DIR}")
else()
  set(ARCADE_SCORES_SITE "")
endif()

foreach(made
    "arcade-scores.service.in;$ENV{DESTDIR}${prefix}/${ARCADE_SYSTEMD_UNIT_DIR}/arcade-scores.service"
    "arcade-scores.default.in;$ENV{DESTDIR}${ARCADE_SCORES_DEFAULTS}")
  list(GET made 0 template)
  list(GET made 1 file)
  message(STATUS "Installing: ${file}")
  configure_file("${ARCADE_SCORES_DIST}/${template}" "${file}" @ONLY)
  list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${file}")
endforeach()
