#!/usr/bin/env bash
# The Windows half of `make windows-check`: everything runs under Wine 8 in a
# Wine prefix made for the run and thrown away after it, on an Xvfb display
# of its own, with COM5 of the prefix led to the pseudo-terminal of a Linux
# varmo-sim. Usage: run-under-wine.sh WINDOWS_BUILD LINUX_BUILD
#
#  1. CTest runs the Windows build's test programs (the Qt-free layers, the
#     Win32 serial port and the registry, the console's tests that need no
#     pseudo-terminal and the README's first exchange), offscreen.
#  2. varmo-cli.exe on COM5: the header with its Polish letters; scripts with
#     a setting command and expect, and a silent printer, each with the exit
#     status, standard output and messages of the Linux varmo-cli; a COM name
#     with no device; the service check's PDF; the list of ports.
#  3. The first exchange again on Xvfb with Qt's windows platform, and a
#     picture of the screen after it; then the registry holds com, baud and
#     plStd (wine reg query).
#  4. The installer (varmo-<version>-setup.exe /S) installs silently; the
#     installed varmo.exe starts, its window is pictured and closed.
#
# What each step saw is in WINDOWS_BUILD/windows-check/; the pictures are
# first-exchange.png and installed-varmo.png there.
set -u
build=$(cd "${1:-build-windows}" && pwd)
linux=$(cd "${2:-build}" && pwd)
here=$(cd "$(dirname "$0")/.." && pwd)
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)
sim=$linux/simulator/varmo-sim
linux_cli=$linux/cli/varmo-cli
for program in "$sim" "$linux_cli" "$build/bin/varmo-cli.exe" "$build/bin/test_windows_console.exe"; do
  [ -x "$program" ] || [ -f "$program" ] || { echo "missing: $program" >&2; exit 1; }
done

out=$build/windows-check
rm -rf "$out"
mkdir -p "$out"
work=$(mktemp -d "${TMPDIR:-/tmp}/varmo-wine.XXXXXX")
# Wine and the rest run with a home of their own in the run's folder:
# whatever they would leave in a user's home is found there (home-trace.sh)
# and goes with the folder, and the user's own home is never touched.
export HOME=$work/home
mkdir -p "$HOME"
export WINEPREFIX=$work/prefix WINEDEBUG=-all
# No offer to fetch Mono or Gecko, and no menu entries written into the
# user's home for what the installer puts in the Start menu.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# Wine hands a Windows program its own QT_* variables from WINEQT_*: the
# offscreen platform unless a step asks for windows, and fonts for it.
export WINEQT_QPA_PLATFORM=offscreen
export WINEQT_QPA_FONTDIR='Z:\usr\share\fonts\truetype\dejavu'
# What the tests need to put varmo-sim on a COM port (tests/windows/WinePrinter.h).
export VARMO_SIM=$sim VARMO_WINE_PRINTER=$here/tests/windows/wine-printer.sh
export VARMO_WINE_SHARED=$work/shared VARMO_WINE_PIDS=$work/pids
mkdir -p "$VARMO_WINE_SHARED"
: > "$VARMO_WINE_PIDS"

# Whatever the run leaves in the home folder is found against this list.
"$here/scripts/home-trace.sh" before "$work/home-before"
failures=0
fail() {
  echo "FAILED: $*" >&2
  failures=$((failures + 1))
}
began=$(date +%s)
note() { printf '[%4ss] %s\n' $(($(date +%s) - began)) "$*"; }

xvfb_pid=""
cleanup() {
  # The printers this run started and left running, by their own numbers
  # (a number that is no varmo-sim any more is left alone), and Wine's server.
  local program
  program=$(readlink -f "$sim")
  while read -r pid; do
    [ -n "$pid" ] && [ "$(readlink "/proc/$pid/exe" 2>/dev/null)" = "$program" ] &&
      kill "$pid" 2>/dev/null
  done < "$VARMO_WINE_PIDS"
  "$wineserver" -k 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# A display of our own; Wine's windows and Qt's windows platform use it.
exec 5> "$work/display"
Xvfb -displayfd 5 -screen 0 1280x800x24 -nolisten tcp > "$out/xvfb.log" 2>&1 &
xvfb_pid=$!
exec 5>&-
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "Xvfb did not start (see $out/xvfb.log)" >&2; exit 1; }
export DISPLAY=:$(head -n 1 "$work/display")

