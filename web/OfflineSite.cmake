# Writes the site's page and its service worker, once every other file of the site is built.
#   cmake -DSITE_DIR=... -DPAGE=index.html.in -DWORKER=service-worker.js.in -P OfflineSite.cmake
# Each @FILE@ in the page becomes FILE's digest, which the page puts in FILE's address
# (FILE?v=DIGEST): an address then always means the same bytes, and a new build's page never
# runs with an older build's files from any cache. The worker keeps every file of the site but
# itself (and the compressed copies the server may send in their place) under the addresses the
# page asks for them by; its cache is named after their digest, so that any change to one of
# them makes a new worker and a new cache. The page itself is kept as the site's folder, ./,
# under which it is asked for.
cmake_policy(SET CMP0057 NEW)  # if(... IN_LIST ...)
file(READ ${PAGE} page)
string(REGEX MATCHALL "@[A-Za-z0-9._-]+@" named "${page}")
list(REMOVE_DUPLICATES named)
set(versioned "")
foreach(placeholder ${named})
  string(REGEX REPLACE "^@(.*)@$" "\\1" file "${placeholder}")
  if(NOT EXISTS ${SITE_DIR}/${file})
    message(FATAL_ERROR "the page names ${file}, which the site does not have")
  endif()
  file(SHA256 ${SITE_DIR}/${file} digest)
  string(SUBSTRING ${digest} 0 12 digest)
  string(REPLACE "${placeholder}" "${digest}" page "${page}")
  list(APPEND versioned "${file}")
  set(address_${file} "${file}?v=${digest}")
endforeach()
file(WRITE ${SITE_DIR}/index.html "${page}")

file(GLOB_RECURSE files RELATIVE ${SITE_DIR} ${SITE_DIR}/*)
list(FILTER files EXCLUDE REGEX "(^service-worker\\.js|\\.gz)$")
list(SORT files)
set(digests "")
set(quoted "")
foreach(file ${files})
  file(SHA256 ${SITE_DIR}/${file} digest)
  string(APPEND digests ${digest})
  if(file STREQUAL "index.html")
    set(file "./")
  elseif(file IN_LIST versioned)
    set(file "${address_${file}}")
  endif()
  list(APPEND quoted "'${file}'")
endforeach()
string(SHA256 SITE_DIGEST "${digests}")
string(SUBSTRING ${SITE_DIGEST} 0 16 SITE_DIGEST)
list(JOIN quoted ", " SITE_FILES)
configure_file(${WORKER} ${SITE_DIR}/service-worker.js @ONLY)
