# Writes FILE.gz beside each of the site's files that is worth compressing, so that a server can
# send it in place of FILE to a browser that takes gzip, and says how many bytes that saves.
# zopfli packs a few per cent tighter than gzip -9 in the same format, where it is installed.
#   cmake -DSITE_DIR=... [-DZOPFLI=...] -DGZIP=... -P CompressSite.cmake
file(GLOB files RELATIVE ${SITE_DIR}
     ${SITE_DIR}/*.wasm ${SITE_DIR}/*.js ${SITE_DIR}/*.data ${SITE_DIR}/*.html ${SITE_DIR}/*.css
     ${SITE_DIR}/*.webmanifest)
list(SORT files)
set(plain 0)
set(packed 0)
foreach(file ${files})
  set(path ${SITE_DIR}/${file})
  file(SIZE ${path} size)
  # Below a kilobyte the header and the server's choosing cost about what compressing saves.
  if(size LESS 1024)
    file(REMOVE ${path}.gz)
    continue()
  endif()
  if(ZOPFLI)
    execute_process(COMMAND ${ZOPFLI} --gzip -c ${path} OUTPUT_FILE ${path}.gz RESULT_VARIABLE failed)
  else()
    execute_process(COMMAND ${GZIP} -9 -n -c ${path} OUTPUT_FILE ${path}.gz RESULT_VARIABLE failed)
  endif()
  if(failed)
    message(FATAL_ERROR "could not compress ${file}")
  endif()
  file(SIZE ${path}.gz gzipped)
  math(EXPR plain "${plain} + ${size}")
  math(EXPR packed "${packed} + ${gzipped}")
  message(STATUS "${file}: ${size} bytes, ${gzipped} compressed")
endforeach()
message(STATUS "compressed files: ${plain} bytes, ${packed} as .gz")
