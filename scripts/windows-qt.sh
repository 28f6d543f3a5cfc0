#!/usr/bin/env bash
# Puts Qt 6.4.2 for Windows (Core, Gui, Widgets, as MinGW-w64 DLLs with their
# plugins) into BUILD/qt6-win64 for `make windows`, once:
#   - unpacked from ../shared/windows/qt6.4.2-win64-mingw.tar.xz when it is
#     there (VARMO_QT_WINDOWS_ARCHIVE names another archive);
#   - otherwise cross-built from Debian's own qt6-base source by
#     scripts/build-qt-for-windows.sh, which takes about 20 minutes of two
#     cores (and fetches the source through apt lists kept in BUILD/qt-build).
# Usage: windows-qt.sh BUILD
set -eu
build=${1:?usage: windows-qt.sh BUILD}
here=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$build"
build=$(cd "$build" && pwd)
qt=$build/qt6-win64

# A folder unpacked from an older archive (libpq.dll without the OpenSSL
# DLLs it now loads) is unpacked again.
if [ -f "$qt/lib/cmake/Qt6/Qt6Config.cmake" ] && [ -f "$qt/bin/Qt6Widgets.dll" ] &&
   { [ ! -f "$qt/bin/libpq.dll" ] || [ -f "$qt/bin/libssl-3-x64.dll" ]; }; then
  exit 0
fi
archive=${VARMO_QT_WINDOWS_ARCHIVE:-$here/../shared/windows/qt6.4.2-win64-mingw.tar.xz}
if [ ! -f "$archive" ]; then
  echo "No Qt for Windows at $archive: building it from Debian's qt6-base source (about 20 minutes)"
  "$here/scripts/build-qt-for-windows.sh" "$build/qt-build"
  archive=$build/qt-build/qt6.4.2-win64-mingw.tar.xz
fi
echo "Qt for Windows: unpacking $(basename "$archive") into $qt"
rm -rf "$qt"
tar xJf "$archive" -C "$build"
[ -f "$qt/bin/Qt6Widgets.dll" ] || { echo "$archive did not hold qt6-win64/" >&2; exit 1; }
