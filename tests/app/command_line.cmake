# The options that end at once, run as a user runs them: the real program,
# no display at all.  Made the GUI application first, it would abort; a
# program that needs one says so in one line.
# Run with -DKAVRIN=<program> -DVERSION=<project version>.
set(cases
  "--version|0|^kavrin ${VERSION}\n$|^$"
  "-v|0|^kavrin ${VERSION}\n$|^$"
  "--help|0|Usage: kavrin \\[options\\] \\[--\\] \\[file\\].*--version|^$"
  "--frobnicate|2|^$|unknown option '--frobnicate'"
  "-x.txt|2|^$|unknown option '-x.txt'"
  "-name|2|^$|Missing value after '-name'"
  "-platform xcb|1|^$|^kavrin: no display could be opened \\(could not connect to display[^\n]*\\)\n$"
)
set(faults 0)
foreach(case ${cases})
  string(REPLACE "|" ";" fields "${case}")
  list(GET fields 0 option)
  list(GET fields 1 status)
  list(GET fields 2 out_pattern)
  list(GET fields 3 err_pattern)
  separate_arguments(arguments UNIX_COMMAND "${option}")
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY --unset=QT_QPA_PLATFORM
            ${KAVRIN} ${arguments}
    RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 30)
  if(NOT result STREQUAL status OR NOT out MATCHES "${out_pattern}" OR NOT err MATCHES "${err_pattern}")
    message(SEND_ERROR "kavrin ${option}: status ${result}, output [${out}], errors [${err}]")
    math(EXPR faults "${faults} + 1")
  endif()
endforeach()
# Output that cannot be written is no success.
if(EXISTS /dev/full)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY ${KAVRIN} --version
                  OUTPUT_FILE /dev/full RESULT_VARIABLE result ERROR_VARIABLE err TIMEOUT 30)
  if(NOT result STREQUAL "1" OR NOT err MATCHES "cannot write")
    message(SEND_ERROR "kavrin --version >/dev/full: status ${result}, errors [${err}]")
    math(EXPR faults "${faults} + 1")
  endif()
endif()
if(faults GREATER 0)
  message(FATAL_ERROR "${faults} command line(s) answered wrongly")
endif()
