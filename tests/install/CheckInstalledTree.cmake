# Looks over what `cmake --install` puts on a machine (see CMakeLists.txt).
#   MODE=tree           install into ROOT afresh and check the files and programs
#   MODE=desktop_entry  desktop-file-validate on the menu entry
#   MODE=metainfo       appstreamcli validate on the catalogue entry
#   MODE=manual_pages   man's own warnings on every manual page
cmake_minimum_required(VERSION 3.20)

string(REPLACE "," ";" programs "${PROGRAMS}")
set(usr "${ROOT}/usr")
set(desktop "${usr}/share/applications/varmo.desktop")
set(metainfo "${usr}/share/metainfo/${APP_ID}.metainfo.xml")
set(failures "")

macro(fail what)
  list(APPEND failures "${what}")
endmacro()

function(expect_file path)
  if(NOT EXISTS "${usr}/${path}" OR IS_DIRECTORY "${usr}/${path}")
    set(failures "${failures};not installed: /usr/${path}" PARENT_SCOPE)
  endif()
endfunction()

# Runs a validator when it is installed; its errors and warnings fail the
# test, its hints are only shown.
function(validate tool)
  find_program(found ${tool})
  if(NOT found)
    message("SKIPPED: ${tool} is not installed, nothing validated")
    return()
  endif()
  execute_process(COMMAND ${found} ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  message("${tool}: ${out}")
  if(NOT rc EQUAL 0 OR out MATCHES "(error|warning): " OR out MATCHES "\nE: |^E: |\nW: |^W: ")
    message(FATAL_ERROR "${tool} refuses what was installed (exit ${rc})")
  endif()
endfunction()

if(MODE STREQUAL "tree")
  file(REMOVE_RECURSE "${ROOT}")
  execute_process(COMMAND ${CMAKE_COMMAND} -E env DESTDIR=${ROOT}
                          ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix /usr
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "cmake --install failed:\n${out}")
  endif()

  foreach(program IN LISTS programs)
    expect_file(bin/${program})
    expect_file(share/man/man1/${program}.1.gz)
    if(EXISTS "${usr}/share/man/man1/${program}.1.gz")
      file(READ "${usr}/share/man/man1/${program}.1.gz" magic LIMIT 2 HEX)
      if(NOT magic STREQUAL "1f8b")
        fail("/usr/share/man/man1/${program}.1.gz is not gzipped")
      endif()
    endif()
    if(NOT EXISTS "${usr}/bin/${program}")
      continue()
    endif()
    # From the installed place, with no desktop: the console must answer
    # before it looks for a screen.
    execute_process(COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY
                            --unset=QT_QPA_PLATFORM ${usr}/bin/${program} --version
                    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 60)
    if(NOT rc EQUAL 0 OR NOT out STREQUAL "${program} ${VERSION}\n")
      fail("${program} --version gave '${out}${err}' (exit ${rc}), not '${program} ${VERSION}'")
    endif()
    execute_process(COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY
                            --unset=QT_QPA_PLATFORM ${usr}/bin/${program} --help
                    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 60)
    if(NOT rc EQUAL 0 OR NOT out MATCHES "--version")
      fail("${program} --help (exit ${rc}) does not list --version: '${out}${err}'")
    endif()
  endforeach()

  expect_file(share/icons/hicolor/scalable/apps/varmo.svg)
  expect_file(share/doc/varmo/copyright)
  expect_file(share/doc/varmo/changelog.gz)
  # The licence of the report's built-in font.
  expect_file(share/doc/varmo/copyright-dejavu-fonts)
  expect_file(share/metainfo/${APP_ID}.metainfo.xml)
  expect_file(share/applications/varmo.desktop)
  if(EXISTS "${desktop}")
    file(READ "${desktop}" entry)
    # '|' stands for ';' here, which CMake would take for a list separator.
    foreach(line "Name=Varmo" "Exec=varmo" "Icon=varmo" "Categories=Utility|Development|"
                 "Comment=Program serwisowy do drukarki fiskalnej")
      string(REPLACE "|" ";" wanted "${line}")
      string(FIND "\n${entry}" "\n${wanted}\n" at)
      if(at EQUAL -1)
        fail("the menu entry lacks the line ${line}")
      endif()
    endforeach()
  endif()
  if(EXISTS "${metainfo}")
    file(READ "${metainfo}" catalogue)
    foreach(piece "<release version=\"${VERSION}\"" ${programs})
      if(piece IN_LIST programs)
        set(piece "<binary>${piece}</binary>")
      endif()
      string(FIND "${catalogue}" "${piece}" at)
      if(at EQUAL -1)
        fail("the catalogue entry lacks ${piece}")
      endif()
    endforeach()
  endif()

  # A runtime package: nothing a build would want, nothing in odd places.
  file(GLOB_RECURSE installed LIST_DIRECTORIES false RELATIVE "${ROOT}" "${ROOT}/*")
  foreach(path IN LISTS installed)
    if(NOT path MATCHES "^usr/(bin|share/(applications|icons|metainfo|man|doc/varmo))/"
       OR path MATCHES "\\.(a|h|hpp|cmake|pc)$")
      fail("installed but not wanted: /${path}")
    endif()
  endforeach()
elseif(MODE STREQUAL "desktop_entry")
  validate(desktop-file-validate "${desktop}")
elseif(MODE STREQUAL "metainfo")
  validate(appstreamcli validate --no-net "${metainfo}")
elseif(MODE STREQUAL "manual_pages")
  find_program(man man)
  find_program(groff groff)
  if(NOT man OR NOT groff)
    message("SKIPPED: man or groff is not installed, manual pages not checked")
    return()
  endif()
  foreach(program IN LISTS programs)
    execute_process(COMMAND ${CMAKE_COMMAND} -E env LC_ALL=C.UTF-8 MANROFFSEQ= MANWIDTH=80
                            ${man} --warnings -E UTF-8 -l -Tutf8 -Z
                            ${usr}/share/man/man1/${program}.1.gz
                    RESULT_VARIABLE rc OUTPUT_QUIET ERROR_VARIABLE err)
    if(NOT rc EQUAL 0 OR NOT err STREQUAL "")
      fail("man finds fault with ${program}(1): ${err}")
    endif()
  endforeach()
  message("Manual pages read cleanly: ${programs}")
else()
  message(FATAL_ERROR "unknown MODE '${MODE}'")
endif()

if(failures)
  list(REMOVE_ITEM failures "")
  string(REPLACE ";" "\n  " text "${failures}")
  message(FATAL_ERROR "The installed tree under ${ROOT} is not right:\n  ${text}")
endif()
