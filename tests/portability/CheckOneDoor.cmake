# Fails when anything waits on the line outside the one place made for it
# (link/LineWait): no event loop of its own, no processEvents; and when the
# exchange shows its port, assembler or history to its users.
#
#   cmake -DROOT=<source dir> [-DEXPECT=<file>] -P CheckOneDoor.cmake
cmake_minimum_required(VERSION 3.20)
include(${CMAKE_CURRENT_LIST_DIR}/ReportFindings.cmake)

set(findings "")
foreach(folder protocol commands link exchange report console cli)
  if(NOT IS_DIRECTORY "${ROOT}/${folder}")
    continue()
  endif()
  file(GLOB_RECURSE sources LIST_DIRECTORIES false RELATIVE "${ROOT}"
    "${ROOT}/${folder}/*.h" "${ROOT}/${folder}/*.cpp")
  list(SORT sources)
  foreach(source IN LISTS sources)
    if(source MATCHES "^link/LineWait\\.(h|cpp)$")
      continue()
    endif()
    file(READ "${ROOT}/${source}" text)
    # Semicolons would split the lines into pieces of a list.
    string(REPLACE ";" "" text "${text}")
    string(REGEX MATCHALL "[^\n]*(QEventLoop|processEvents)[^\n]*" lines "${text}")
    foreach(line IN LISTS lines)
      string(STRIP "${line}" line)
      if(NOT line MATCHES "^//")
        list(APPEND findings "${source}: waits outside LineWait: ${line}")
      endif()
    endforeach()
  endforeach()
endforeach()

# The exchange's public part ends at its first "private:" or "protected:".
set(exchange "${ROOT}/exchange/PrinterExchange.h")
if(EXISTS "${exchange}")
  file(READ "${exchange}" text)
  string(REPLACE ";" "" text "${text}")
  string(FIND "${text}" "class PrinterExchange" begin)
  string(SUBSTRING "${text}" ${begin} -1 text)
  string(REGEX REPLACE "\n(private|protected):.*" "" public "${text}")
  string(REGEX MATCHALL "[A-Za-z_:<>]+[ \t]+(Port|Packets|History)[ \t]*[\n{=]" members "${public}")
  foreach(member IN LISTS members)
    string(STRIP "${member}" member)
    list(APPEND findings "exchange/PrinterExchange.h: public part of the exchange: ${member}")
  endforeach()
endif()

report_findings("${findings}" "waits and public parts" "The line is reached past its door"
  "Every wait on the line is a LineWait, and the exchange keeps its parts.")
