# Writes the counting stand-ins for every SDL, SDL_image, SDL_ttf and SDL_mixer function the game's
# library calls: one x86-64 entry per function that counts the call and jumps on to the library's
# own, whatever its arguments. Run as cmake -DNM=... -DLIBRARY=... -DOUT_ASM=... -DOUT_NAMES=... -P.
execute_process(COMMAND ${NM} -u --format=posix ${LIBRARY}
  OUTPUT_VARIABLE symbols RESULT_VARIABLE failed ERROR_QUIET)
if(failed)
  message(FATAL_ERROR "${NM} could not list what ${LIBRARY} calls")
endif()
string(REGEX MATCHALL "(^|\n)(SDL|IMG|TTF|Mix)_[A-Za-z0-9_]+" names "${symbols}")
list(TRANSFORM names STRIP)
list(REMOVE_DUPLICATES names)
list(SORT names)

set(asm "# Made by CountedCalls.cmake: do not edit.\n    .text\n")
set(list "// Made by CountedCalls.cmake: do not edit.\n")
set(index 0)
foreach(name ${names})
  math(EXPR offset "${index} * 8")
  string(APPEND asm "    .globl ${name}\n    .type ${name}, @function\n${name}:\n"
    "    lock incq arcade_counted_calls+${offset}(%rip)\n"
    "    jmp *arcade_counted_targets+${offset}(%rip)\n"
    "    .size ${name}, .-${name}\n")
  string(APPEND list "\"${name}\",\n")
  math(EXPR index "${index} + 1")
endforeach()
string(APPEND asm "    .section .note.GNU-stack,\"\",@progbits\n")
file(WRITE ${OUT_ASM} "${asm}")
file(WRITE ${OUT_NAMES} "${list}")
