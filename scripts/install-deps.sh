#!/usr/bin/env bash
# Installs the Debian packages the build needs. As root it installs them;
# otherwise it prints the one line to run and fails, so nobody is surprised
# halfway through a build.
set -eu
need_gui=${1:-}
pkgs="cmake g++ make pkg-config qt6-base-dev libqt6sql6-sqlite qt6-serialport-dev libgl-dev libgtest-dev libgmock-dev libbenchmark-dev qt6-translations-l10n fonts-dejavu-core poppler-utils postgresql-15 libqt6sql6-psql faketime qtkeychain-qt6-dev"
# poppler-utils: the tests read the service check's PDF back with pdftotext.
# libqt6sql6-sqlite: the QSQLITE driver that the visit book opens its file with
# (qt6-base-dev brings the Qt Sql headers). libqt6sql6-psql: the QPSQL driver of
# the company's shared book; postgresql-15: the server the tests start for it.
# faketime: a laptop whose clock is wrong, for the shared book's tests.
# qtkeychain-qt6-dev: the shared book's password kept in the system's keychain.
# `make fuzz` builds with clang and its libFuzzer runtime.
[ "${1:-}" = fuzz ] && pkgs="$pkgs clang-14 libclang-rt-14-dev"
# `make windows` cross-compiles the console and varmo-cli with MinGW-w64 against
# Qt for Windows (moc and uic are Debian's, Qt's Polish catalogue too);
# `make windows-package` zips them and makes an installer with NSIS;
# `make windows-check` builds GoogleTest from Debian's sources and runs the
# tests, varmo-cli, the installer and the console under Wine, on Xvfb; the
# programs' icon is drawn from packaging/varmo.svg (rsvg-convert) into an .ico
# (icotool).
[ "${1:-}" = windows ] && pkgs="cmake make g++-mingw-w64-x86-64-posix qt6-base-dev-tools
  qt6-translations-l10n xz-utils googletest wine64 nsis zip xvfb fonts-dejavu-core librsvg2-bin
  icoutils"
# Qt for Windows built here when ../shared/windows has none
# (scripts/build-qt-for-windows.sh): the same and Ninja, and dpkg-source.
[ "${1:-}" = windows-qt ] && pkgs="cmake g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix
  ninja-build qt6-base-dev qt6-base-dev-tools dpkg-dev xz-utils"
missing=""
for p in $pkgs; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing="$missing $p"
  fi
done
[ -z "$missing" ] && exit 0
if [ "$(id -u)" != "0" ]; then
  echo "Missing packages:$missing" >&2
  echo "Run: sudo apt-get update && sudo apt-get install -y$missing" >&2
  exit 1
fi
echo "Installing:$missing"
export DEBIAN_FRONTEND=noninteractive
if ! apt-get install -y --no-install-recommends $missing; then
  apt-get update
  apt-get install -y --no-install-recommends $missing
fi
