# Fails when a folder that must also build on Windows uses the POSIX API: a
# POSIX header, or a POSIX-only signal or library call. Such code belongs in
# files that CMake builds only on Unix (the virtual printer's front end).
#
#   cmake -DROOT=<source dir> -DFOLDERS=protocol,commands,... [-DEXPECT=<file>]
#         [-DUNIX_ONLY=<file>,...] -P CheckPortableSources.cmake
#
# UNIX_ONLY names the files in those folders that CMake builds only on Unix.
#
# With EXPECT the findings must be exactly the lines of that file: this is how
# the check itself is tested on sources planted with faults.
cmake_minimum_required(VERSION 3.20)

set(posixHeaders
  "^(unistd|termios|termio|fcntl|pty|poll|dirent|pthread|pwd|grp|dlfcn|semaphore|spawn|syslog|libgen"
  "|strings|glob|fnmatch|wordexp|sched|utmp|ucontext|netdb|ifaddrs|langinfo|nl_types|ftw|aio|mqueue"
  "|sgtty|regex|utime|sys/.*|arpa/.*|netinet/.*|net/.*)\\.h$")
string(JOIN "" posixHeaders ${posixHeaders})
# <csignal> itself is standard C++; these parts of it are not, nor these calls.
set(posixNames
  "sigaction|sigprocmask|sigemptyset|sigfillset|sigaddset|sigset_t|SIGPIPE|SIGHUP|SIGCHLD|SIGUSR1"
  "|SIGUSR2|SIGALRM|SIGKILL|SIGQUIT|SIGSTOP|SIGCONT|localtime_r|gmtime_r|setenv|unsetenv|usleep"
  "|ssize_t|strcasecmp|strncasecmp|strerror_r|mkstemp|realpath")
string(JOIN "" posixNames ${posixNames})

string(REPLACE "," ";" folders "${FOLDERS}")
string(REPLACE "," ";" unixOnly "${UNIX_ONLY}")
set(findings "")
foreach(folder IN LISTS folders)
  if(NOT IS_DIRECTORY "${ROOT}/${folder}")
    continue()
  endif()
  file(GLOB_RECURSE sources LIST_DIRECTORIES false RELATIVE "${ROOT}"
    "${ROOT}/${folder}/*.h" "${ROOT}/${folder}/*.hpp" "${ROOT}/${folder}/*.c"
    "${ROOT}/${folder}/*.cc" "${ROOT}/${folder}/*.cpp" "${ROOT}/${folder}/*.cxx")
  list(SORT sources)
  foreach(source IN LISTS sources)
    if(source IN_LIST unixOnly)
      continue()
    endif()
    file(READ "${ROOT}/${source}" text)
    # One list entry per line: characters CMake lists treat specially go first.
    string(REPLACE ";" " " text "${text}")
    string(REPLACE "[" "(" text "${text}")
    string(REPLACE "]" ")" text "${text}")
    string(REPLACE "\\" "/" text "${text}")
    string(REPLACE "\n" ";" lines "${text}")
    set(number 0)
    foreach(line IN LISTS lines)
      math(EXPR number "${number} + 1")
      if(line MATCHES "^[ \t]*#[ \t]*include[ \t]*[<\"]([^>\"]+)[>\"]")
        set(header "${CMAKE_MATCH_1}")
        if(header MATCHES "${posixHeaders}")
          list(APPEND findings "${source}:${number}: <${header}> is POSIX only")
        endif()
        continue()
      endif()
      string(REGEX REPLACE "//.*$" "" code "${line}")
      string(REGEX REPLACE "\"([^\"]|/\")*\"" "\"\"" code "${code}")
      if(code MATCHES "(^|[^A-Za-z0-9_])(${posixNames})([^A-Za-z0-9_]|$)")
        list(APPEND findings "${source}:${number}: ${CMAKE_MATCH_2} is POSIX only")
      endif()
    endforeach()
  endforeach()
endforeach()

include(${CMAKE_CURRENT_LIST_DIR}/ReportFindings.cmake)
report_findings("${findings}" "uses"
  "POSIX in code that must build on Windows too (move it into a file that CMake builds only on Unix)"
  "No POSIX headers or calls in ${FOLDERS}.")
