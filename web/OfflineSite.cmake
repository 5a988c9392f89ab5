# Writes the site's service worker, its cache named after the digest of the files it keeps, so
# that any change to one of them makes a new worker and a new cache.
#   cmake -DSITE_DIR=... -DTEMPLATE=... -DSITE_FILES=a,b,... -P OfflineSite.cmake
# The page itself is kept as the site's folder, ./, under which it is asked for.
string(REPLACE "," ";" files "${SITE_FILES}")
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
