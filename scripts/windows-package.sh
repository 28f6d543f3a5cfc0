#!/usr/bin/env bash
# make windows-package: the Windows programs of BUILD (made by `make windows`)
# with Qt's DLLs and plugins and MinGW's runtime, as
#   BUILD/varmo-<version>-win64.zip     a folder to unzip and run from
#   BUILD/varmo-<version>-setup.exe     an installer (NSIS): per user, Start menu, uninstaller
# Usage: windows-package.sh BUILD
set -eu
build=${1:-build-windows}
here=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$build" && pwd)
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
[ -n "$version" ] || { echo "$build is no configured Windows build: run make windows" >&2; exit 1; }
command -v makensis >/dev/null || { echo "makensis missing: apt-get install nsis" >&2; exit 1; }

name=varmo-$version-win64
stage=$build/package/$name
rm -rf "$build/package"
cmake --install "$build" --prefix "$stage" >/dev/null
# Debugging symbols stay in the build: MinGW's libstdc++ alone carries 20 MB.
find "$stage" -name '*.exe' -o -name '*.dll' | xargs x86_64-w64-mingw32-strip --strip-unneeded
# The licence beside the programs, with Windows line ends.
sed 's/$/\r/' "$here/packaging/copyright" > "$stage/copyright.txt"
for needed in varmo.exe varmo-cli.exe Qt6Core.dll platforms/qwindows.dll \
              libpq.dll libssl-3-x64.dll libcrypto-3-x64.dll; do
  [ -f "$stage/$needed" ] || { echo "$needed is missing from $stage" >&2; exit 1; }
done

zip=$build/$name.zip
rm -f "$zip"
(cd "$build/package" && zip -qr -9 "$zip" "$name")

# What the uninstaller removes: the files installed, by name, then their
# folders deepest first (each only when empty).
list=$build/package/uninstall-files.nsh
(cd "$stage" && find . -type f | sed 's|^\./||; s|/|\\|g; s|.*|  Delete "$INSTDIR\\&"|'
 cd "$stage" && find . -mindepth 1 -type d | sort -r | sed 's|^\./||; s|/|\\|g; s|.*|  RMDir "$INSTDIR\\&"|') > "$list"
size_kb=$(du -sk "$stage" | cut -f1)

setup=$build/varmo-$version-setup.exe
makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DSTAGE="$stage" -DOUTFILE="$setup" -DICON="$build/varmo.ico" \
  -DUNINSTALL_LIST="$list" -DSIZE_KB="$size_kb" "$here/packaging/windows/varmo.nsi" >/dev/null
ls -l "$zip" "$setup" | awk '{ printf "%s  %.1f MB\n", $NF, $5 / 1048576 }'
