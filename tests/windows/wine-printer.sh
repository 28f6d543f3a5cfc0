#!/bin/sh
# The virtual printer on a Windows COM port under Wine. The Windows tests start
# this Linux script themselves (Wine runs a Unix program handed to
# CreateProcess), so a test puts a printer on the line, and takes it away, as
# the Linux tests do with a pseudo-terminal of their own.
#
#   wine-printer.sh start DIR COMn VARMO_SIM [varmo-sim options...]
#       starts varmo-sim on a pseudo-terminal and points
#       $WINEPREFIX/dosdevices/comn at it; its paper roll is DIR/paper.txt
#   wine-printer.sh stop DIR
#       stops it: the terminal closes under the port, as when an adapter is
#       pulled out, and comn leads nowhere
#
# Each ends by writing DIR/started or DIR/stopped (the path of the terminal,
# or nothing), which the test waits for: Wine does not let a Windows program
# wait for a Unix one.
set -u
what=$1
dir=$2
finish() {  # the word the test waits for, written whole at once
  printf '%s\n' "$2" > "$dir/$1.part" && mv "$dir/$1.part" "$dir/$1"
}
# Running, and not a zombie nobody reaps (Wine's Unix children have no parent
# that waits for them).
alive() {
  [ -r "/proc/$1/stat" ] && ! grep -q '^[0-9]* (.*) Z ' "/proc/$1/stat" 2>/dev/null
}

case "$what" in
start)
  com=$(printf '%s' "$3" | tr 'A-Z' 'a-z')
  sim=$4
  shift 4
  mkdir -p "$dir"
  rm -f "$dir/started" "$dir/stopped" "$dir/terminal"
  # The terminal's path is the first line varmo-sim prints.
  "$sim" --paper "$dir/paper.txt" "$@" > "$dir/terminal" 2> "$dir/sim.log" < /dev/null &
  echo $! > "$dir/pid"
  readlink -f "$sim" > "$dir/program"
  # varmo-sim's own pid is also kept where the check that started Wine finds
  # it, so a printer a crashed test left behind is stopped all the same.
  [ -n "${VARMO_WINE_PIDS:-}" ] && echo $! >> "$VARMO_WINE_PIDS"
  tries=0
  while [ "$(head -n 1 "$dir/terminal" 2>/dev/null)" = "" ]; do
    tries=$((tries + 1))
    if [ $tries -gt 200 ] || ! alive "$(cat "$dir/pid")"; then
      finish started ""
      exit 1
    fi
    sleep 0.05
  done
  terminal=$(head -n 1 "$dir/terminal")
  ln -sfn "$terminal" "$WINEPREFIX/dosdevices/$com"
  printf '%s\n' "$com" > "$dir/com"
  finish started "$terminal"
  ;;
stop)
  rm -f "$dir/stopped"
  pid=$(cat "$dir/pid" 2>/dev/null || true)
  # Only the printer started here, should its number have gone to another.
  if [ -n "$pid" ] && [ "$(readlink "/proc/$pid/exe" 2>/dev/null)" = "$(cat "$dir/program")" ]; then
    kill "$pid" 2>/dev/null
    tries=0
    while alive "$pid" && [ $tries -lt 100 ]; do
      tries=$((tries + 1))
      sleep 0.05
    done
  fi
  # The port goes with its adapter: COMn leads nowhere until a printer is
  # put there again (never to a terminal the system gives to another).
  com=$(cat "$dir/com" 2>/dev/null || true)
  [ -n "$com" ] && ln -sfn "/nonexistent/varmo-$com-unplugged" "$WINEPREFIX/dosdevices/$com"
  finish stopped ""
  ;;
*)
  echo "usage: wine-printer.sh start DIR COMn VARMO_SIM [options] | stop DIR" >&2
  exit 2
  ;;
esac
