# Writes the site's service worker, which keeps every file of the site but itself (and the
# compressed copies the server may send in their place), its cache named after their digest, so
# that any change to one of them makes a new worker and a new cache.
#   cmake -DSITE_DIR=... -DTEMPLATE=... -P OfflineSite.cmake
# The page itself is kept as the site's folder, ./, under which it is asked for.
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
  endif()
  list(APPEND quoted "'${file}'")
endforeach()
string(SHA256 SITE_DIGEST "${digests}")
string(SUBSTRING ${SITE_DIGEST} 0 16 SITE_DIGEST)
list(JOIN quoted ", " SITE_FILES)
configure_file(${TEMPLATE} ${SITE_DIR}/service-worker.js @ONLY)
