# The programs' icon and version information on Windows: packaging/varmo.svg
# drawn at 16, 24, 32, 48, 64 and 256 pixels (rsvg-convert) and put into one
# varmo.ico (icotool) at build time, and a resource script for each program
# (packaging/windows/varmo.rc.in) that windres builds into it. The installer
# takes the same varmo.ico (scripts/windows-package.sh).

find_program(VARMO_RSVG_CONVERT rsvg-convert NO_CMAKE_FIND_ROOT_PATH)
find_program(VARMO_ICOTOOL icotool NO_CMAKE_FIND_ROOT_PATH)
if(NOT VARMO_RSVG_CONVERT OR NOT VARMO_ICOTOOL)
  message(FATAL_ERROR "the Windows icon needs rsvg-convert and icotool: "
                      "apt-get install librsvg2-bin icoutils")
endif()

set(VARMO_ICO ${CMAKE_BINARY_DIR}/varmo.ico)
set(svg ${CMAKE_SOURCE_DIR}/packaging/varmo.svg)
set(pngs "")
set(draw "")
foreach(size 16 24 32 48 64 256)
  set(png ${CMAKE_BINARY_DIR}/icon/varmo-${size}.png)
  list(APPEND pngs ${png})
  list(APPEND draw COMMAND ${VARMO_RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${svg})
endforeach()
add_custom_command(OUTPUT ${VARMO_ICO}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/icon
  ${draw}
  COMMAND ${VARMO_ICOTOOL} -c -o ${VARMO_ICO} ${pngs}
  DEPENDS ${svg}
  COMMENT "Drawing varmo.ico from packaging/varmo.svg")
add_custom_target(varmo_icon DEPENDS ${VARMO_ICO})

# Gives the program the icon and its version information, its description
# in the file's properties as given (plain ASCII: the resource compiler reads
# the script in no one code page).
function(varmo_windows_resources target description)
  set(VARMO_RC_NAME ${target})
  set(VARMO_RC_DESCRIPTION "${description}")
  set(rc ${CMAKE_BINARY_DIR}/resources/${target}.rc)
  configure_file(${CMAKE_SOURCE_DIR}/packaging/windows/varmo.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
  set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS ${VARMO_ICO})
  add_dependencies(${target} varmo_icon)
endfunction()
