#!/usr/bin/env bash
# Start-up of the console beside two yardsticks: the barest Qt 6 window, and
# a plain text window (a menu bar, a fixed-pitch text view, a status bar: the
# least a console can show). Time from the start of the process to its first
# window mapped, and resident memory once it is up. The three are started in
# turn, run after run, so a busy machine weighs on all alike; the medians and
# the console's ratios to both are printed.
#
#   scripts/startup-bench.sh [build-dir] [runs]
#
# Needs an X display; without one it starts Xvfb for the duration. No window
# manager: the first window mapped on the root is the program's own.
set -eu
build=${1:-build}
runs=${2:-15}
varmo="$build/console/varmo"
bare="$build/bench/bare_window"
text="$build/bench/text_window"
for program in "$varmo" "$bare" "$text"; do
  [ -x "$program" ] || { echo "missing $program (build first: make build)" >&2; exit 1; }
done
command -v xev >/dev/null || { echo "needs xev (x11-utils)" >&2; exit 1; }

work=$(mktemp -d)
xvfb_pid=
cleanup() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

if [ -z "${DISPLAY:-}" ]; then
  command -v Xvfb >/dev/null || { echo "needs a display or Xvfb" >&2; exit 1; }
  for n in $(seq 90 120); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1280x900x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    export DISPLAY=":$n"
    break
  done
  for _ in $(seq 200); do [ -e "/tmp/.X11-unix/X${DISPLAY#:}" ] && break; sleep 0.05; done
  sleep 0.3
fi
# The console's settings stay out of the operator's own.
export XDG_CONFIG_HOME="$work/config"
export QT_QPA_PLATFORM=xcb

# One start: prints "<ms to first map> <resident kB>".
measure() {
  local program=$1 events="$work/events" stamp="$work/mapped" started pid mapped="" rss
  local xev_pid reader_pid
  rm -f "$events" "$stamp"
  mkfifo "$events"
  # Every window mapped on the root, as the X server reports it. The reader
  # blocks on the events and notes the time the first map comes in, so the
  # figure does not wait on a polling loop.
  (
    while IFS= read -r line; do
      if [[ $line == MapNotify* ]]; then echo "$EPOCHREALTIME" >"$stamp.part"; mv "$stamp.part" "$stamp"; fi
    done <"$events"
  ) &
  reader_pid=$!
  stdbuf -oL xev -root -event substructure >"$events" 2>/dev/null &
  xev_pid=$!
  sleep 0.2
  started=$EPOCHREALTIME
  "$program" >/dev/null 2>&1 &
  pid=$!
  for _ in $(seq 1000); do
    [ -e "$stamp" ] && break
    sleep 0.01
  done
  sleep 0.3
  [ -e "$stamp" ] && mapped=$(head -n 1 "$stamp")
  rss=$(awk '/^VmRSS:/ {print $2}' "/proc/$pid/status" 2>/dev/null || echo 0)
  kill "$pid" "$xev_pid" "$reader_pid" 2>/dev/null || true
  wait "$pid" "$xev_pid" "$reader_pid" 2>/dev/null || true
  [ -n "$mapped" ] || { echo "nan $rss"; return; }
  awk -v a="$started" -v b="$mapped" -v r="$rss" 'BEGIN { printf "%.1f %d\n", (b - a) * 1000, r }'
}

: >"$work/varmo" ; : >"$work/bare" ; : >"$work/text"
for i in $(seq "$runs"); do
  measure "$varmo" >>"$work/varmo"
  measure "$text" >>"$work/text"
  measure "$bare" >>"$work/bare"
done

median() { sort -n | awk '{ v[NR] = $1 } END { if (NR == 0) print "nan"; else if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
vt=$(awk '{print $1}' "$work/varmo" | median); bt=$(awk '{print $1}' "$work/bare" | median)
tt=$(awk '{print $1}' "$work/text" | median)
vm=$(awk '{print $2}' "$work/varmo" | median); bm=$(awk '{print $2}' "$work/bare" | median)
tm=$(awk '{print $2}' "$work/text" | median)
printf '\nStart-up, median of %d interleaved runs each\n' "$runs"
printf '%-36s %9s %9s %9s %9s %9s\n' "measure" "varmo" "text win" "bare Qt" "/text" "/bare"
awk -v v="$vt" -v t="$tt" -v b="$bt" 'BEGIN { printf "%-36s %9.1f %9.1f %9.1f %8.2fx %8.2fx\n", "start -> first window mapped (ms)", v, t, b, v / t, v / b }'
awk -v v="$vm" -v t="$tm" -v b="$bm" 'BEGIN { printf "%-36s %9.0f %9.0f %9.0f %8.2fx %8.2fx\n", "resident memory when up (kB)", v, t, b, v / t, v / b }'
printf 'goals: start-up and memory within 1.10x the text window\n'