# The prefix and its server are made once, before anything runs side by side
# (two Wines that both find them missing race to make them). COM1 leads
# nowhere, as on a laptop without a serial port; COM5 is listed in SERIALCOMM
# like an adapter's port and led to each printer as it starts.
note "Wine prefix $WINEPREFIX on display $DISPLAY ($("$wine" --version))"
"$wine" wineboot --init > "$out/wineboot.log" 2>&1
"$wine" reg add 'HKLM\Software\Wine\Ports' /v COM1 /d /nonexistent/varmo-no-device /f >/dev/null 2>&1
"$wine" reg add 'HKLM\Software\Wine\Ports' /v COM5 /d /nonexistent/varmo-printer-off /f >/dev/null 2>&1
"$wineserver" -k 2>/dev/null
"$wineserver" -w 2>/dev/null
# Kept up for the whole run. Its own messages go to a log: a pseudo-terminal
# that closes under it (a printer taken away) makes it write out its objects.
"$wineserver" -p 2>> "$out/wineserver.log"
"$wine" wineboot >> "$out/wineboot.log" 2>&1

# --- 1. The test programs -------------------------------------------------
note "1. CTest: the Windows test programs under Wine"
(cd "$build" && ctest -V -j 2 > "$out/ctest.log" 2>&1)
status=$?
# ctest -V puts "<test number>: " before each line of a program's output.
awk '
  /^[0-9]+: \[  PASSED  \] [0-9]+ test/ { split($1, n, ":"); passed[n[1]] = $5; total += $5 }
  /^[0-9]+: \[  FAILED  \] [0-9]+ test/ { split($1, n, ":"); failed[n[1]] = $5 }
  / Test +#[0-9]+: / { match($0, /#[0-9]+/); id = substr($0, RSTART + 1, RLENGTH - 1)
                       name[id] = $4; verdict[id] = $(NF - 2); order[++count] = id }
  END {
    for (i = 1; i <= count; ++i) {
      id = order[i]
      printf "   %-22s %-7s %3d tests passed%s\n", name[id], verdict[id], passed[id],
             failed[id] ? ", " failed[id] " failed" : ""
    }
    print "   GoogleTest under Wine: " total " tests passed"
  }' "$out/ctest.log"
