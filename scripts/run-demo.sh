#!/usr/bin/env bash
# make run: the console talking to the virtual printer. The printer gets a
# pseudo-terminal, the console's COM1 is pointed at it, and the printer is
# stopped when the console closes. Its paper roll scrolls by in this terminal.
set -eu

build="${1:-build}"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No desktop here (DISPLAY is not set): start it inside a virtual one with: xvfb-run -a make run" >&2
    exit 1
fi
# make run asks this first, so a machine without a desktop hears it before the build.
[ "$build" = "--check-display" ] && exit 0

sim="$build/simulator/varmo-sim"
console="$build/console/varmo"
for program in "$sim" "$console"; do
    if [ ! -x "$program" ]; then
        echo "Not built yet: $program (run make first)" >&2
        exit 1
    fi
done

work="$(mktemp -d)"
sim_pid=""
paper_pid=""
cleanup() {
    if [ -n "$paper_pid" ]; then
        kill "$paper_pid" 2>/dev/null || true
        wait "$paper_pid" 2>/dev/null || true
    fi
    if [ -n "$sim_pid" ]; then
        kill "$sim_pid" 2>/dev/null || true
        wait "$sim_pid" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# The printer writes its device path as the first line, then its paper.
"$sim" >"$work/printer.out" &
sim_pid=$!

device=""
for _ in $(seq 1 200); do
    if [ "$(wc -l <"$work/printer.out")" -ge 1 ]; then
        device="$(head -n 1 "$work/printer.out")"
        break
    fi
    if ! kill -0 "$sim_pid" 2>/dev/null; then
        break
    fi
    sleep 0.05
done
if [ -z "$device" ]; then
    echo "The virtual printer did not start ($sim)." >&2
    exit 1
fi

echo "Virtual printer on $device, as COM1 of the console. Its paper roll:"
tail -n +2 -f "$work/printer.out" &
paper_pid=$!

status=0
VARMO_COM1="$device" "$console" || status=$?
exit "$status"
