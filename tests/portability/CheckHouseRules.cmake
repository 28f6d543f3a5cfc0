# Fails when a source outgrows the house's size (450 lines: one idea a file),
# or when a setting is read or written past the tables that own the keys
# (the link's StoredLink, the visit book's StoredBook and ServerAddress, the
# console's Settings), so a key, its default and its bounds stand in one
# place.
#
#   cmake -DROOT=<source dir> [-DEXPECT=<file>] -P CheckHouseRules.cmake
cmake_minimum_required(VERSION 3.20)
include(${CMAKE_CURRENT_LIST_DIR}/ReportFindings.cmake)

set(maxLines 450)
set(tables "^(link/StoredLink|link/SettingsStore|book/StoredBook|book/ServerAddress|console/base/Settings)\\.(h|cpp)$")

set(findings "")
foreach(folder protocol commands link exchange book report console cli simulator tests bench fuzz)
  if(NOT IS_DIRECTORY "${ROOT}/${folder}")
    continue()
  endif()
  file(GLOB_RECURSE sources LIST_DIRECTORIES false RELATIVE "${ROOT}"
    "${ROOT}/${folder}/*.h" "${ROOT}/${folder}/*.cpp" "${ROOT}/${folder}/*.cmake")
  list(SORT sources)
  foreach(source IN LISTS sources)
    # The planted trees are the checks' own specimens.
    if(source MATCHES "^tests/portability/[a-z-]*planted/")
      continue()
    endif()
    file(READ "${ROOT}/${source}" text)
    string(REGEX MATCHALL "\n" breaks "${text}")
    list(LENGTH breaks count)
    if(count GREATER maxLines)
      list(APPEND findings "${source}: ${count} lines, over ${maxLines}")
    endif()
    if(source MATCHES "${tables}" OR source MATCHES "^(tests|fuzz|bench)/")
      continue()
    endif()
    string(REPLACE ";" "" text "${text}")
    string(REGEX MATCHALL "[^\n]*(ReadSetting|WriteSetting|WriteSettingQuietly)[ \t]*\\([^\n]*" uses "${text}")
    foreach(use IN LISTS uses)
      string(STRIP "${use}" use)
      if(NOT use MATCHES "^//")
        list(APPEND findings "${source}: a setting outside its table: ${use}")
      endif()
    endforeach()
  endforeach()
endforeach()

report_findings("${findings}" "oversized files and stray settings" "The house's rules are broken"
  "Every file within ${maxLines} lines, every setting in its table.")