grep -E 'tests passed, [0-9]+ tests failed out of' "$out/ctest.log" | sed 's/^/   /'
console_count=$(awk '/ Test +#[0-9]+: test_windows_console / { match($0, /#[0-9]+/); id = substr($0, RSTART + 1, RLENGTH - 1) }
  END { print id }' "$out/ctest.log")
console_passed=$(grep -E "^${console_count:-x}: \[  PASSED  \] [0-9]+ test" "$out/ctest.log" | awk '{ print $5 }')
echo "   the console's tests under Wine: ${console_passed:-0} passed (test_windows_console)"
# The re-plug under Wine, timed by the tests themselves.
sed -n 's/^[0-9]*: \[ replug \] /   re-plug: /p' "$out/ctest.log"
if [ "$status" != 0 ]; then
  grep -E '^[0-9]+: \[  FAILED  \]|Failure|exception' "$out/ctest.log" | head -40 >&2
  fail "CTest under Wine (the whole output: $out/ctest.log)"
fi

# --- 2. varmo-cli.exe against varmo-sim on COM5 ---------------------------
sims=()
# A printer on a pseudo-terminal of its own; its path on standard output.
start_printer() {
  local log=$1
  shift
  "$sim" "$@" > "$log" 2>&1 < /dev/null &
  echo $! >> "$VARMO_WINE_PIDS"
  sims+=($!)
  for _ in $(seq 100); do [ -s "$log" ] && break; sleep 0.05; done
  head -n 1 "$log"
}
stop_printers() {
  for pid in "${sims[@]}"; do kill "$pid" 2>/dev/null; done
  sims=()
  sleep 0.2
}
# Times in milliseconds differ from run to run; nothing else may.
steady() { sed -E 's/\(([0-9]+) ms\)/(N ms)/; s/, [0-9]+ ms\)/, N ms)/'; }
# One run of varmo-cli on each side against a printer of its own started with
# the same options (the array named by OPTIONS): the exit status, standard
# output and the messages must be the same.
# Usage: compare NAME EXPECTED_STATUS OPTIONS VARMO-CLI ARGS...
compare() {
  local name=$1 expected=$2
  local -n options=$3
  shift 3
  local tty
  tty=$(start_printer "$out/$name.linux-sim" --paper "$out/$name.linux-paper" "${options[@]}")
  (cd "$here/tests/windows" && "$linux_cli" --port "$tty" "$@") > "$out/$name.linux.out" 2> "$out/$name.linux.err"
  local linux_status=$?
  stop_printers
  tty=$(start_printer "$out/$name.wine-sim" --paper "$out/$name.wine-paper" "${options[@]}")
  ln -sfn "$tty" "$WINEPREFIX/dosdevices/com5"
  (cd "$here/tests/windows" && "$wine" "$build/bin/varmo-cli.exe" --port COM5 "$@") \
    > "$out/$name.wine.out" 2> "$out/$name.wine.err"
  local wine_status=$?
  stop_printers
  ln -sfn /nonexistent/varmo-printer-off "$WINEPREFIX/dosdevices/com5"
  # The Windows console's line ends.
  sed -i 's/\r$//' "$out/$name.wine.out" "$out/$name.wine.err"
  printf '   %-22s Linux %s, Wine %s (expected %s)\n' "$name" "$linux_status" "$wine_status" "$expected"
  [ "$linux_status" = "$expected" ] || fail "$name: Linux varmo-cli exited $linux_status, not $expected"
  [ "$wine_status" = "$linux_status" ] || fail "$name: varmo-cli.exe exited $wine_status, Linux $linux_status"
  if ! diff <(steady < "$out/$name.linux.out") <(steady < "$out/$name.wine.out") > "$out/$name.diff"; then
    fail "$name: standard output differs from Linux ($out/$name.diff)"
  fi
  if ! diff "$out/$name.linux.err" "$out/$name.wine.err" >> "$out/$name.diff"; then
    fail "$name: messages differ from Linux ($out/$name.diff)"
  fi
}

note "2. varmo-cli.exe on COM5 against varmo-sim, beside the Linux varmo-cli"
plain=()
polish=(--header 'Zażółć gęślą jaźń|ul. Łąkowa 7, 00-950 Kraków')
silent=(--silent)
compare header 0 polish header
if grep -qx '   Zażółć gęślą jaźń' "$out/header.wine.out" &&
   grep -qx '   ul. Łąkowa 7, 00-950 Kraków' "$out/header.wine.out"; then
  echo "   varmo-cli.exe --port COM5 header: \"Zażółć gęślą jaźń\", \"ul. Łąkowa 7, 00-950 Kraków\""
else
  fail "header: the Polish letters did not come through ($out/header.wine.out)"
fi
compare script-expect 0 plain run script-expect.txt
compare script-refused 1 plain run script-refused.txt
compare silent-header 1 silent header
compare silent-script 1 silent run script-expect.txt
compare usage 2 plain set-rates 23 8
"$wine" "$build/bin/varmo-cli.exe" --port COM9 header > "$out/no-device.out" 2>&1
no_device=$?
sed -i 's/\r$//' "$out/no-device.out"
echo "   COM9, no device: exit $no_device: $(tail -n 1 "$out/no-device.out")"
[ "$no_device" = 3 ] || fail "varmo-cli.exe on a COM name with no device exited $no_device, not 3"
grep -q 'Unable to open com port (win error code: 2)' "$out/no-device.out" ||
  fail "varmo-cli.exe on COM9: not the port's message ($out/no-device.out)"
# The service check's PDF, drawn on Qt's offscreen platform in the font
# built into the programs: the prefix's fonts folder holds no font at all.
tty=$(start_printer "$out/check-sim" "${polish[@]}")
ln -sfn "$tty" "$WINEPREFIX/dosdevices/com5"
env -u WINEQT_QPA_FONTDIR "$wine" "$build/bin/varmo-cli.exe" --port COM5 check --pdf 'C:\przeglad.pdf' \
  > "$out/check.out" 2>&1
check_status=$?
stop_printers
ln -sfn /nonexistent/varmo-printer-off "$WINEPREFIX/dosdevices/com5"
cp "$WINEPREFIX/drive_c/przeglad.pdf" "$out/przeglad.pdf" 2>/dev/null
if [ "$check_status" = 0 ] && pdftotext "$out/przeglad.pdf" - 2>/dev/null | grep -q 'Zażółć gęślą jaźń'; then
  echo "   varmo-cli.exe check --pdf: exit 0, the PDF reads \"Przegląd drukarki\" and the header back"
else
  fail "varmo-cli.exe check --pdf: exit $check_status, or no text in the PDF ($out/check.out)"
fi
pdffonts "$out/przeglad.pdf" > "$out/przeglad-fonts.txt" 2>&1
fonts=$(awk 'NR > 2 { print $1 }' "$out/przeglad-fonts.txt" | sed 's/^[A-Z]*+//' | sort -u | tr '\n' ' ')
echo "   its fonts, with no font in the prefix: ${fonts:-none}"
[ "$(echo $fonts)" = "DejaVuSans DejaVuSans-Bold" ] || [ "$(echo $fonts)" = "DejaVuSans" ] ||
  fail "the PDF does not carry DejaVu Sans alone ($out/przeglad-fonts.txt)"
"$wine" "$build/bin/varmo-cli.exe" ports > "$out/ports.out" 2>&1
sed -i 's/\r$//' "$out/ports.out"
echo "   varmo-cli.exe ports: $(tr '\n' ' ' < "$out/ports.out")"
grep -q '^COM5 \[COM5\]' "$out/ports.out" || fail "varmo-cli.exe ports does not list COM5 ($out/ports.out)"

# --- 2b. What an idle open port costs -------------------------------------
# Ten seconds of an open port on a quiet line: the program's processor time
# (and under Wine that of Wine's server too) beside the goal, under 1 % of a
# core.
note "2b. An open port on an idle line, 10 s, on Linux and under Wine"
clock_ticks=$(getconf CLK_TCK)
# Wine's server for this prefix, by its environment.
our_wineserver() {
  local pid
  for pid in $(pgrep -x 'wineserver|wineserver64' 2>/dev/null); do
    tr '\0' '\n' < "/proc/$pid/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX" && { echo "$pid"; return; }
  done
}
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat" 2>/dev/null || echo 0; }
tty=$(start_printer "$out/idle-linux-sim")
"$linux/bench/port-idle" "$tty" 10 > "$out/idle-linux.out" 2>&1 ||
  fail "the idle port on Linux ($(cat "$out/idle-linux.out"))"
stop_printers
echo "   Linux: $(cat "$out/idle-linux.out")"
server=$(our_wineserver)
# The same program with no port open first: what Wine and Qt cost by
# themselves, the program's and the server's.
quiet_before=$([ -n "$server" ] && cpu_ticks "$server" || echo 0)
"$wine" "$build/bin/port-idle.exe" none 10 > "$out/idle-wine-none.out" 2>&1
quiet_after=$([ -n "$server" ] && cpu_ticks "$server" || echo 0)
sed -i 's/\r$//' "$out/idle-wine-none.out"
echo "   Wine: $(cat "$out/idle-wine-none.out")"
tty=$(start_printer "$out/idle-wine-sim")
ln -sfn "$tty" "$WINEPREFIX/dosdevices/com5"
server_before=$([ -n "$server" ] && cpu_ticks "$server" || echo 0)
"$wine" "$build/bin/port-idle.exe" COM5 10 > "$out/idle-wine.out" 2>&1
idle_status=$?
server_after=$([ -n "$server" ] && cpu_ticks "$server" || echo 0)
stop_printers
ln -sfn /nonexistent/varmo-printer-off "$WINEPREFIX/dosdevices/com5"
sed -i 's/\r$//' "$out/idle-wine.out"
echo "   Wine: $(cat "$out/idle-wine.out")"
if [ -n "$server" ]; then
  # Told, not judged: the prefix's own programs keep it busy too.
  awk -v t=$((server_after - server_before)) -v q=$((quiet_after - quiet_before)) -v hz="$clock_ticks" 'BEGIN {
    printf "   Wine: its wineserver meanwhile %.2f s of processor = %.1f %% of a core (%.1f %% with no port open)\n", t / hz, 10 * t / hz, 10 * q / hz }'
