# Fails when a source includes a header of a layer it may not use: the
# layers point downwards only, and the two programs never reach into each
# other. Qt stays out of the Qt-free layers, and widgets out of everything
# below the console. Inside the console the rooms are layered too: the
# program's root on top, then the main window, the dialogs, the log, the
# widgets and files, and the floor (base/) that every room stands on. The
# programs reach the visit book through its door alone.
#
#   cmake -DROOT=<source dir> [-DEXPECT=<file>] -P CheckLayers.cmake
#
# With EXPECT the findings must be exactly the lines of that file: this is how
# the check itself is tried on sources planted with faults.
cmake_minimum_required(VERSION 3.20)

# folder: the project folders its includes may name (itself included).
set(allowed_protocol "protocol")
set(allowed_commands "commands|protocol")
set(allowed_link "link|protocol")
set(allowed_exchange "exchange|link|commands|protocol")
set(allowed_book "book|exchange|link|commands|protocol")
set(allowed_report "report|book|exchange|link|commands|protocol")
set(allowed_console "console|report|book|exchange|link|commands|protocol")
set(allowed_cli "cli|report|book|exchange|link|commands|protocol")
set(allowed_simulator "simulator|protocol")
set(layers protocol commands link exchange book report console cli simulator)
string(JOIN "|" projectFolders ${layers})
set(qtFree protocol commands simulator)
set(widgetFree protocol commands link exchange book report cli simulator)
set(widgetHeaders
  "^(QtWidgets/.*|QApplication|QWidget|QDialog|QMainWindow|QLabel|QPushButton|QLineEdit|QComboBox"
  "|QMessageBox|QFileDialog|QPlainTextEdit|QTableView|QMenu|QMenuBar|QAction|QStatusBar"
  "|QDockWidget|QGroupBox|QCheckBox|QRadioButton|QLayout|QVBoxLayout|QHBoxLayout|QGridLayout"
  "|QProgressDialog|QTextEdit)$")
string(JOIN "" widgetHeaders ${widgetHeaders})

# The visit book's front door: the programs include these two of its headers
# and no other, so its SQL, its outbox and its server stay behind it.
set(bookDoor "Book\\.h|VisitRecorder\\.h")

# console/<room>: the rooms of the console its includes may name. A dialog
# knows the main window only as MainServices (dialogs/), never mainwindow/.
set(room_app "app|mainwindow|dialogs|log|widgets|files|base")
set(room_mainwindow "mainwindow|dialogs|log|widgets|files|base")
set(room_dialogs "dialogs|log|widgets|files|base")
set(room_log "log|widgets|files|base")
set(room_files "files|base")
set(room_widgets "widgets|base")
set(room_base "base")

set(findings "")
foreach(layer IN LISTS layers)
  if(NOT IS_DIRECTORY "${ROOT}/${layer}")
    continue()
  endif()
  file(GLOB_RECURSE sources LIST_DIRECTORIES false RELATIVE "${ROOT}"
    "${ROOT}/${layer}/*.h" "${ROOT}/${layer}/*.cpp")
  list(SORT sources)
  foreach(source IN LISTS sources)
    file(STRINGS "${ROOT}/${source}" lines REGEX "^[ \t]*#[ \t]*include")
    foreach(line IN LISTS lines)
      if(NOT line MATCHES "^[ \t]*#[ \t]*include[ \t]*[<\"]([^>\"]+)[>\"]")
        continue()
      endif()
      set(header "${CMAKE_MATCH_1}")
      if(header MATCHES "^(${projectFolders})/")
        if(NOT header MATCHES "^(${allowed_${layer}})/")
          list(APPEND findings "${source}: ${layer}/ may not include ${header}")
        elseif(layer MATCHES "^(console|cli)$" AND header MATCHES "^book/"
               AND NOT header MATCHES "^book/(${bookDoor})$")
          list(APPEND findings "${source}: ${layer}/ reaches the book only through its door, not ${header}")
        elseif(layer STREQUAL "console" AND header MATCHES "^console/")
          string(REGEX MATCH "^console/([^/]+)/" inRoom "${source}")
          set(room "${CMAKE_MATCH_1}")
          if(NOT DEFINED room_${room})
            list(APPEND findings "${source}: console/ has no room ${room}/")
          elseif(NOT header MATCHES "^console/(${room_${room}})/")
            list(APPEND findings "${source}: console/${room}/ may not include ${header}")
          endif()
        endif()
      elseif(layer IN_LIST qtFree AND header MATCHES "^Q")
        list(APPEND findings "${source}: ${layer}/ is Qt-free but includes <${header}>")
      elseif(layer IN_LIST widgetFree AND header MATCHES "${widgetHeaders}")
        list(APPEND findings "${source}: ${layer}/ has no widgets but includes <${header}>")
      endif()
    endforeach()
  endforeach()
endforeach()

include(${CMAKE_CURRENT_LIST_DIR}/ReportFindings.cmake)
report_findings("${findings}" "crossings" "Includes across the layers"
  "Every include keeps to its layer.")
