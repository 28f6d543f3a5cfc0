# What a Windows program built here needs beside its .exe, and nothing more:
# Qt's DLLs and the plugins it loads (platforms/, styles/, imageformats/,
# sqldrivers/ for the visit book),
# MinGW's runtime DLLs, Qt's Polish catalogue for the toolkit's own dialogs,
# and a qt.conf that keeps Qt's paths in the program's own folder.
#
# Every Windows program of the build (the two programs and the tests) is made
# in <build>/bin, where all of this is copied, so each runs from the build tree
# as it will run installed; `cmake --install` puts the programs and the same
# files into one folder, which the zip and the installer hold.

function(varmo_windows_runtime)
  set(bin ${CMAKE_BINARY_DIR}/bin)
  # Their folders install them (CMAKE_INSTALL_BINDIR is "." on Windows).
  set_target_properties(${ARGN} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${bin})

  set(dlls $<TARGET_FILE:Qt6::Core> $<TARGET_FILE:Qt6::Gui> $<TARGET_FILE:Qt6::Widgets>
           $<TARGET_FILE:Qt6::Sql>)
  # The shared visit book's driver loads PostgreSQL's client library from
  # beside the programs.
  get_target_property(sql_dll Qt6::Sql IMPORTED_LOCATION_RELEASE)
  get_filename_component(qt_bin "${sql_dll}" DIRECTORY)
  # libpq.dll speaks TLS through OpenSSL and does not load at all without its
  # two DLLs beside it, so the three go together or not at all.
  if(EXISTS "${qt_bin}/libpq.dll")
    list(APPEND dlls "${qt_bin}/libpq.dll")
    foreach(ssl libssl-3-x64.dll libcrypto-3-x64.dll)
      if(NOT EXISTS "${qt_bin}/${ssl}")
        message(FATAL_ERROR "${qt_bin}/libpq.dll needs ${ssl} beside it: unpack Qt for Windows again (rm -rf ${qt_bin}/..)")
      endif()
      list(APPEND dlls "${qt_bin}/${ssl}")
    endforeach()
    # Their licences go with them.
    foreach(licence OpenSSL-LICENSE.txt PostgreSQL-COPYRIGHT.txt)
      if(EXISTS "${qt_bin}/../licenses/${licence}")
        install(FILES "${qt_bin}/../licenses/${licence}" DESTINATION licenses)
      endif()
    endforeach()
  endif()
  # MinGW's own runtime, as Qt's DLLs were linked against it. (Microsoft's
  # comes with vc_redist, which windeployqt puts beside the programs.)
  set(runtimes "")
  if(MINGW)
    set(runtimes libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
  endif()
  foreach(runtime IN LISTS runtimes)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${runtime}
      OUTPUT_VARIABLE found OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT IS_ABSOLUTE "${found}" OR NOT EXISTS "${found}")
      message(FATAL_ERROR "${runtime} not found beside ${CMAKE_CXX_COMPILER}")
    endif()
    list(APPEND dlls ${found})
  endforeach()

  set(folders platforms styles imageformats sqldrivers)
  set(platforms Qt6::QWindowsIntegrationPlugin Qt6::QOffscreenIntegrationPlugin
                Qt6::QMinimalIntegrationPlugin)
  set(styles Qt6::QWindowsVistaStylePlugin)
  set(imageformats Qt6::QGifPlugin Qt6::QICOPlugin Qt6::QJpegPlugin)
  # The visit book's file: SQLite, linked into its driver; and the
  # company's shared book on PostgreSQL.
  set(sqldrivers Qt6::QSQLiteDriverPlugin)
  if(TARGET Qt6::QPSQLDriverPlugin)
    list(APPEND sqldrivers Qt6::QPSQLDriverPlugin)
  endif()

  # Qt's paths from the program's folder. "Libraries" is there for the
  # offscreen platform alone (varmo-cli check draws its PDF on it), which on
  # Windows reads its fonts from <Libraries>/fonts: the system's fonts folder.
  set(conf ${CMAKE_BINARY_DIR}/qt.conf)
  file(WRITE ${conf} "[Paths]\nPrefix = .\nPlugins = .\nTranslations = translations\nLibraries = $(WINDIR)\n")
  # Qt's catalogues are the same files on every system: Debian's will do.
  find_file(VARMO_QTBASE_PL qtbase_pl.qm PATHS /usr/share/qt6/translations
    NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)

  set(copy ${CMAKE_COMMAND} -E copy_if_different)
  set(commands COMMAND ${CMAKE_COMMAND} -E make_directory ${bin}
               COMMAND ${copy} ${dlls} ${conf} ${bin})
  install(FILES ${dlls} ${conf} DESTINATION .)
  foreach(folder IN LISTS folders)
    set(files "")
    foreach(plugin IN LISTS ${folder})
      list(APPEND files $<TARGET_FILE:${plugin}>)
    endforeach()
    list(APPEND commands COMMAND ${CMAKE_COMMAND} -E make_directory ${bin}/${folder}
                         COMMAND ${copy} ${files} ${bin}/${folder})
    install(FILES ${files} DESTINATION ${folder})
  endforeach()
  if(VARMO_QTBASE_PL)
    list(APPEND commands COMMAND ${CMAKE_COMMAND} -E make_directory ${bin}/translations
                         COMMAND ${copy} ${VARMO_QTBASE_PL} ${bin}/translations)
    install(FILES ${VARMO_QTBASE_PL} DESTINATION translations)
  else()
    message(STATUS "qtbase_pl.qm not found (qt6-translations-l10n): the toolkit's dialogs speak English")
  endif()
  add_custom_target(windows_runtime ALL ${commands} VERBATIM
    COMMENT "Qt, its plugins and MinGW's runtime beside the Windows programs")
endfunction()