fi
[ "$idle_status" = 0 ] || fail "the idle port under Wine ($out/idle-wine.out)"

# --- 3. The first exchange with the windows platform, pictured ------------
note "3. The first exchange on the real main window, Qt's windows platform on Xvfb"
picture=$out/first-exchange.png
(cd "$build/bin" && WINEQT_QPA_PLATFORM=windows VARMO_SCREENSHOT=$picture \
  "$wine" test_windows_console.exe --gtest_filter='FirstExchange.*') > "$out/first-exchange.log" 2>&1 ||
  fail "the first exchange with the windows platform ($out/first-exchange.log)"
grep -E '^\[  (PASSED|FAILED)' "$out/first-exchange.log" | sed 's/^/   /'
[ -s "$picture" ] && echo "   picture: $picture" || fail "no picture of the first exchange"
"$wine" reg query 'HKCU\Software\Ferwen s.c.\Varmo' > "$out/registry.txt" 2>&1
sed -i 's/\r$//' "$out/registry.txt"
sed -n 's/^ *\(com\|baud\|plStd\) /   &/p' "$out/registry.txt"
for value in 'com +REG_SZ +COM5' 'baud +REG_SZ +9600' 'plStd +REG_SZ +maz'; do
  grep -Eq "^ +$value\$" "$out/registry.txt" ||
    fail "the registry does not hold \"$value\" under HKCU\\Software\\Ferwen s.c.\\Varmo ($out/registry.txt)"
