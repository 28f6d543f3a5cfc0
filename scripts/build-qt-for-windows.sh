#!/usr/bin/env bash
# Builds Qt 6.4.2 for Windows x86-64 (Core, Gui, Widgets as DLLs; the
# windows, offscreen and minimal platform plugins, the Vista style, the gif,
# ico and jpeg image formats) with Debian 12's MinGW-w64 (posix threads) from
# Debian's own qt6-base source package, when ../shared/windows has no ready
# archive (scripts/windows-qt.sh calls it). The result is the same archive:
#   WORK_DIR/qt6.4.2-win64-mingw.tar.xz   (unpacks to qt6-win64/)
# The source comes through apt lists kept in WORK_DIR, so the machine's own apt
# configuration stays as it is. The build itself takes about 20 minutes of two
# cores; the download about 60 MB.
# Usage: build-qt-for-windows.sh WORK_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
W=${1:?usage: build-qt-for-windows.sh WORK_DIR}
"$here/scripts/install-deps.sh" windows-qt
mkdir -p "$W"
W=$(cd "$W" && pwd)
cd "$W"

# Debian's source packages from the same archive as the machine's binary
# packages, through lists of our own.
mkdir -p apt/lists/partial apt/cache/archives/partial
uri=$(awk '/^URIs:/ {print $2; exit}' /etc/apt/sources.list.d/debian.sources 2>/dev/null || true)
[ -n "$uri" ] || uri=$(awk '$1 == "deb" {print $2; exit}' /etc/apt/sources.list 2>/dev/null || true)
[ -n "$uri" ] || { echo "no Debian archive found in the apt sources" >&2; exit 1; }
echo "deb-src $uri bookworm main" > apt/sources.list
APT=(-o Dir::Etc::SourceList="$W/apt/sources.list" -o Dir::Etc::SourceParts=/dev/null
     -o Dir::State::Lists="$W/apt/lists" -o Dir::Cache::Archives="$W/apt/cache/archives")
if [ ! -d qt6-base-6.4.2+dfsg ]; then
  apt-get "${APT[@]}" update
  apt-get "${APT[@]}" source qt6-base=6.4.2+dfsg-10
fi

cat > toolchain-mingw64.cmake <<TC
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(CMAKE_C_COMPILER   /usr/bin/x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER /usr/bin/x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER  /usr/bin/x86_64-w64-mingw32-windres)
set(CMAKE_AR           /usr/bin/x86_64-w64-mingw32-gcc-ar-posix CACHE FILEPATH "")
set(CMAKE_RANLIB       /usr/bin/x86_64-w64-mingw32-gcc-ranlib-posix CACHE FILEPATH "")
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 $W/qt6-win64)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(ENV{PKG_CONFIG_LIBDIR} "/nonexistent")
set(ENV{PKG_CONFIG_PATH} "")
TC

# directwrite3 must go with direct2d in 6.4.2 (else the windows plugin misses
# a font database at link time); tabletevent off because the +dfsg source
# drops the wintab header the plugin includes.
multiarch=$(gcc -print-multiarch 2>/dev/null || echo x86_64-linux-gnu)
nice -n 10 cmake -G Ninja -S qt6-base-6.4.2+dfsg -B build-qtbase \
  -DCMAKE_TOOLCHAIN_FILE="$W/toolchain-mingw64.cmake" -DCMAKE_BUILD_TYPE=Release \
  -DBUILD_SHARED_LIBS=ON -DCMAKE_INSTALL_PREFIX="$W/qt6-win64" \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/$multiarch/cmake \
  -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
  -DFEATURE_sql=OFF -DFEATURE_network=OFF -DINPUT_opengl=no -DFEATURE_opengl=OFF -DFEATURE_dbus=OFF \
  -DFEATURE_testlib=OFF -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF -DFEATURE_printsupport=OFF \
  -DFEATURE_vulkan=OFF -DFEATURE_direct2d=OFF -DFEATURE_tabletevent=OFF -DFEATURE_directwrite3=OFF \
  -DFEATURE_zstd=OFF -DFEATURE_icu=OFF -DFEATURE_glib=OFF -DFEATURE_androiddeployqt=OFF \
  -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_png=OFF \
  -DFEATURE_system_jpeg=OFF -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_freetype=OFF \
  -DFEATURE_system_doubleconversion=OFF -DFEATURE_system_textmarkdownreader=OFF \
  -DFEATURE_system_libb2=OFF
nice -n 10 cmake --build build-qtbase --parallel "$(nproc)"
cmake --install build-qtbase
tar cJf qt6.4.2-win64-mingw.tar.xz qt6-win64
ls -l "$W/qt6.4.2-win64-mingw.tar.xz"