done

# "Zapisz" with the real file dialog: it opens in the Documents, pictured.
save_picture=$out/save-in-documents.png
(cd "$build/bin" && WINEQT_QPA_PLATFORM=windows VARMO_SAVE_SCREENSHOT=$save_picture \
  "$wine" test_windows_console.exe --gtest_filter='SaveInDocuments.*') > "$out/save-in-documents.log" 2>&1 ||
  fail "\"Zapisz\" in the Documents with the windows platform ($out/save-in-documents.log)"
sed 's/\r$//' "$out/save-in-documents.log" | grep -E '^\[  (PASSED|FAILED)' | sed 's/^/   "Zapisz" in the Documents: /'
[ -s "$save_picture" ] && echo "   picture: $save_picture" || fail "no picture of the file dialog"

# The printer pulled out from under the open COM5: the loss box, pictured
# (after the registry is read: the test starts from an empty key).
loss_picture=$out/loss-box.png
(cd "$build/bin" && WINEQT_QPA_PLATFORM=windows VARMO_LOSS_SCREENSHOT=$loss_picture \
  "$wine" test_windows_console.exe --gtest_filter='LossAndReplug.*') > "$out/loss-box.log" 2>&1 ||
  fail "the loss and the re-plug with the windows platform ($out/loss-box.log)"
sed 's/\r$//' "$out/loss-box.log" | grep -E '^\[  (PASSED|FAILED)|\[ replug \]' | sed 's/^/   /'
[ -s "$loss_picture" ] && echo "   picture: $loss_picture" || fail "no picture of the loss box"

# --- 4. The installer, and the installed console --------------------------
note "4. The installer, silently, and the installed varmo.exe"
setup=$(ls "$build"/varmo-*-setup.exe 2>/dev/null | head -n 1)
if [ -z "$setup" ]; then
  fail "no installer in $build (make windows-package)"
else
  "$wine" "$setup" /S > "$out/setup.log" 2>&1
  installed=$(ls -d "$WINEPREFIX"/drive_c/users/*/AppData/Local/Programs/Varmo 2>/dev/null | head -n 1)
  menu=$(ls "$WINEPREFIX"/drive_c/users/*/AppData/Roaming/Microsoft/Windows/Start\ Menu/Programs/Varmo/Varmo.lnk 2>/dev/null | head -n 1)
  if [ -z "$installed" ] || [ ! -f "$installed/varmo.exe" ] || [ ! -f "$installed/uninstall.exe" ]; then
    fail "$(basename "$setup") /S installed no varmo.exe and uninstaller"
  else
    echo "   $(basename "$setup") /S: $(cd "$installed" && ls | tr '\n' ' ')"
    [ -n "$menu" ] && echo "   Start menu: Varmo\\Varmo.lnk" || fail "no Start-menu entry"
    # The icon and the version information built into the programs.
    for program in varmo.exe varmo-cli.exe; do
      icons=$(wrestool -l "$installed/$program" 2>/dev/null | grep -c 'type=icon ')
      version=$(wrestool -l "$installed/$program" 2>/dev/null | grep -c 'type=version ')
      echo "   $program: $icons icon sizes, version information: $([ "$version" = 1 ] && echo yes || echo no)"
      [ "$icons" -ge 1 ] && [ "$version" = 1 ] || fail "$program has no icon or no version information"
    done
    "$wine" reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Varmo' \
      > "$out/uninstall-entry.txt" 2>&1 || fail "no uninstall entry under HKCU"
    # The installed console, as the Start-menu entry starts it.
    (cd "$installed" && WINEQT_QPA_PLATFORM=windows "$wine" ./varmo.exe > "$out/installed-varmo.log" 2>&1) &
    varmo_run=$!
    installed_picture=$out/installed-varmo.png
    (cd "$build/bin" && WINEQT_QPA_PLATFORM=windows "$wine" window-probe.exe 'Varmo - Ferwen s.c.' \
      "Z:${installed_picture//\//\\}" 90) > "$out/window-probe.log" 2>&1
    probe=$?
    sed 's/\r$//; s/^/   /' "$out/window-probe.log"
    [ "$probe" = 0 ] || fail "the installed varmo.exe: no window, or it would not close ($out/window-probe.log)"
    wait "$varmo_run"
    echo "   the installed varmo.exe ended with status $?"
    size_kb=$(sed -n 's/^ *EstimatedSize *REG_DWORD *0x\([0-9a-f]*\).*/\1/p' "$out/uninstall-entry.txt" | tr -d '\r')
    echo "   uninstall entry: EstimatedSize $((16#${size_kb:-0})) KB"
    [ -n "$size_kb" ] || fail "the uninstall entry has no EstimatedSize ($out/uninstall-entry.txt)"
    # The technician's own file in the program's folder stays after it.
    echo notatki > "$installed/moje-notatki.txt"
    # And away again, silently (in place: the uninstaller otherwise copies
    # itself elsewhere and returns at once).
    "$wine" "$installed/uninstall.exe" /S "_?=$("$wine" winepath -w "$installed" 2>/dev/null | tr -d '\r')" \
      > "$out/uninstall.log" 2>&1
    if [ -f "$installed/varmo.exe" ] || [ -e "$menu" ] ||
       "$wine" reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Varmo' > /dev/null 2>&1; then
      fail "uninstall.exe /S left the program, its Start-menu entry or its uninstall entry behind"
    else
      echo "   uninstall.exe /S: the program, the Start-menu entry and the uninstall entry are gone"
    fi
    # (Run in place, _?=, the uninstaller cannot remove itself; run from the
    # Start menu it copies itself away first and goes too.)
    left_there=$(cd "$installed" 2>/dev/null && find . -mindepth 1 ! -name uninstall.exe | sed 's|^\./||' | tr '\n' ' ')
    echo "   left in the program's folder: ${left_there:-nothing}"
    [ "$left_there" = "moje-notatki.txt " ] ||
      fail "the uninstaller removed the user's own file, or left its own ($left_there)"
    "$wine" reg query 'HKCU\Software\Ferwen s.c.\Varmo' > /dev/null 2>&1 ||
      fail "the uninstaller took the settings away"
  fi
fi

# Nothing left behind in the user's home, files or folders: Wine's menu
# builder is off.
"$here/scripts/home-trace.sh" after "$work/home-before" || fail "left behind in the home folder"

note "windows-check: $([ $failures = 0 ] && echo 'all passed' || echo "$failures failed"); logs and pictures in $out"
[ "$failures" = 0 ]
